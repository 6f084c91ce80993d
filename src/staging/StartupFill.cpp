// The list fill shared by the start and by a language change.
#include "staging/StartupFill.h"
#include "staging/EntryStore.h"
#include "staging/StagingCommands.h"

void FillStartupList(MainState& state)
{
    LoadSourceNames(state.SourceNames);
    WindowsSwitches switches;
    for (size_t source = 0; source < SourceCount; ++source)
        if (StartupSources[source].kind == SourceKind::Registry)
            SetRegRunIntoList(state.List, state.Reg1, source, switches);
    LoadWinIniEntries(state.List);
    LoadStartupFolderEntries(state.List, switches);
    LoadDisabledEntries(state);

    TakeBaseline(state);
    if (state.List.Count() >= 1)
    {
        if (!state.List.Selected())
            state.List.Select(1);
        SyncButtonsToSelection(state);
    }
}

void TakeBaseline(MainState& state)
{
    state.BaselineEntries.clear();
    state.BaselineEntries.reserve(static_cast<size_t>(state.List.Count()));
    for (int row = 1; row <= state.List.Count(); ++row)
        state.BaselineEntries.push_back(state.List.Row(row));
}
