// The tasks scanner over the scheduler's listing and the definition reader.
#include "inventory/TaskScanner.h"
#include "inventory/TaskDefinition.h"

namespace
{

TaskStart StartOf(const TaskTrigger& trigger)
{
    switch (trigger.kind)
    {
    case TriggerKind::Logon:
        return TaskStart::Logon;
    case TriggerKind::Boot:
        return TaskStart::Boot;
    case TriggerKind::Calendar:
        return trigger.schedule == CalendarSchedule::ByDay    ? TaskStart::Daily
               : trigger.schedule == CalendarSchedule::ByWeek ? TaskStart::Weekly
               : trigger.schedule == CalendarSchedule::None   ? TaskStart::Once
                                                              : TaskStart::Monthly;
    case TriggerKind::Time:
        return TaskStart::Once;
    case TriggerKind::Idle:
        return TaskStart::Idle;
    case TriggerKind::Event:
        return TaskStart::Event;
    case TriggerKind::Registration:
        return TaskStart::Registration;
    case TriggerKind::SessionStateChange:
        return TaskStart::Session;
    case TriggerKind::Other:
        break;
    }
    return TaskStart::Other;
}

// A command line as the scheduler runs it: the program quoted where a blank would split it.
std::wstring CommandLine(const TaskAction& action)
{
    const bool quote = action.command.find(L' ') != std::wstring::npos && action.command.front() != L'"';
    std::wstring line = quote ? L"\"" + action.command + L"\"" : action.command;
    return action.arguments.empty() ? line : line + L" " + action.arguments;
}

} // namespace

void LoadTasks(TasksState& state, platform::Scheduler& scheduler)
{
    state.List.Clear();
    platform::TaskListing listing = scheduler.List();
    state.FolderErrors = std::move(listing.folderErrors);
    state.SchedulerError = listing.apiError;
    for (platform::TaskInfo& task : listing.tasks)
    {
        TaskRow row;
        row.task = std::move(task);
        row.staged = StateOfTask(row.task);
        const TaskReading reading = row.task.error ? TaskReading{} : ReadTaskDefinition(row.task.xml);
        if (!reading.definition)
        {
            // Listed all the same, with all tasks, so that one broken file hides no other.
            if (!row.task.error)
                row.problem = DescribeTaskFault(reading.fault);
            state.List.Append(std::move(row));
            continue;
        }
        const TaskDefinition& definition = *reading.definition;
        for (const TaskTrigger& trigger : definition.triggers)
            if (trigger.enabled)
                row.starts.push_back(StartOf(trigger));
        row.atLogonOrBoot = StartsAtLogonOrBoot(definition);
        row.hidden = definition.hidden;
        for (const TaskAction& action : definition.actions)
            if (action.kind == ActionKind::Exec && row.command.empty())
                row.command = CommandLine(action);
            else if (action.kind == ActionKind::ComHandler && row.handler.empty())
                row.handler = action.classId;
        state.List.Append(std::move(row));
    }
}
