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

int wmain(int argc, wchar_t** argv)
{
    const unsigned seconds =
        argc > 1 ? static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10)) : WatchDefaultSeconds;
    const std::wstring demo = argc > 2 ? argv[2] : platform::ProgramFolder() + L"\\..\\demo\\syncdrive.exe";
    // One look alone, a hundred times over: the floor of the watcher's cost per look.
    {
        platform::ProcessSnapshots snapshots;
        size_t seen = 0;
        const ULONGLONG before = platform::OwnCpuTime();
        for (int look = 0; look < 100; ++look)
            seen += snapshots.Take().size();
        std::wprintf(L"one look at %zu processes: %.2f ms of CPU\n", seen / 100,
                     static_cast<double>(platform::OwnCpuTime() - before) / 1000000.0);
    }
    const ULONGLONG started = platform::SystemTimeNow();
    LogonSampler sampler(SystemProcesses(), started, platform::ProgramFolder(), GetCurrentProcessId());
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
    std::wprintf(L"starting the programs, counted apart: %.0f ms\n", static_cast<double>(starting) / 10000.0);
    return 0;
}
