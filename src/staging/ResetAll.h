// Reset All: throws away every staged change.
#pragma once
#include "model/StartupState.h"

// Rebuilds the list from the baseline (less its disabled rows) and the store, then retakes the
// baseline so that each row pairs with a record of its own entry at the next apply.
void ResetStaged(StartupState& state);
