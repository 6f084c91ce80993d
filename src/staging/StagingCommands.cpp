// Staging commands, the button rule and the row of a new task.
#include "staging/StagingCommands.h"
#include "model/StartupSource.h"

void cmdDisable_Click(MainState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    const bool enabled = state.List.State(row) == EntryState::Enabled;
    state.List.SetState(row, enabled ? EntryState::Disabled : EntryState::Enabled);
    state.DisableButtonCaption = enabled ? state.EnableCaption : state.DisableCaption;
    state.RemoveButtonEnabled = true;
}

void cmdRemove_Click(MainState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    state.List.SetState(row, EntryState::Remove);
    state.RemoveButtonEnabled = false;
}

void SyncButtonsToSelection(MainState& state)
{
    const int row = state.List.Selected();
    if (row == 0)
        return;
    switch (state.List.State(row))
    {
    case EntryState::Enabled:
        state.DisableButtonCaption = state.DisableCaption;
        state.RemoveButtonEnabled = true;
        break;
    case EntryState::Disabled:
        state.DisableButtonCaption = state.EnableCaption;
        state.RemoveButtonEnabled = true;
        break;
    case EntryState::Remove:
    case EntryState::Delayed:
        state.RemoveButtonEnabled = false;
        break;
    }
}

int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location)
{
    StartupEntry row = ScannedEntry(source, std::move(taskName), std::move(location));
    row.added = true;
    return list.Append(std::move(row));
}
