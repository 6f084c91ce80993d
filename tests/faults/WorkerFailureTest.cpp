// A program whose worker thread fails never ends as if it had done its work: a crash ends it with
// the crash's code, an exception with the code of a failed worker, each told on standard error.
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

namespace
{

// The child's exit code and all it wrote on standard error, through a pipe read to its end.
std::pair<DWORD, std::string> RunChild(const wchar_t* mode)
{
    std::wstring line = L"\"" + testsupport::BuildFolder() + L"\\tests\\apply_child.exe\" " + mode;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    platform::UniqueHandle reading(read), writing(write);
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdError = write;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &pi));
    platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writing.reset();
    std::pair<DWORD, std::string> end;
    char buffer[512];
    for (DWORD got = 0; ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got;)
        end.second.append(buffer, got);
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &end.first);
    return end;
}

} // namespace

// The child, as Ravelin.exe, tells a crash on standard error and in the error log of its folder.
TEST(WorkerFailureTest, ACrashOrAnExceptionInAWorkerEndsTheProgramWithItsCodeAndALine)
{
    const std::wstring log = testsupport::BuildFolder() + L"\\tests\\errorlog.txt";
    platform::RemoveFile(log, true);
    const auto [crashCode, crashLine] = RunChild(L"crash-in-worker");
    EXPECT_EQ(crashCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_NE(crashLine.find("exception 0xC0000005 at 0x"), std::string::npos) << crashLine;
    std::string logged;
    platform::ReadWholeFile(log, logged);
    EXPECT_NE(logged.find("exception 0xC0000005 at 0x"), std::string::npos) << logged;

    const auto [thrownCode, thrownLine] = RunChild(L"throw-in-worker");
    EXPECT_EQ(thrownCode, platform::WorkerFailedCode);
    EXPECT_NE(thrownLine.find("the window is gone"), std::string::npos) << thrownLine;
}
