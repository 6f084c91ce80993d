// Staging commands: change the state of the selected row or add a row, never the system.
#pragma once
#include "model/StartupState.h"

// Enabled <-> Disabled; a row marked Remove or in any other state becomes Enabled.
void ToggleDisable(StartupState& state);
// Marks the selected row for removal; Remove is no longer offered.
void MarkForRemoval(StartupState& state);
// What the buttons offer for the selected row; a row marked Remove leaves the Disable button as
// it was.
void SyncButtonsToSelection(StartupState& state);

// Appends the row of a new task of the source, enabled; its User and When? say it was added.
int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location);
