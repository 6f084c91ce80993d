// ravelinc.exe and Ravelin.exe /list: the verbs on the kinds of entry, their stores and their
// apply engines that the window uses, with exit codes a script can rely on.
#pragma once
#include "kinds/Kind.h"

#include <string_view>

// Runs the command line's request: output on standard output, errors on standard error, in the
// chosen language. Returns the exit code.
int RunConsole(std::wstring_view arguments);
