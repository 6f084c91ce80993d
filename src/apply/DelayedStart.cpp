// The launcher's list from the store, its waits, and its own Run values.
#include "apply/DelayedStart.h"
#include "apply/SourceWriters.h"
#include "model/StartupSource.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/MachineLock.h"
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

// The delayed records of one side, with their places.
template <typename Act> void ForEachDelayed(const std::vector<EntryRecord>& stored, bool machine, Act act)
{
    for (const EntryRecord& record : stored)
        if (DelayedOfTheMachine(record) == machine)
            act(record, StartupSources[static_cast<size_t>(record.source)]);
}

} // namespace

std::vector<DelayedLaunch> DelayedLaunches(const std::vector<EntryRecord>& stored, bool machine)
{
    std::vector<std::pair<const EntryRecord*, DelayedLaunch>> found;
    platform::Reg reg, places;
    SourceWriter writer(places);
    ForEachDelayed(stored, machine, [&](const EntryRecord& record, const StartupSource& source) {
        // Its program wrote the entry back since it was delayed: the logon starts it from there, once.
        if (writer.InPlace(record))
            return;
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
    });
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

int TakeOutWrittenBack(bool machine, DWORD lockWait)
{
    // An apply in between could write an entry back for good and drop its record and copy.
    const platform::MachineLock lock(platform::names::ApplyLock, lockWait);
    if (!lock.Held())
        return 0;
    std::vector<EntryRecord> stored;
    ReadDelayedStore(stored);
    platform::Reg reg;
    SourceWriter writer(reg);
    std::optional<platform::ComApartment> com; // a shortcut's target is read through COM
    int taken = 0;
    // Taken out as a delay takes it, its exact copy made again of what its program wrote.
    ForEachDelayed(stored, machine, [&](const EntryRecord& record, const StartupSource& source) {
        if (source.kind == SourceKind::StartUp && !com)
            com.emplace();
        if (writer.InPlaceAsShown(record) && writer.RemoveFromSource(record).outcome == WriteResult::Done)
            ++taken;
    });
    return taken;
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
            DWORD error = ERROR_SUCCESS;
            if (launch.shortcut.empty())
                error = platform::StartCommand(launch.commandLine, started);
            else
            {
                // The shell opens a shortcut through COM. Its apartment goes at once: under Wine a
                // program started while one stands costs 40 ms more CPU (measured), shortcut or not.
                const platform::ComApartment com;
                error = platform::StartThroughShell(launch.shortcut, started);
            }
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
        const ULONGLONG limit = hooks.now() + settleLimit;
        do
            hooks.sleep(Poll);
        while (!hooks.settled() && hooks.now() < limit);
    }
    return failed;
}
