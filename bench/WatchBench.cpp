// The logon watcher's own CPU time while 20 small demo programs start, work and end, as they would
// at a logon with 20 entries.
//   bench_watch DEMO.exe [SECONDS]   (90 by default, as the watcher samples)
#include "inventory/LogonWatch.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Processes.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
    {
        std::fwprintf(stderr, L"usage: bench_watch DEMO.exe [SECONDS]\n");
        return 2;
    }
    const unsigned seconds =
        argc > 2 ? static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10)) : WatchDefaultSeconds;
    const ULONGLONG started = platform::SystemTimeNow();
    LogonSampler sampler(SystemProcesses(), started, platform::ProgramFolder(), GetCurrentProcessId());
    const ULONGLONG cpuBefore = platform::OwnCpuTime();
    unsigned launched = 0;
    // One program a look over the first looks, a quarter second apart, as a logon starts them.
    const unsigned samples = WatchUntil(sampler, started + seconds * 10000000ULL, [&] {
        if (launched < 20 && platform::StartProgram(argv[1], L"/burn 50 /write 65536 /stay 2000").error == 0)
            ++launched;
    });
    const double cpu = static_cast<double>(platform::OwnCpuTime() - cpuBefore) / 10000.0;
    ULONGLONG theirs = 0;
    for (const WatchedProcess& process : sampler.Processes())
        theirs += process.cpuTicks;
    std::wprintf(L"%u programs started, %zu processes watched, %u samples in %u s\n", launched,
                 sampler.Processes().size(), samples, seconds);
    std::wprintf(L"watcher's own CPU: %.0f ms (%.3f ms a sample); the watched processes': %.0f ms\n", cpu,
                 samples ? cpu / samples : 0.0, static_cast<double>(theirs) / 10000.0);
    return 0;
}
