// A timed start of a program: the benchmark's events and steps file in its environment, its
// first paint, its answer once interactive, and the steps it wrote.
#include "StartTiming.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench
{

double Now()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Of the runs that succeeded (a failed start counts as -1).
double Median(std::vector<double> v)
{
    std::erase_if(v, [](double t) { return t < 0; });
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Least(const std::vector<double>& v)
{
    double least = -1;
    for (double t : v)
        if (t >= 0 && (least < 0 || t < least))
            least = t;
    return least;
}

namespace
{

// The program's marks are milliseconds of the performance counter, which we share with it: each
// step lasts from the mark before it (the first from CreateProcess) to its own.
std::vector<std::pair<std::wstring, double>> ReadSteps(const std::wstring& file, double start)
{
    std::vector<std::pair<std::wstring, double>> steps;
    std::string bytes;
    if (platform::ReadWholeFile(file, bytes) != ERROR_SUCCESS)
        return steps;
    double previous = start;
    size_t from = 0;
    while (from < bytes.size())
    {
        size_t end = bytes.find('\n', from);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(from, end - from);
        from = end + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const double at = std::atof(line.c_str() + tab + 1);
        steps.emplace_back(platform::WideFromCodePage(CP_UTF8, line.substr(0, tab)), at - previous);
        previous = at;
    }
    return steps;
}

HWND ShownWindowOf(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM param) -> BOOL {
            if (!IsWindowVisible(window))
                return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

Start StartProgram(const std::wstring& program, Until until)
{
    const wchar_t *paintedName = L"RavelinBenchPainted", *readyName = L"RavelinBenchReady";
    platform::UniqueHandle painted(CreateEventW(nullptr, TRUE, FALSE, paintedName));
    platform::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName));
    SetEnvironmentVariableW(L"RAVELIN_BENCH_PAINTED", paintedName);
    SetEnvironmentVariableW(L"RAVELIN_BENCH_READY", readyName);
    const bool withSteps = until == Until::StartWorkDone;
    const std::wstring stepsFile = platform::ProgramFolder() + L"\\bench_fill_steps.txt";
    platform::RemoveFile(stepsFile, true);
    SetEnvironmentVariableW(L"RAVELIN_BENCH_STEPS", withSteps ? stepsFile.c_str() : nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + program + L"\"";
    Start result;
    const double start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
    {
        std::printf("cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return result;
    }
    platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(painted.get(), 300000) == WAIT_OBJECT_0)
        result.painted = Now() - start;
    bool answered = false;
    if (result.painted >= 0 && until != Until::Painted &&
        (!withSteps || WaitForSingleObject(ready.get(), 300000) == WAIT_OBJECT_0))
    {
        DWORD_PTR answer = 0;
        HWND window = ShownWindowOf(pi.dwThreadId);
        answered = window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 300000, &answer);
        if (answered)
            result.interactive = Now() - start;
        RECT client{};
        if (window && GetClientRect(window, &client))
            result.client = {client.right, client.bottom};
    }
    // Asked to end, Ravelin.exe writes its steps; otherwise it is ended at once.
    if (!withSteps || !answered || !PostThreadMessageW(pi.dwThreadId, WM_QUIT, 0, 0) ||
        WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    if (withSteps && answered)
        result.steps = ReadSteps(stepsFile, start);
    return result;
}

} // namespace bench
