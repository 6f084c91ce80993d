// Standard output of a program that has no console of its own.
#pragma once
#include <windows.h>
#include <string_view>

namespace platform
{

// Writes text to standard output: UTF-8 into a file or pipe, wide characters into a console,
// the console of the starting program when the output was not redirected. Returns the system
// error when there is nowhere to write or the write failed.
DWORD WriteStandardOutput(std::wstring_view text);

} // namespace platform
