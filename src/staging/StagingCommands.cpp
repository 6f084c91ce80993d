// Staging commands, the button rule and the row of a new task.
#include "staging/StagingCommands.h"
#include "model/StartupSource.h"

void ToggleDisable(StartupState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    const bool enabled = state.List.State(row) == EntryState::Enabled;
    state.List.SetState(row, enabled ? EntryState::Disabled : EntryState::Enabled);
    state.Buttons = {enabled, true};
}

bool EnablesMissingProgram(const StartupState& state, FileFactsTable& facts)
{
    const int row = state.List.Selected();
    if (row == 0 || state.List.State(row) == EntryState::Enabled)
        return false;
    const std::wstring& line = state.List.Row(row).location;
    const FileFacts* known = facts.Find(line);
    if (!known)
    {
        facts.Store(line, ResolveFileFacts(line));
        known = facts.Find(line);
    }
    return known->state == FileFacts::State::Missing;
}

void MarkForRemoval(StartupState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    state.List.SetState(row, EntryState::Remove);
    state.Buttons.removeEnabled = false;
}

void SyncButtonsToSelection(StartupState& state)
{
    const int row = state.List.Selected();
    if (row == 0)
        return;
    switch (state.List.State(row))
    {
    case EntryState::Enabled:
    case EntryState::Disabled:
        state.Buttons = {state.List.State(row) == EntryState::Disabled, true};
        break;
    case EntryState::Remove:
    case EntryState::Delayed:
        state.Buttons.removeEnabled = false;
        break;
    }
}

int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location)
{
    StartupEntry row = ScannedEntry(source, std::move(taskName), std::move(location));
    row.added = true;
    return list.Append(std::move(row));
}
