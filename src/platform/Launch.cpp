// Program starts through CreateProcessW and ShellExecuteW.
#include "platform/Launch.h"
#include "platform/Handles.h"

#include <shellapi.h>

namespace platform
{

std::wstring CommandLine(const std::wstring& program, const std::wstring& arguments)
{
    const bool bare = program.find_first_of(L" \t") == std::wstring::npos || program.front() == L'"';
    std::wstring line = bare ? program : L"\"" + program + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    return line;
}

Launch StartProgram(const std::wstring& program, const std::wstring& arguments)
{
    Launch launch;
    const std::wstring commandLine = program.empty() ? program : CommandLine(program, arguments);
    std::wstring mutableLine = commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (commandLine.empty() || !CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0,
                                               nullptr, nullptr, &startup, &process))
    {
        launch.error = commandLine.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        return launch;
    }
    UniqueHandle thread(process.hThread), owned(process.hProcess);
    launch.processId = process.dwProcessId;
    return launch;
}

DWORD ShellOpen(HWND owner, const std::wstring& file, const std::wstring& directory)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, nullptr, file.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL));
    if (result > 32)
        return ERROR_SUCCESS;
    // The shell's own codes up to 32 are Win32 codes where they have one; the last error says more.
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error
           : result == 0          ? ERROR_NOT_ENOUGH_MEMORY
                                  : static_cast<DWORD>(result);
}

DWORD ShowFileProperties(HWND owner, const std::wstring& file)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_NO_ASSOCIATION;
}

} // namespace platform
