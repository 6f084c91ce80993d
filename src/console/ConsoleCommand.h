// ravelinc.exe and Ravelin.exe /list: the verbs on the list, the store and the apply engine that
// the window uses, with exit codes a script can rely on.
#pragma once
#include <string_view>

enum ExitCode : int
{
    ExitDone = 0,     // done; for /compare, no difference
    ExitFailed = 1,   // some change failed; for /compare, differences found
    ExitNoEntry = 2,  // no such entry, or its name is in several places and /from is missing
    ExitBadUsage = 3, // an unknown switch, a missing value, a file that is not what it must be
    ExitNotSafe = 4   // the change could not be made safely now: the store, the lock, a clash
};

// Runs the command line's request: output on standard output, errors on standard error, in the
// chosen language. Returns the exit code.
int RunConsole(std::wstring_view arguments);
