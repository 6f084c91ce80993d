// Start marks on the performance counter, whose milliseconds the benchmark shares with us.
#include "platform/StartSteps.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace platform::startsteps
{

namespace
{

struct StepMark
{
    const wchar_t* step;
    LONGLONG ticks;
};

std::vector<StepMark>& Marks()
{
    static std::vector<StepMark> marks;
    return marks;
}

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

void Tell(const wchar_t* variable)
{
    const std::wstring event = Environment(variable);
    if (event.empty())
        return;
    UniqueHandle named(OpenEventW(EVENT_MODIFY_STATE, FALSE, event.c_str()));
    if (named)
        SetEvent(named.get());
}

} // namespace

void Mark(const wchar_t* step)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    Marks().push_back({step, now.QuadPart});
}

void FirstPaint()
{
    Mark(L"first paint");
    Tell(L"RAVELIN_BENCH_PAINTED");
}

void StartWorkDone()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Mark(L"start work done");
    Tell(L"RAVELIN_BENCH_READY");
}

void Report()
{
    const std::wstring file = Environment(L"RAVELIN_BENCH_STEPS");
    if (file.empty())
        return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::wstring text;
    for (const StepMark& mark : Marks())
    {
        wchar_t ms[32];
        swprintf(ms, 32, L"%.3f",
                 static_cast<double>(mark.ticks) * 1000.0 / static_cast<double>(frequency.QuadPart));
        text += std::wstring(mark.step) + L"\t" + ms + L"\n";
    }
    ReplaceFileAtomically(file, CodePageFromWide(CP_UTF8, text));
}

} // namespace platform::startsteps
