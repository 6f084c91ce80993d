// A program whose worker thread fails never ends as if it had done its work: a crash ends it with
// the crash's code, an exception with the code of a failed worker, each told on standard error.
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

namespace
{

struct ChildEnd
{
    DWORD code = 0;
    std::string error;
};

// Its standard error through a pipe: read to its end, it holds all the child wrote.
ChildEnd RunChild(const wchar_t* mode)
{
    std::wstring line = L"\"" + testsupport::BuildFolder() + L"\\tests\\apply_child.exe\" " + mode;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    platform::UniqueHandle reading(read), writing(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdError = write;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &pi));
    platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writing.reset();
    ChildEnd end;
    char buffer[512];
    for (DWORD got = 0; ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got;)
        end.error.append(buffer, got);
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &end.code);
    return end;
}

} // namespace

TEST(WorkerFailureTest, ACrashOrAnExceptionInAWorkerEndsTheProgramWithItsCodeAndALine)
{
    const std::wstring log = testsupport::BuildFolder() + L"\\tests\\errorlog.txt";
    platform::RemoveFile(log, true);
    const ChildEnd crash = RunChild(L"crash-in-worker");
    EXPECT_EQ(crash.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_NE(crash.error.find("exception 0xC0000005 at 0x"), std::string::npos) << crash.error;
    std::string logged;
    platform::ReadWholeFile(log, logged);
    EXPECT_NE(logged.find("exception 0xC0000005 at 0x"), std::string::npos) << logged;

    const ChildEnd thrown = RunChild(L"throw-in-worker");
    EXPECT_EQ(thrown.code, platform::WorkerFailedCode);
    EXPECT_NE(thrown.error.find("the window is gone"), std::string::npos) << thrown.error;
}
