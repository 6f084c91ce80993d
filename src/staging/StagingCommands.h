// Staging commands: change the Status of the selected row or add a row, never the system.
#pragma once
#include "model/MainState.h"

// Enabled <-> Disabled; a row marked Remove or in any other state becomes Enabled.
void cmdDisable_Click(MainState& state);
// Marks the selected row for removal and disables the Remove button.
void cmdRemove_Click(MainState& state);
// Sets the Disable button's caption and the Remove button from the selected row.
void SyncButtonsToSelection(MainState& state);

// Appends the row of a new task of the source, enabled; its User and When? say it was added.
int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location);
