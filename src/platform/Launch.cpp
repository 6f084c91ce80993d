// Program starts through CreateProcessW and ShellExecuteW.
#include "platform/Launch.h"
#include "platform/Handles.h"

#include <shellapi.h>

namespace platform {

Launch StartProgram(const std::wstring& commandLine)
{
    Launch launch;
    std::wstring mutableLine = commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (commandLine.empty() || !CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                               nullptr, &startup, &process)) {
        launch.error = commandLine.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        return launch;
    }
    UniqueHandle thread(process.hThread), owned(process.hProcess);
    launch.processId = process.dwProcessId;
    return launch;
}

INT_PTR ShellOpen(HWND owner, const std::wstring& file, const std::wstring& directory)
{
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, nullptr, file.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL));
}

} // namespace platform
