// Staging commands: change the Status of the selected row, never the system.
#pragma once
#include "app/MainState.h"

// Enabled <-> Disabled; a row marked Remove or of any other status becomes Enabled.
void cmdDisable_Click(MainState& state);
// Marks the selected row with the Remove word and disables the Remove button.
void cmdRemove_Click(MainState& state);
// Sets the Disable button's caption and the Remove button from the selected row.
void SyncButtonsToSelection(MainState& state);
