// The Apply menu's work after the apply that is not the main window's own.
#pragma once
#include "apply/ApplyEngine.h"

// The store written once more, then Windows asked to end the session with the option of
// clsExitWindows (0 log off, 2 restart). Returns the store's write error.
DWORD EndSessionAfterApply(MainState& state, int exitOption);
