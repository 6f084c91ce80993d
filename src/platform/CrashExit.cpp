// The crash filter and the end of a failed program. Inside the filter nothing allocates: the heap
// may be what broke.
#include "platform/CrashExit.h"
#include "platform/Files.h"

#include <cwchar>

namespace platform
{

namespace
{

// Set at the program's entry, before any thread starts; only read after.
std::wstring& LogFile()
{
    static std::wstring file;
    return file;
}

void Tell(std::wstring_view line)
{
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0, written = 0;
    if (error && error != INVALID_HANDLE_VALUE)
    {
        if (GetConsoleMode(error, &mode))
        {
            WriteConsoleW(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            WriteConsoleW(error, L"\r\n", 2, &written, nullptr);
        }
        else
        {
            WriteConverted(error, CP_UTF8, line);
            WriteConverted(error, CP_UTF8, L"\r\n");
        }
    }
    if (!LogFile().empty())
        AppendErrorRecord(LogFile(), line);
}

wchar_t* AppendHex(wchar_t* out, unsigned long long value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[i] = L"0123456789ABCDEF"[value & 15];
    return out + digits;
}

LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* crash)
{
    const DWORD code = crash->ExceptionRecord->ExceptionCode;
    const auto address = reinterpret_cast<unsigned long long>(crash->ExceptionRecord->ExceptionAddress);
    wchar_t line[96] = L"The program ended on exception 0x";
    wchar_t* end = AppendHex(line + std::wcslen(line), code, 8);
    std::wcscpy(end, L" at 0x");
    end = AppendHex(end + std::wcslen(end), address, 2 * sizeof(void*));
    Tell(std::wstring_view(line, end - line));
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void EndCrashesWithTheirCode(std::wstring logFile)
{
    LogFile() = std::move(logFile);
    SetUnhandledExceptionFilter(EndOnCrash);
}

void EndWithFailure(std::wstring_view what, DWORD code)
{
    Tell(what);
    TerminateProcess(GetCurrentProcess(), code);
    ExitProcess(code);
}

} // namespace platform
