// The logon watcher's own CPU time while 20 small demo programs start, work and end, as they would
// at a logon with 20 entries. The CPU this program spends starting them is a logon's, not the
// watcher's: it is counted apart.
//   bench_watch [SECONDS [DEMO.exe]]   (90 by default, as the watcher samples; the demo SyncDrive)
#include "inventory/LogonWatch.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Processes.h"

#include <cstdio>
#include <cwchar>

namespace
{

// The system's processes, with the CPU this program spends on each kind of question.
class TimedProcesses final : public ProcessSource
{
  public:
    std::vector<platform::RunningProcess> Snapshot() override
    {
        const ULONGLONG before = platform::OwnCpuTime();
        auto running = SystemProcesses().Snapshot();
        snapshot += platform::OwnCpuTime() - before;
        return running;
    }
    std::optional<platform::ProcessStart> Open(DWORD id) override
    {
        const ULONGLONG before = platform::OwnCpuTime();
        auto start = SystemProcesses().Open(id);
        open += platform::OwnCpuTime() - before;
        return start;
    }
    platform::ProcessFigures Figures(DWORD id, HANDLE process) override
    {
        const ULONGLONG before = platform::OwnCpuTime();
        auto figures = SystemProcesses().Figures(id, process);
        this->figures += platform::OwnCpuTime() - before;
        ++reads;
        return figures;
    }
    ULONGLONG snapshot = 0, open = 0, figures = 0;
    unsigned reads = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const unsigned seconds =
        argc > 1 ? static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10)) : WatchDefaultSeconds;
    const std::wstring demo = argc > 2 ? argv[2] : platform::ProgramFolder() + L"\\..\\demo\\syncdrive.exe";
    const ULONGLONG started = platform::SystemTimeNow();
    TimedProcesses processes;
    LogonSampler sampler(processes, started, platform::ProgramFolder(), GetCurrentProcessId());
    const ULONGLONG cpuBefore = platform::OwnCpuTime();
    unsigned launched = 0;
    ULONGLONG starting = 0;
    // One program a look over the first looks, a quarter second apart, as a logon starts them.
    const unsigned samples = WatchUntil(sampler, started + seconds * 10000000ULL, [&] {
        if (launched == 20)
            return;
        const ULONGLONG before = platform::OwnCpuTime();
        if (platform::StartProgram(demo, L"/burn 50 /write 65536 /stay 2000").error == 0)
            ++launched;
        starting += platform::OwnCpuTime() - before;
    });
    const double cpu = static_cast<double>(platform::OwnCpuTime() - cpuBefore - starting) / 10000.0;
    ULONGLONG theirs = 0;
    for (const WatchedProcess& process : sampler.Processes())
        theirs += process.cpuTicks;
    std::wprintf(L"%u programs started, %zu processes watched, %u samples in %u s\n", launched,
                 sampler.Processes().size(), samples, seconds);
    std::wprintf(L"watcher's own CPU: %.0f ms (%.3f ms a sample); the watched processes': %.0f ms\n", cpu,
                 samples ? cpu / samples : 0.0, static_cast<double>(theirs) / 10000.0);
    std::wprintf(L"of which snapshots %.0f ms, opening new processes %.0f ms, %u figure reads %.0f ms\n",
                 static_cast<double>(processes.snapshot) / 10000.0,
                 static_cast<double>(processes.open) / 10000.0, processes.reads,
                 static_cast<double>(processes.figures) / 10000.0);
    std::wprintf(L"starting the programs, counted apart: %.0f ms\n", static_cast<double>(starting) / 10000.0);
    return 0;
}
