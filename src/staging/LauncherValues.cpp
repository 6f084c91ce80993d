// The launcher's Run values, written and read through the registry component.
#include "staging/LauncherValues.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Registry.h"

namespace
{

// The launcher's own Run value: what it holds, and what it must hold to start the launcher beside
// this program for the places of that owner.
std::wstring LauncherLine(bool machine)
{
    return L"\"" + platform::ProgramFolder() + platform::names::LauncherFile + L"\" " +
           (machine ? L"/machine" : L"/user");
}

void SelectLauncherValue(platform::Reg& reg, bool machine)
{
    reg.RootKey(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    reg.View(0);
    reg.KeyPath(platform::RunKeyPath(L"Run"));
    reg.ValueName(platform::names::LauncherValue);
}

} // namespace

bool OfTheMachine(const StartupSource& source)
{
    return OwnerRoot(source) == HKEY_LOCAL_MACHINE;
}

bool LauncherPresent(bool machine)
{
    platform::Reg reg;
    SelectLauncherValue(reg, machine);
    platform::RegValue value;
    return reg.ReadRaw(value) == ERROR_SUCCESS;
}

DWORD SyncLauncherValues(const std::vector<EntryRecord>& stored)
{
    bool wanted[2] = {false, false}; // the user's, the machine's
    for (const EntryRecord& record : stored)
        if (record.state == EntryState::Delayed && record.source >= 0 &&
            record.source < static_cast<int>(SourceCount))
            wanted[OfTheMachine(StartupSources[static_cast<size_t>(record.source)])] = true;
    DWORD first = ERROR_SUCCESS;
    platform::Reg reg;
    for (const bool machine : {false, true})
    {
        SelectLauncherValue(reg, machine);
        DWORD error = ERROR_SUCCESS;
        if (!wanted[machine])
        {
            if (error = reg.DeleteValue(); platform::IsMissing(error))
                error = ERROR_SUCCESS;
        }
        else if (reg.ReadValue() != LauncherLine(machine))
        {
            reg.ValueData(LauncherLine(machine));
            error = reg.WriteValue();
        }
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
