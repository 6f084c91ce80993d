// A stand-in for a vendor's startup program in the demo prefix: its version resource names
// the vendor, and run at a logon it ends at once. With "/log FILE NAME" (no blanks in either) it
// first appends a line "NAME MILLISECONDS" to FILE, the system time it started, for the tests
// that watch what a boot starts and when.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    char file[MAX_PATH], name[128];
    if (std::sscanf(arguments, "/log %259s %127s", file, name) != 2)
        return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ms =
        ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
    char line[200];
    const int length = std::snprintf(line, sizeof(line), "%s %llu\r\n", name, ms);
    HANDLE log = CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             0, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(log);
    return 0;
}
