// Staging commands, the button rule and the row of a new task, with the words of the moment.
#include "staging/StagingCommands.h"
#include "model/StartupSource.h"

void cmdDisable_Click(MainState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    if (state.List.Text(row, Status) == EnabledWord())
    {
        state.List.SetSubItem(row, Status, DisabledWord());
        state.DisableButtonCaption = state.EnableCaption;
    }
    else
    {
        state.List.SetSubItem(row, Status, EnabledWord());
        state.DisableButtonCaption = state.DisableCaption;
    }
    state.RemoveButtonEnabled = true;
}

void cmdRemove_Click(MainState& state)
{
    const int row = state.List.Selected();
    if (state.List.Count() == 0 || row == 0)
        return;
    const std::wstring remove = RemoveWord();
    if (state.List.Text(row, Status) != remove)
        state.List.SetSubItem(row, Status, remove);
    state.RemoveButtonEnabled = false;
}

void SyncButtonsToSelection(MainState& state)
{
    const int row = state.List.Selected();
    if (row == 0)
        return;
    const std::wstring& status = state.List.Text(row, Status);
    if (status == EnabledWord())
    {
        state.DisableButtonCaption = state.DisableCaption;
        state.RemoveButtonEnabled = true;
    }
    else if (status == DisabledWord())
    {
        state.DisableButtonCaption = state.EnableCaption;
        state.RemoveButtonEnabled = true;
    }
    else
    {
        state.RemoveButtonEnabled = false;
    }
}

int AppendNewTask(StartupList& list, std::wstring taskName, std::wstring loadFrom, std::wstring location)
{
    RowWords words;
    words.status = EnabledWord();
    words.user =
        CaptionText(loadFrom == CaptionText(keys::UserRunSource) ? keys::CurrentUser : keys::AllUsers);
    words.when = CaptionText(keys::AddedWhen);
    words.loadFrom = std::move(loadFrom);
    const int position = list.Append(std::move(taskName));
    SetRowColumns(list, position, words, std::move(location));
    return position;
}
