// The list fill shared by the start and by a language change.
#include "app/MainState.h"
#include "inventory/Scanners.h"
#include "staging/StagingCommands.h"
#include "staging/EntryStore.h"

void FillStartupList(MainState& state)
{
    LoadSourceNames(state.SourceNames);
    SetRegRunIntoList(state.List, state.Reg1, state.SourceNames, HKEY_CURRENT_USER, L"Run");
    for (const wchar_t* key : {L"Run", L"RunOnce", L"RunOnceEx", L"RunServices"})
        SetRegRunIntoList(state.List, state.Reg1, state.SourceNames, HKEY_LOCAL_MACHINE, key);
    LoadWinIniEntries(state.List, state.SourceNames);
    LoadStartupFolderEntries(state.List, state.SourceNames);
    LoadDisabledEntries(state);

    TakeBaseline(state);
    if (state.List.Count() >= 1) {
        if (!state.List.Selected()) state.List.Select(1);
        SyncButtonsToSelection(state);
    }
}

void TakeBaseline(MainState& state)
{
    const int n = state.List.Count();
    state.BaselineEntries.assign(static_cast<size_t>(n), EntryRecord{});
    CopyListToRecords(state.List, state.BaselineEntries);
    state.BaselineCount = static_cast<short>(n);
}
