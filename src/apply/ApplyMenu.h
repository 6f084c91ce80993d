// The Apply menu's work after the apply that is not the main window's own.
#pragma once
#include "apply/ApplyEngine.h"

// What the Apply menu's items but Just Apply end once their apply is done.
enum class AfterApply
{
    ExitProgram,
    LogOff,
    Restart
};

// How the end of the session went.
struct SessionEnd
{
    DWORD storeError = ERROR_SUCCESS; // the store written once more could not be
    DWORD refused = ERROR_SUCCESS;    // Windows did not take the request
};
// The store written once more, then Windows asked to end the session as after says (LogOff or
// Restart; ExitProgram ends nothing here).
SessionEnd EndSessionAfterApply(MainState& state, AfterApply after);
// Windows asked to end the session, the store untouched.
SessionEnd EndSession(AfterApply after);
