// The list fill shared by the start and by a language change.
#include "staging/StartupFill.h"
#include "staging/LauncherValues.h"
#include "staging/EntryStore.h"
#include "staging/StagingCommands.h"

void FillStartupList(StartupState& state)
{
    WindowsSwitches switches;
    // One registry component for the fill: it keeps each key open from one value to the next.
    platform::Reg reg;
    for (size_t source = 0; source < SourceCount; ++source)
        if (StartupSources[source].kind == SourceKind::Registry)
            SetRegRunIntoList(state.List, reg, source, switches);
    LoadWinIniEntries(state.List);
    LoadStartupFolderEntries(state.List, switches);
    LoadDisabledEntries(state);
    MarkLauncherMissing(state.List);

    TakeBaseline(state);
    if (state.List.Count() >= 1)
    {
        if (!state.List.Selected())
            state.List.Select(1);
        SyncButtonsToSelection(state);
    }
}

void TakeBaseline(StartupState& state)
{
    state.BaselineEntries.clear();
    state.BaselineEntries.reserve(static_cast<size_t>(state.List.Count()));
    for (int row = 1; row <= state.List.Count(); ++row)
        state.BaselineEntries.push_back(state.List.Row(row));
}

bool StartupChangesStaged(const StartupState& state)
{
    if (static_cast<size_t>(state.List.Count()) != state.BaselineEntries.size())
        return true;
    for (int row = 1; row <= state.List.Count(); ++row)
        if (!(state.List.Row(row) == state.BaselineEntries[static_cast<size_t>(row - 1)]))
            return true;
    return false;
}
