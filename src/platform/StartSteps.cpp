// Start marks on the performance counter, whose milliseconds the benchmark shares with us.
#include "platform/StartSteps.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace platform::startsteps {

namespace {

struct StepMark {
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
    const std::wstring event = Environment(L"RAVELIN_BENCH_PAINTED");
    if (event.empty()) return;
    UniqueHandle painted(OpenEventW(EVENT_MODIFY_STATE, FALSE, event.c_str()));
    if (painted) SetEvent(painted.get());
}

void Report()
{
    const std::wstring file = Environment(L"RAVELIN_BENCH_STEPS");
    if (file.empty()) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::wstring text;
    for (const StepMark& mark : Marks()) {
        wchar_t ms[32];
        swprintf(ms, 32, L"%.3f", static_cast<double>(mark.ticks) * 1000.0 / static_cast<double>(frequency.QuadPart));
        text += std::wstring(mark.step) + L"\t" + ms + L"\n";
    }
    ReplaceFileAtomically(file, CodePageFromWide(CP_UTF8, text));
}

} // namespace platform::startsteps
