// The scheduled tasks' scanner: every task of every folder, with what its definition says.
#pragma once
#include "model/TaskList.h"
#include "platform/Tasks.h"

// Rebuilds the rows from the scheduler, each staged as its Enabled flag says; a task whose
// definition cannot be read is listed with the reason.
void LoadTasks(TasksState& state, platform::Scheduler& scheduler);
