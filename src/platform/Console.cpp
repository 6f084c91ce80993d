// Standard output and error through the console and file functions.
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

DWORD WriteStandard(DWORD which, std::wstring_view text)
{
    HANDLE output = GetStdHandle(which);
    DWORD mode = 0;
    if (output && output != INVALID_HANDLE_VALUE)
        return GetConsoleMode(output, &mode) ? WriteToConsole(output, text)
                                             : WriteAll(output, CodePageFromWide(CP_UTF8, text));
    // A windows program started from a console gets no output handle: write to that console.
    if (!GetConsoleWindow() && !AttachConsole(ATTACH_PARENT_PROCESS))
        return GetLastError();
    UniqueHandle console = MakeUniqueHandle(CreateFileW(
        L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!console)
        return GetLastError();
    return WriteToConsole(console.get(), text);
}

} // namespace

DWORD WriteStandardOutput(std::wstring_view text)
{
    return WriteStandard(STD_OUTPUT_HANDLE, text);
}

DWORD WriteStandardError(std::wstring_view text)
{
    return WriteStandard(STD_ERROR_HANDLE, text);
}

std::wstring CommandLineArguments()
{
    // The program's name ends at its closing quote, or at the first blank when it is not quoted.
    std::wstring_view line = GetCommandLineW();
    size_t end = 0;
    if (!line.empty() && line[0] == L'"')
    {
        end = line.find(L'"', 1);
        end = end == std::wstring_view::npos ? line.size() : end + 1;
    }
    else
    {
        end = std::min(line.find_first_of(L" \t"), line.size());
    }
    return std::wstring(line.substr(end));
}

} // namespace platform
