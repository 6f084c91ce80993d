// Staging on the scheduled tasks: the Disable/Enable toggle and its button, Reset All, the rows of
// a profile, and staging by name for scripts. Nothing here changes a task.
#pragma once
#include "model/TaskList.h"
#include "staging/EntryFile.h"

#include <string>
#include <vector>

// Staged for the next apply: its staged state is not what its Enabled flag says.
bool TaskChangeStaged(const TaskRow& row);
// Enabled <-> Disabled on the selected row.
void ToggleTaskDisable(TasksState& state);
// What the Disable button offers for the selected row.
void SyncTaskButtons(TasksState& state);
// Every row staged as its Enabled flag says again.
void ResetTasks(TasksState& state);

// The rows as profile records, six texts each: the path, the English Status, "Task", the folder,
// the English words of its triggers, the command line.
std::vector<FileRecord> TaskProfileRecords(const TasksState& state);
// A profile's task records: each task of that path takes its record's state, every other its own
// again. A record of another state, or of a Status no language has, leaves its task as it is.
void LoadTaskProfileRecords(TasksState& state, const std::vector<FileRecord>& records);
