// The launcher's Run values, written and read as our own values of the Run keys.
#include "staging/LauncherValues.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"

#include <algorithm>

namespace
{

// What the launcher's own Run value must hold to start the launcher beside this program for the
// places of that owner.
std::wstring LauncherLine(bool machine)
{
    return L"\"" + platform::ProgramFolder() + platform::names::LauncherFile + L"\" " +
           (machine ? L"/machine" : L"/user");
}

HKEY LauncherRoot(bool machine)
{
    return machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

} // namespace

bool OfTheMachine(const StartupSource& source)
{
    return OwnerRoot(source) == HKEY_LOCAL_MACHINE;
}

std::optional<bool> DelayedOfTheMachine(const EntryRecord& record)
{
    if (record.state != EntryState::Delayed || record.source < 0 ||
        record.source >= static_cast<int>(SourceCount))
        return std::nullopt;
    return OfTheMachine(StartupSources[static_cast<size_t>(record.source)]);
}

bool HoldsDelayed(const std::vector<EntryRecord>& stored, bool machine)
{
    return std::any_of(stored.begin(), stored.end(),
                       [&](const EntryRecord& record) { return DelayedOfTheMachine(record) == machine; });
}

bool LauncherPresent(bool machine)
{
    return !platform::OwnRunValue(LauncherRoot(machine), platform::names::LauncherValue).empty();
}

DWORD SyncLauncherValues(const std::vector<EntryRecord>& stored)
{
    DWORD first = ERROR_SUCCESS;
    for (const bool machine : {false, true})
    {
        const HKEY root = LauncherRoot(machine);
        DWORD error = ERROR_SUCCESS;
        if (!HoldsDelayed(stored, machine))
            error = platform::DeleteOwnRunValue(root, platform::names::LauncherValue);
        else if (platform::OwnRunValue(root, platform::names::LauncherValue) != LauncherLine(machine))
            error = platform::SetOwnRunValue(root, platform::names::LauncherValue, LauncherLine(machine));
        if (error && !first)
            first = error;
    }
    return first;
}

void MarkLauncherMissing(StartupList& list)
{
    int present[2] = {-1, -1}; // each Run key read once, when first needed
    for (int row = 1; row <= list.Count(); ++row)
    {
        const std::optional<bool> side = DelayedOfTheMachine(list.Row(row));
        if (!side)
            continue;
        const bool machine = *side;
        if (present[machine] < 0)
            present[machine] = LauncherPresent(machine);
        list.SetLauncherMissing(row, !present[machine]);
    }
}
