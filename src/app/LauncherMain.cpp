// Program entry of RavelinStart.exe, which the logon starts while entries are delayed: it starts the
// delayed entries of the user's places (/user) or of the machine's (/machine), then ends.
#include "apply/DelayedStart.h"
#include "platform/Console.h"
#include "platform/CrashExit.h"
#include "staging/LauncherValues.h"

#include <string_view>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::EndCrashesWithTheirCode();
    const ULONGLONG begun = GetTickCount64();
    const bool machine =
        std::wstring_view(platform::CommandLineArguments()).find(L"/machine") != std::wstring_view::npos;
    std::vector<EntryRecord> stored;
    // A store not read whole is never rewritten, but its complete records still start.
    ReadDelayedStore(stored);
    const std::vector<DelayedLaunch> launches = DelayedLaunches(stored, machine);
    constexpr DWORD SettleLimit = 10000;
    const int failed = RunDelayedLaunches(launches, SettleLimit);
    // Programs that write their entry back when they start or end go out again for the next logon,
    // once the logon's own start has surely read the Run keys: it starts them one by one, this
    // launcher among them, and a value taken out before it is read would not start at all.
    if (!HoldsDelayed(stored, machine))
        return failed;
    constexpr ULONGLONG RunKeysRead = 30000;
    if (const ULONGLONG now = GetTickCount64(); now < begun + RunKeysRead)
        Sleep(static_cast<DWORD>(begun + RunKeysRead - now));
    TakeOutWrittenBack(machine, SettleLimit);
    return failed;
}
