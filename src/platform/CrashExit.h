// How a program that failed ends: a crash in any thread, or a failure a worker thread handed to
// the main thread, is told in one line and ends the process with a code that is never 0. Under
// Wine, the debugger would end a crash of a worker thread with exit code 0.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace platform
{

// Sets the process's unhandled-exception filter: one line on standard error when the process has
// one, one record in the error log logFile when one is given, then the process ends with the
// exception's code. Each program calls it first thing, before any thread starts.
void EndCrashesWithTheirCode(std::wstring logFile = {});

// The exit code of a program whose worker thread failed with a C++ exception: a code of an
// application's own (bit 29 set), "RAV" in its low bytes.
inline constexpr DWORD WorkerFailedCode = 0xE0524156;

// Tells what failed where a crash is told, then ends the process with code.
[[noreturn]] void EndWithFailure(std::wstring_view what, DWORD code);

} // namespace platform
