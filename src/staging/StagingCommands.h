// Staging commands: change the Status of the selected row or add a row, never the system.
#pragma once
#include "model/MainState.h"

// Enabled <-> Disabled; a row marked Remove or of any other status becomes Enabled.
void cmdDisable_Click(MainState& state);
// Marks the selected row with the Remove word and disables the Remove button.
void cmdRemove_Click(MainState& state);
// Sets the Disable button's caption and the Remove button from the selected row.
void SyncButtonsToSelection(MainState& state);

// Appends the row of a new task: the Enabled word, loadFrom, the User word of key 415 when
// loadFrom is the text of key 414 and of key 416 otherwise, the When? word of key 417.
int AppendNewTask(StartupList& list, std::wstring taskName, std::wstring loadFrom, std::wstring location);
