// The launcher's Run values, written and read as our own values of the Run keys.
#include "staging/LauncherValues.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"

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

bool LauncherPresent(bool machine)
{
    return !platform::OwnRunValue(LauncherRoot(machine), platform::names::LauncherValue).empty();
}

DWORD SyncLauncherValues(const std::vector<EntryRecord>& stored)
{
    bool wanted[2] = {false, false}; // the user's, the machine's
    for (const EntryRecord& record : stored)
        if (record.state == EntryState::Delayed && record.source >= 0 &&
            record.source < static_cast<int>(SourceCount))
            wanted[OfTheMachine(StartupSources[static_cast<size_t>(record.source)])] = true;
    DWORD first = ERROR_SUCCESS;
    for (const bool machine : {false, true})
    {
        const HKEY root = LauncherRoot(machine);
        DWORD error = ERROR_SUCCESS;
        if (!wanted[machine])
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
        const StartupEntry& entry = list.Row(row);
        if (entry.state != EntryState::Delayed || entry.source < 0 ||
            entry.source >= static_cast<int>(SourceCount))
            continue;
        const bool machine = OfTheMachine(StartupSources[static_cast<size_t>(entry.source)]);
        if (present[machine] < 0)
            present[machine] = LauncherPresent(machine);
        list.SetLauncherMissing(row, !present[machine]);
    }
}
