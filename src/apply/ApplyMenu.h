// The Apply menu's work after the apply that is not the main window's own.
#pragma once
#include "apply/ApplyEngine.h"

// What the Apply menu's items but Just Apply end once their apply is done.
enum class AfterApply { ExitProgram, LogOff, Restart };

// The store written once more, then Windows asked to end the session as after says (LogOff or
// Restart; ExitProgram ends nothing here). Returns the store's write error.
DWORD EndSessionAfterApply(MainState& state, AfterApply after);
