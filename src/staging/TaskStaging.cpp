// The tasks' staging.
#include "staging/TaskStaging.h"
#include "platform/Names.h"

bool TaskChangeStaged(const TaskRow& row)
{
    return row.staged != StateOfTask(row.task);
}

void ToggleTaskDisable(TasksState& state)
{
    const int position = state.List.Selected();
    if (!position)
        return;
    TaskRow& row = state.List.Row(position);
    row.staged = row.staged == EntryState::Enabled ? EntryState::Disabled : EntryState::Enabled;
    SyncTaskButtons(state);
}

void SyncTaskButtons(TasksState& state)
{
    if (const int position = state.List.Selected())
        state.Buttons.offersEnable = state.List.Row(position).staged == EntryState::Disabled;
}

void ResetTasks(TasksState& state)
{
    for (int position = 1; position <= state.List.Count(); ++position)
        state.List.Row(position).staged = StateOfTask(state.List.Row(position).task);
    SyncTaskButtons(state);
}

std::vector<FileRecord> TaskProfileRecords(const TasksState& state)
{
    std::vector<FileRecord> records;
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        const TaskRow& row = state.List.Row(position);
        records.push_back({row.task.path, StateKey(row.staged).text, platform::names::TaskLoadFrom,
                           row.task.folder, TaskStartWords(row.starts, true), row.command});
    }
    return records;
}

void LoadTaskProfileRecords(TasksState& state, const std::vector<FileRecord>& records)
{
    if (records.empty())
        return;
    ResetTasks(state);
    FileWords words;
    for (const FileRecord& record : records)
    {
        const int position = state.List.Find(record[TaskName]);
        const std::optional<EntryState> staged = words.State(record[Status]);
        if (position && (staged == EntryState::Enabled || staged == EntryState::Disabled))
            state.List.Row(position).staged = *staged;
    }
    SyncTaskButtons(state);
}
