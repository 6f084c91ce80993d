// Standard output and error, and the program's own arguments.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace platform
{

// Writes text to standard output: UTF-8 into a file or pipe, wide characters into a console,
// the console of the starting program when the output was not redirected. Returns the system
// error when there is nowhere to write or the write failed.
DWORD WriteStandardOutput(std::wstring_view text);
// The same for standard error.
DWORD WriteStandardError(std::wstring_view text);

// The command line the program was started with, without the program's own name.
std::wstring CommandLineArguments();

} // namespace platform
