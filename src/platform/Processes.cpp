// Manifests through the resource functions; starts through CreateProcessW and ShellExecuteExW.
#include "platform/Processes.h"
#include "platform/Files.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>

namespace platform
{

namespace
{

bool SaysAdministrator(std::string_view manifest)
{
    return manifest.find("requireAdministrator") != std::string_view::npos;
}

// User and kernel time of a process or a thread, through GetProcessTimes or GetThreadTimes.
using TimesOf = BOOL(WINAPI*)(HANDLE, FILETIME*, FILETIME*, FILETIME*, FILETIME*);
ULONGLONG CpuOf(HANDLE handle, TimesOf times)
{
    FILETIME created, exited, kernel, user;
    if (!handle || !times(handle, &created, &exited, &kernel, &user))
        return 0;
    return FileTimeTicks(kernel) + FileTimeTicks(user);
}

} // namespace

bool AsksAdministrator(const std::wstring& program)
{
    std::string beside;
    if (ReadWholeFile(program + L".manifest", beside) == ERROR_SUCCESS && SaysAdministrator(beside))
        return true;
    HMODULE module =
        LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return false;
    bool asks = false;
    for (WORD id = 1; id <= 3 && !asks; ++id)
        if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(24)))
            if (HGLOBAL loaded = LoadResource(module, found))
                if (const void* bytes = LockResource(loaded))
                    asks =
                        SaysAdministrator({static_cast<const char*>(bytes), SizeofResource(module, found)});
    FreeLibrary(module);
    return asks;
}

bool StartedProcess::Running() const
{
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

ULONGLONG StartedProcess::CpuTime() const
{
    // Wine keeps another process's own times only from its end, its threads' as they go.
    return std::max(ProcessCpuTime(process_.get()), CpuOf(thread_.get(), GetThreadTimes));
}

DWORD StartCommand(const std::wstring& commandLine, StartedProcess& started)
{
    std::wstring line = commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (line.empty())
        return ERROR_FILE_NOT_FOUND;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    started = StartedProcess(process.hProcess, process.hThread);
    return ERROR_SUCCESS;
}

DWORD StartThroughShell(const std::wstring& file, StartedProcess& started)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Done before it returns: the caller may leave its COM apartment right after.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return GetLastError() ? GetLastError() : ERROR_FILE_NOT_FOUND;
    started = StartedProcess(info.hProcess);
    return ERROR_SUCCESS;
}

ULONGLONG FileTimeTicks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ULONGLONG ProcessCpuTime(HANDLE process)
{
    return CpuOf(process, GetProcessTimes);
}

ULONGLONG OwnCpuTime()
{
    return ProcessCpuTime(GetCurrentProcess());
}

} // namespace platform
