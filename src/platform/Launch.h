// Starting other programs: by command line, or a document through the shell.
#pragma once
#include <windows.h>
#include <string>

namespace platform {

struct Launch {
    DWORD error = ERROR_SUCCESS; // why the program could not be started
    DWORD processId = 0;
};
// Starts a command line in a normal window that takes the focus, and does not wait for it.
Launch StartProgram(const std::wstring& commandLine);

// Asks the shell to open a document with its default verb in a normal window; the shell's
// own result, greater than 32 on success.
INT_PTR ShellOpen(HWND owner, const std::wstring& file, const std::wstring& directory);

} // namespace platform
