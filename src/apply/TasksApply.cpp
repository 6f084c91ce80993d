// The tasks' apply over the scheduler's seam.
#include "apply/TasksApply.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/TaskStaging.h"

ApplyResult ApplyTasks(TasksState& state, platform::Scheduler& scheduler, DWORD lockWait)
{
    ApplyResult result;
    result.kind = EntryKind::Task;
    bool staged = false;
    for (int position = 1; position <= state.List.Count() && !staged; ++position)
        staged = TaskChangeStaged(state.List.Row(position));
    if (!staged)
        return result;
    const platform::MachineLock lock(platform::names::ApplyLock, lockWait);
    if (!lock.Held())
    {
        result.lockError = lock.Error();
        return result;
    }
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        TaskRow& row = state.List.Row(position);
        if (!TaskChangeStaged(row))
            continue;
        const bool enable = row.staged == EntryState::Enabled;
        if (const platform::TaskSwitch done = scheduler.SetEnabled(row.task, enable); done.error)
        {
            result.failures.push_back({row.task.name, ApplyFailure::SystemError, done.error});
            row.staged = StateOfTask(row.task); // the row says where the task is
            continue;
        }
        row.task.enabled = enable;
        if (row.task.state != TASK_STATE_RUNNING)
            row.task.state = enable ? TASK_STATE_READY : TASK_STATE_DISABLED;
        ++(enable ? result.written : result.takenOut);
        // A running instance goes on; only its next start is kept from happening.
        if (!enable && row.task.state == TASK_STATE_RUNNING)
            result.stillRunning.push_back(row.task.name);
    }
    SyncTaskButtons(state);
    return result;
}
