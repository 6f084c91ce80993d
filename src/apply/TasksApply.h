// The scheduled tasks' apply: each task staged otherwise than its Enabled flag says is switched.
#pragma once
#include "apply/ApplyReport.h"
#include "model/TaskList.h"
#include "platform/Tasks.h"

#include <windows.h>

// Switches the Enabled flag of every task whose staged state says otherwise, through the
// scheduler, nothing else of it changed and nothing deleted. A task the scheduler refuses to
// change keeps its flag, and its row says so. Holds the machine's apply lock throughout, as the
// other applies do, waiting up to lockWait milliseconds.
ApplyResult ApplyTasks(TasksState& state, platform::Scheduler& scheduler, DWORD lockWait = 10000);
