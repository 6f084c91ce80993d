// The tasks' contract over their scanner, staging and apply.
#include "kinds/TaskKind.h"
#include "apply/TasksApply.h"
#include "find/FileTrust.h"
#include "find/TaskDisplay.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "inventory/TaskDefinition.h"
#include "inventory/TaskScanner.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/TaskStaging.h"

TaskKind::TaskKind(std::unique_ptr<platform::Scheduler> scheduler)
    : scheduler_(scheduler ? std::move(scheduler) : platform::SystemScheduler(TaskDefinitionRules()))
{
}

void TaskKind::Fill()
{
    LoadTasks(state_, *scheduler_);
    state_.Loaded = true;
    if (state_.List.Count() >= 1 && !state_.List.Selected())
        state_.List.Select(1);
    SyncTaskButtons(state_);
}

bool TaskKind::Staged() const
{
    for (int position = 1; position <= state_.List.Count(); ++position)
        if (TaskChangeStaged(state_.List.Row(position)))
            return true;
    return false;
}

void TaskKind::Reset()
{
    ResetTasks(state_);
}

ApplyResult TaskKind::Apply(DWORD lockWait)
{
    return ApplyTasks(state_, *scheduler_, lockWait);
}

std::vector<FileRecord> TaskKind::ProfileRecords()
{
    if (!Filled())
        Fill();
    return TaskProfileRecords(state_);
}

void TaskKind::LoadProfileRecords(const std::vector<FileRecord>& records)
{
    if (records.empty())
        return;
    if (!Filled())
        Fill();
    LoadTaskProfileRecords(state_, records);
}

VerbAnswer TaskKind::ListVerb(bool json, bool all, bool verify)
{
    Fill();
    FileFactsTable facts;
    for (int position = 1; position <= state_.List.Count(); ++position)
        if (const std::wstring& command = state_.List.Row(position).command;
            !command.empty() && facts.TakeUnasked(command))
            facts.Store(command, ResolveFileFacts(command));
    JudgeFiles(facts, verify);
    DisplayList display;
    UpdateTaskDisplay(display, state_.List, facts, all);
    return {ExitDone,
            json ? TasksToJson(state_.List, facts, display) : TasksToCsv(state_.List, facts, display),
            {}};
}

VerbAnswer TaskKind::ChangeVerb(const std::wstring& name, const std::optional<std::wstring>&,
                                ::ChangeVerb verb, bool)
{
    if (verb == ChangeVerb::Remove)
        return {ExitBadUsage, {}, LookupText(keys::TasksNotRemoved)};
    Fill();
    const std::wstring wanted(platform::Trim(name));
    const int position = state_.List.Find(wanted);
    if (!position)
    {
        std::wstring paths;
        for (int row = 1; row <= state_.List.Count(); ++row)
            if (platform::EqualsNoCase(state_.List.Row(row).task.name, wanted))
                paths += L"\r\n  " + state_.List.Row(row).task.path;
        if (!paths.empty())
            return {ExitNoEntry, {}, FormatText(LookupText(keys::SeveralTasks), {name}) + paths};
        return {ExitNoEntry,
                {},
                FormatText(LookupText(keys::NoSuchEntryIn), {name, platform::names::TaskLoadFrom})};
    }
    TaskRow& row = state_.List.Row(position);
    const bool enable = verb == ChangeVerb::Enable;
    if (!enable && !row.task.enabled)
        return {ExitDone, FormatText(LookupText(keys::AlreadyDisabled), {row.task.path}), {}};
    if (enable && row.task.enabled)
        return {ExitDone, FormatText(LookupText(keys::AlreadyEnabled), {row.task.path}), {}};
    row.staged = enable ? EntryState::Enabled : EntryState::Disabled;
    return AnswerOf(Apply(ConsoleLockWait));
}
