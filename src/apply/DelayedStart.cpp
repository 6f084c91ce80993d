// The launcher's list from the store, its waits, and its own Run values.
#include "apply/DelayedStart.h"
#include "model/StartupSource.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Processes.h"
#include "platform/ProgramFiles.h"
#include "platform/Registry.h"
#include "staging/LauncherValues.h"
#include "staging/EntryStore.h"

#include <algorithm>
#include <optional>

namespace
{

// Its program wrote the entry back since it was delayed: the logon starts it from there, once.
bool BackInPlace(const StartupSource& source, const std::wstring& name, platform::Reg& reg)
{
    if (source.kind == SourceKind::StartUp)
        return platform::FileExists(platform::GetSpecialFolderPath(source.csidl) + L"\\" + name + L".lnk");
    if (source.kind != SourceKind::Registry)
        return false;
    reg.RootKey(source.root);
    reg.View(source.view);
    reg.KeyPath(platform::RunKeyPath(source.key));
    reg.ValueName(name);
    platform::RegValue value;
    return reg.ReadRaw(value) == ERROR_SUCCESS;
}

} // namespace

std::vector<DelayedLaunch> DelayedLaunches(const std::vector<EntryRecord>& stored, bool machine)
{
    std::vector<std::pair<const EntryRecord*, DelayedLaunch>> found;
    platform::Reg reg;
    for (const EntryRecord& record : stored)
    {
        if (record.state != EntryState::Delayed || record.source < 0 ||
            record.source >= static_cast<int>(SourceCount))
            continue;
        const StartupSource& source = StartupSources[static_cast<size_t>(record.source)];
        if (OfTheMachine(source) != machine || BackInPlace(source, record.name, reg))
            continue;
        DelayedLaunch launch{record.name, record.delaySeconds, record.delayOrder, {}, {}};
        if (source.kind == SourceKind::StartUp)
        {
            for (const bool older : {false, true})
                if (const std::wstring kept =
                        ExactCopyPlace(source, older).folder + L"\\" + record.name + L".lnk";
                    launch.shortcut.empty() && platform::FileExists(kept))
                    launch.shortcut = kept;
        }
        else if (platform::RegValue copy; ReadExactCopy(source, record.name, copy, reg) == ERROR_SUCCESS)
        {
            launch.commandLine = platform::RenderRegData(copy.type, copy.data.data(), copy.data.size());
            if (copy.type == REG_EXPAND_SZ)
                launch.commandLine = platform::ExpandEnvironment(launch.commandLine);
        }
        // No copy kept (an older build's record): the command the row shows.
        if (launch.shortcut.empty() && launch.commandLine.empty())
            launch.commandLine = platform::ExpandEnvironment(record.location);
        found.emplace_back(&record, std::move(launch));
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.order, a.second.seconds) < std::pair(b.second.order, b.second.seconds);
    });
    std::vector<DelayedLaunch> launches;
    for (auto& [record, launch] : found)
        launches.push_back(std::move(launch));
    return launches;
}

bool ReadDelayedStore(std::vector<EntryRecord>& stored)
{
    StartupState state;
    LoadDisabledEntries(state);
    stored = std::move(state.Store.Entries);
    return state.Store.ReadWhole();
}

int RunDelayedLaunches(const std::vector<DelayedLaunch>& launches, DWORD settleLimit, LaunchHooks hooks)
{
    std::optional<platform::StartedProcess> last;
    ULONGLONG lastCpu = 0;
    if (!hooks.now)
        hooks.now = [] { return GetTickCount64(); };
    if (!hooks.sleep)
        hooks.sleep = [](DWORD ms) { Sleep(ms); };
    if (!hooks.start)
        hooks.start = [&](const DelayedLaunch& launch) {
            platform::StartedProcess started;
            const DWORD error = launch.shortcut.empty()
                                    ? platform::StartCommand(launch.commandLine, started)
                                    : platform::StartThroughShell(launch.shortcut, started);
            last.emplace(std::move(started));
            lastCpu = last->CpuTime();
            return error;
        };
    // Settled: ended, or less than a tenth of a poll's time on the CPU in the last poll. A shell
    // start may give no process to watch: that one is settled at once.
    constexpr DWORD Poll = 200;
    if (!hooks.settled)
        hooks.settled = [&] {
            if (!last || !last->Running())
                return true;
            const ULONGLONG cpu = last->CpuTime();
            const bool quiet = cpu - lastCpu < Poll * 10000ULL / 10;
            lastCpu = cpu;
            return quiet;
        };
    const ULONGLONG begun = hooks.now();
    int failed = 0;
    for (const DelayedLaunch& launch : launches)
    {
        const ULONGLONG due = begun + static_cast<ULONGLONG>(launch.seconds) * 1000;
        while (hooks.now() < due)
            hooks.sleep(static_cast<DWORD>(std::min<ULONGLONG>(due - hooks.now(), 1000)));
        if (hooks.start(launch) != ERROR_SUCCESS)
        {
            ++failed;
            continue;
        }
        if (&launch == &launches.back())
            break;
        const ULONGLONG limit = hooks.now() + settleLimit;
        do
            hooks.sleep(Poll);
        while (!hooks.settled() && hooks.now() < limit);
    }
    return failed;
}
