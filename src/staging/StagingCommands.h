// Staging commands: change the state of the selected row or add a row, never the system.
#pragma once
#include "find/FileFacts.h"
#include "model/StartupState.h"

// Enabled <-> Disabled; a row marked Remove or in any other state becomes Enabled.
void ToggleDisable(StartupState& state);
// Whether ToggleDisable would enable the selected row while the file its command line starts is
// gone (an entry of a program since uninstalled): by the facts known of that line, else by
// resolving it now, the answer kept in facts.
bool EnablesMissingProgram(const StartupState& state, FileFactsTable& facts);
// Marks the selected row for removal; Remove is no longer offered.
void MarkForRemoval(StartupState& state);
// What the buttons offer for the selected row; a row marked Remove leaves the Disable button as
// it was.
void SyncButtonsToSelection(StartupState& state);

// Appends the row of a new task of the source, enabled; its User and When? say it was added.
int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location);
