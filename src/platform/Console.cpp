// Standard output through the console and file functions.
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>

namespace platform
{

namespace
{

DWORD WriteToConsole(HANDLE console, std::wstring_view text)
{
    while (!text.empty())
    {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 8192)), written = 0;
        if (!WriteConsoleW(console, text.data(), chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        text.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

} // namespace

DWORD WriteStandardOutput(std::wstring_view text)
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (output && output != INVALID_HANDLE_VALUE)
        return GetConsoleMode(output, &mode) ? WriteToConsole(output, text)
                                             : WriteAll(output, CodePageFromWide(CP_UTF8, text));
    // A windows program started from a console gets no output handle: write to that console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return GetLastError();
    UniqueHandle console = MakeUniqueHandle(CreateFileW(
        L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!console)
        return GetLastError();
    return WriteToConsole(console.get(), text);
}

} // namespace platform
