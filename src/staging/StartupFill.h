// The list fill shared by the start, a language change and the list command, and the baseline.
#pragma once
#include "inventory/Scanners.h"
#include "model/StartupState.h"

// Rebuilds the list from the system and the store into an empty list: the run keys, win.ini, the StartUp
// folders, the stored disabled entries; then the baseline and, when there are rows, the button state of the
// first (selected) row.
void FillStartupList(StartupState& state);
// The baseline: one record per row of the list as it stands.
void TakeBaseline(StartupState& state);
// Whether an apply would change anything now: some row is not its baseline record.
bool StartupChangesStaged(const StartupState& state);
