// The Apply menu's work after the apply that is not the main window's own.
#pragma once
#include "model/StartupState.h"

#include <windows.h>

// What the Apply menu's items but Just Apply end once their apply is done.
enum class AfterApply
{
    ExitProgram,
    LogOff,
    Restart
};

// The store written once more, under the apply lock with what others wrote since: this write
// decides what the store holds when the session ends. Returns the system error.
DWORD SaveStoreOnceMore(StartupState& state);
// Windows asked to end the session as after says (LogOff or Restart; ExitProgram ends nothing
// here). Returns the system error when Windows did not take the request.
DWORD EndSession(AfterApply after);
