// Programs that a test made the program start: found by name among this process's children,
// looked at through their windows, and ended by their id; and where the built programs are.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace testsupport
{

inline std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}
inline std::wstring ThisProgram()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    return module;
}
// The build folder: the test programs are in its tests folder, the program folder is Ravelin.
inline std::wstring BuildFolder()
{
    const std::wstring self = ThisProgram();
    return self.substr(0, self.find_last_of(L'\\', self.find_last_of(L'\\') - 1));
}

// Ids of the running processes started by this test process whose file is exeName.
std::vector<DWORD> ChildProcesses(const std::wstring& exeName);
// The window texts of the one running process of that name this test started, empty when there is
// not exactly one; every such process is ended.
std::wstring EndStarted(const std::wstring& exeName);

} // namespace testsupport
