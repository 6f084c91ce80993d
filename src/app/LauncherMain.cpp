// Program entry of RavelinStart.exe, which the logon starts while entries are delayed: it starts the
// delayed entries of the user's places (/user) or of the machine's (/machine), then ends.
#include "apply/DelayedStart.h"
#include "platform/Console.h"
#include "platform/CrashExit.h"
#include "platform/Handles.h"

#include <string_view>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::EndCrashesWithTheirCode();
    platform::ComApartment com;
    const bool machine =
        std::wstring_view(platform::CommandLineArguments()).find(L"/machine") != std::wstring_view::npos;
    std::vector<EntryRecord> stored;
    // A store not read whole is never rewritten, but its complete records still start.
    ReadDelayedStore(stored);
    constexpr DWORD SettleLimit = 10000;
    return RunDelayedLaunches(DelayedLaunches(stored, machine), SettleLimit);
}
