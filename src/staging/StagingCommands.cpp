// Staging commands, the button rule and the row of a new task.
#include "staging/StagingCommands.h"
#include "model/StartupSource.h"
#include "i18n/DelayKeys.h"
#include "i18n/Lookup.h"
#include "platform/Processes.h"
#include "platform/Text.h"

#include <algorithm>
#include <string_view>

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
    case EntryState::Delayed:
        state.Buttons = {true, true};
        break;
    case EntryState::Remove:
        state.Buttons.removeEnabled = false;
        break;
    }
}

DelayRefusal DelayRefused(const StartupEntry& row, FileFactsTable& facts)
{
    if (row.source < 0 || row.source >= static_cast<int>(SourceCount))
        return DelayRefusal::UnknownPlace;
    const StartupSource& source = StartupSources[static_cast<size_t>(row.source)];
    if (source.kind == SourceKind::Registry && std::wstring_view(source.key).starts_with(L"RunOnce"))
        return DelayRefusal::RunsOnce;
    if (source.kind == SourceKind::Registry && std::wstring_view(source.key) == L"RunServices")
        return DelayRefusal::Service;
    const FileFacts* known = facts.Find(row.location);
    if (!known)
    {
        facts.Store(row.location, ResolveFileFacts(row.location));
        known = facts.Find(row.location);
    }
    if (known->state == FileFacts::State::Found && platform::AsksAdministrator(known->file))
        return DelayRefusal::NeedsElevation;
    return DelayRefusal::None;
}

std::wstring DelayRefusalText(DelayRefusal refusal, const StartupEntry& row)
{
    const std::wstring shown(platform::Trim(row.name));
    switch (refusal)
    {
    case DelayRefusal::None:
    case DelayRefusal::NoRow:
        break;
    case DelayRefusal::RunsOnce: {
        SourceNameTable names;
        LoadSourceNames(names);
        return FormatText(LookupText(keys::CannotDelayRunOnce),
                          {shown, ScannedLoadFrom(static_cast<size_t>(row.source), names)});
    }
    case DelayRefusal::Service:
        return FormatText(LookupText(keys::CannotDelayService), {shown});
    case DelayRefusal::NeedsElevation:
        return FormatText(LookupText(keys::CannotDelayElevated), {shown});
    case DelayRefusal::UnknownPlace:
        return FormatText(LookupText(keys::CannotDelayUnknown), {shown});
    }
    return {};
}

DelayRefusal DelaySelected(StartupState& state, int seconds, FileFactsTable& facts)
{
    const int row = state.List.Selected();
    if (row == 0)
        return DelayRefusal::NoRow;
    if (const DelayRefusal refusal = DelayRefused(state.List.Row(row), facts); refusal != DelayRefusal::None)
        return refusal;
    int order = state.List.Row(row).delayOrder;
    if (state.List.State(row) != EntryState::Delayed)
    {
        order = 0;
        for (int other = 1; other <= state.List.Count(); ++other)
            if (state.List.State(other) == EntryState::Delayed)
                order = std::max(order, state.List.Row(other).delayOrder);
        order = std::min(order + 1, MaxDelayOrder);
    }
    state.List.SetState(row, EntryState::Delayed);
    state.List.SetDelay(row, seconds, order);
    state.Buttons = {true, true};
    return DelayRefusal::None;
}

int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location)
{
    StartupEntry row = ScannedEntry(source, std::move(taskName), std::move(location));
    row.added = true;
    return list.Append(std::move(row));
}
