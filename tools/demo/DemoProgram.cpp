// A stand-in for a vendor's startup program in the demo prefix: its version resource names
// the vendor, and run at a logon it ends at once. With "/log FILE NAME" it first appends a line
// "NAME MILLISECONDS" to FILE, the system time it started, for the tests that watch what a boot
// starts and when. For the measures of a logon it can also use a known amount of CPU (/burn MS),
// write a known number of bytes (/write BYTES) and stay a while after (/stay MS), so that a
// watcher sees its final figures. With /writeback it writes its Run value NAME back, its own
// command line, as programs do that put themselves back at each start.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

namespace
{

ULONGLONG OwnCpuMilliseconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

void Burn(ULONGLONG milliseconds)
{
    // CPU time, not time on the clock: a busy machine must not make it burn less.
    volatile unsigned spin = 0;
    while (OwnCpuMilliseconds() < milliseconds)
        for (int i = 0; i < 100000; ++i)
            spin = spin + 1;
}

void Write(ULONGLONG bytes)
{
    wchar_t folder[MAX_PATH], file[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"dem", 0, file))
        return;
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    std::vector<char> block(65536, 'x');
    while (bytes > 0)
    {
        const DWORD size = static_cast<DWORD>(bytes < block.size() ? bytes : block.size());
        DWORD written = 0;
        if (!WriteFile(handle, block.data(), size, &written, nullptr) || written == 0)
            break;
        bytes -= written;
    }
    FlushFileBuffers(handle);
    CloseHandle(handle);
}

} // namespace

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    ULONGLONG burn = 0, write = 0, stay = 0;
    const wchar_t *logFile = nullptr, *logName = nullptr;
    bool writeBack = false;
    for (int i = 1; words && i < count; ++i)
        writeBack = writeBack || _wcsicmp(words[i], L"/writeback") == 0;
    for (int i = 1; words && i + 1 < count; ++i)
    {
        if (_wcsicmp(words[i], L"/log") == 0 && i + 2 < count)
        {
            logFile = words[++i];
            logName = words[++i];
            continue;
        }
        ULONGLONG* target = _wcsicmp(words[i], L"/burn") == 0    ? &burn
                            : _wcsicmp(words[i], L"/write") == 0 ? &write
                            : _wcsicmp(words[i], L"/stay") == 0  ? &stay
                                                                 : nullptr;
        if (target)
            *target = std::wcstoull(words[++i], nullptr, 10);
    }
    // Before the line: whoever reads the line finds the value written.
    if (writeBack && logName)
    {
        const wchar_t* line = GetCommandLineW();
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", logName,
                        REG_SZ, line, static_cast<DWORD>((wcslen(line) + 1) * sizeof(wchar_t)));
    }
    if (logFile)
    {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        const unsigned long long ms =
            ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
        char line[200];
        const int length = std::snprintf(line, sizeof(line), "%ls %llu\r\n", logName, ms);
        HANDLE log = CreateFileW(logFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, 0, nullptr);
        if (log != INVALID_HANDLE_VALUE)
        {
            DWORD written = 0;
            WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
            CloseHandle(log);
        }
    }
    LocalFree(words);
    Burn(burn);
    Write(write);
    Sleep(static_cast<DWORD>(stay));
    return 0;
}
