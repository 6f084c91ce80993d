// Starting other programs: by command line, or a document through the shell.
#pragma once
#include <windows.h>
#include <string>

namespace platform
{

struct Launch
{
    DWORD error = ERROR_SUCCESS; // why the program could not be started
    DWORD processId = 0;
};
// The command line that starts program with arguments: the program quoted when it holds a
// blank, so that "C:\Program Files\x.exe" can never start a planted C:\Program.exe.
std::wstring CommandLine(const std::wstring& program, const std::wstring& arguments);
// Starts program in a normal window that takes the focus, and does not wait for it.
Launch StartProgram(const std::wstring& program, const std::wstring& arguments = {});

// Asks the shell to open a document with its default verb in a normal window. Returns the system
// error.
DWORD ShellOpen(HWND owner, const std::wstring& file, const std::wstring& directory);

// Shows the shell's properties of a file and does not wait for them to close. Returns the system
// error when the shell cannot show them.
DWORD ShowFileProperties(HWND owner, const std::wstring& file);

} // namespace platform
