// Standard output of a program that has no console of its own.
#pragma once
#include <string_view>

namespace platform {

// Writes text to standard output: UTF-8 into a file or pipe, wide characters into a console,
// the console of the starting program when the output was not redirected. False when there is
// nowhere to write or the write failed.
bool WriteStandardOutput(std::wstring_view text);

} // namespace platform
