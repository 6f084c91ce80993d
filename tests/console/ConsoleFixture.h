// The console tests' fixture: RunConsole in this process with its output in files, and the real
// ravelinc.exe as a child process.
#pragma once
#include "apply/ApplyFixture.h"
#include "console/ConsoleCommand.h"
#include "platform/Text.h"
#include "support/ServicesFixture.h"

#include <string>
#include <string_view>

namespace consoletest
{

using namespace applytest;
using namespace testsupport;

struct Outcome
{
    int code = -1;
    std::wstring out, err;
};

struct ProgramRun
{
    DWORD code = 0xFFFFFFFF;
    std::string out, err; // as written
};

inline std::string Utf8(const std::wstring& text)
{
    return platform::CodePageFromWide(CP_UTF8, text);
}

// With services of the test, made as the window tests make them.
class ConsoleTest : public servicetest::ServicesTest
{
  protected:
    // RunConsole with standard output and error in files, read back as UTF-8.
    Outcome Run(const std::wstring& arguments)
    {
        const std::wstring files[] = {programFolder + L"\\out.txt", programFolder + L"\\err.txt"};
        const DWORD streams[] = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
        HANDLE before[2];
        for (int i = 0; i < 2; ++i)
        {
            before[i] = GetStdHandle(streams[i]);
            SetStdHandle(streams[i], CreateFileW(files[i].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                 CREATE_ALWAYS, 0, nullptr));
        }
        const int code = RunConsole(arguments);
        for (int i = 0; i < 2; ++i)
            CloseHandle(GetStdHandle(streams[i])), SetStdHandle(streams[i], before[i]);
        auto text = [](const std::wstring& file) {
            return platform::WideFromCodePage(CP_UTF8, ReadBytes(file));
        };
        return {code, text(files[0]), text(files[1])};
    }
    // The real ravelinc.exe: standard output into a pipe or a file, standard error into a file.
    ProgramRun RunProgram(const std::wstring& arguments, bool pipe = true)
    {
        ProgramRun run;
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        const std::wstring files[] = {programFolder + L"\\child-out.txt", programFolder + L"\\child-err.txt"};
        auto create = [&](const std::wstring& file) {
            return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                               nullptr);
        };
        HANDLE read = nullptr, out = nullptr;
        if (!pipe || !CreatePipe(&read, &out, &inherit, 0))
            out = create(files[0]);
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = out;
        start.hStdError = create(files[1]);
        PROCESS_INFORMATION process{};
        // Beside Ravelin.exe, in the program folder of the build this test is part of.
        std::wstring line = L"\"" + BuildFolder() + L"\\Ravelin\\ravelinc.exe\" " + arguments;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &start, &process))
            << "ravelinc.exe is built beside Ravelin.exe: " << line;
        CloseHandle(out);
        CloseHandle(start.hStdError);
        char buffer[4096];
        for (DWORD got = 0; read && ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got;)
            run.out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.code);
        for (HANDLE handle : {read, process.hProcess, process.hThread})
            CloseHandle(handle);
        if (!read)
            run.out = ReadBytes(files[0]);
        run.err = ReadBytes(files[1]);
        return run;
    }
    static bool Has(std::wstring_view text, std::wstring_view part) { return text.find(part) != text.npos; }

    const Place& user = PlaceOf(L"Registry(User Run)");
    const Place& machine = PlaceOf(L"Registry(Machine Run)");
    const Place& startup = PlaceOf(L"StartUp (Current User)");
};

} // namespace consoletest
