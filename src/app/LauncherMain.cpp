// Program entry of RavelinStart.exe, which the logon starts while entries are delayed: it starts the
// delayed entries of the user's places (/user) or of the machine's (/machine), then ends.
#include "apply/DelayedStart.h"
#include "platform/Console.h"
#include "platform/CrashExit.h"
#include "platform/Handles.h"

#include <optional>
#include <string_view>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::EndCrashesWithTheirCode();
    const bool machine =
        std::wstring_view(platform::CommandLineArguments()).find(L"/machine") != std::wstring_view::npos;
    std::vector<EntryRecord> stored;
    // A store not read whole is never rewritten, but its complete records still start.
    ReadDelayedStore(stored);
    const std::vector<DelayedLaunch> launches = DelayedLaunches(stored, machine);
    // The shell opens shortcuts through COM; an apartment costs a start with none to open.
    std::optional<platform::ComApartment> com;
    for (const DelayedLaunch& launch : launches)
        if (!launch.shortcut.empty() && !com)
            com.emplace();
    constexpr DWORD SettleLimit = 10000;
    return RunDelayedLaunches(launches, SettleLimit);
}
