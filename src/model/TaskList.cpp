// The tasks' rows and the words of their triggers, states and results.
#include "model/TaskList.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

namespace
{

std::wstring Word(const keys::KeyText& key, bool english)
{
    return english ? std::wstring(key.text) : LookupText(key);
}

const keys::KeyText& StartKey(TaskStart start)
{
    static constexpr keys::KeyText Keys[] = {
        keys::AtLogon, keys::AtBoot,  keys::Daily,          keys::Weekly,    keys::Monthly,   keys::Once,
        keys::OnIdle,  keys::OnEvent, keys::OnRegistration, keys::OnSession, keys::OtherStart};
    return Keys[static_cast<size_t>(start)];
}

// The path without its leading backslash, folded, as the scheduler compares paths.
std::wstring PathKey(std::wstring_view path)
{
    while (!path.empty() && path.front() == L'\\')
        path.remove_prefix(1);
    return platform::FoldCase(path);
}

} // namespace

int TaskList::Find(const std::wstring& pathOrName) const
{
    const std::wstring wanted = PathKey(pathOrName);
    for (int position = 1; position <= Count(); ++position)
        if (PathKey(Row(position).task.path) == wanted)
            return position;
    int found = 0;
    for (int position = 1; position <= Count(); ++position)
        if (platform::EqualsNoCase(Row(position).task.name, pathOrName))
        {
            if (found)
                return 0;
            found = position;
        }
    return found;
}

void TaskList::Clear()
{
    rows_.clear();
    selected_ = 0;
}

EntryState StateOfTask(const platform::TaskInfo& task)
{
    return task.enabled ? EntryState::Enabled : EntryState::Disabled;
}

std::wstring TaskStartWords(const std::vector<TaskStart>& starts, bool english)
{
    std::wstring words;
    for (TaskStart start : starts)
        words += (words.empty() ? L"" : L", ") + Word(StartKey(start), english);
    return words.empty() ? Word(keys::NoStart, english) : words;
}

std::wstring TaskStateWord(TASK_STATE state, bool english)
{
    switch (state)
    {
    case TASK_STATE_READY:
        return Word(keys::TaskReady, english);
    case TASK_STATE_RUNNING:
        return Word(keys::Running, english);
    case TASK_STATE_DISABLED:
        return Word(keys::DisabledStart, english);
    case TASK_STATE_QUEUED:
        return Word(keys::TaskQueued, english);
    case TASK_STATE_UNKNOWN:
        break;
    }
    return Word(keys::TaskStateUnknown, english);
}

std::wstring TaskResultText(const platform::TaskInfo& task, bool english)
{
    if (!task.lastResult)
        return {};
    if (*task.lastResult == SCHED_S_TASK_HAS_NOT_RUN)
        return Word(keys::HasNotRun, english);
    return L"0x" + platform::Hex(static_cast<unsigned>(*task.lastResult), 8);
}
