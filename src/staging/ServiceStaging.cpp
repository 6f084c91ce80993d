// The services view's staging.
#include "staging/ServiceStaging.h"
#include "inventory/ServiceScanner.h"
#include "platform/Names.h"
#include "staging/ServiceStore.h"

void FillServices(ServicesState& state)
{
    LoadRememberedStarts(state);
    LoadServices(state);
    state.Loaded = true;
    if (state.List.Count() >= 1)
        state.List.Select(1);
    SyncServiceButtons(state);
}

platform::ServiceStart EnableTarget(const ServicesState& state, int position)
{
    const ServiceRow& row = state.List.Row(position);
    if (const RememberedStart* remembered = RememberedFor(state.Remembered, row.name))
        return remembered->start;
    return {static_cast<DWORD>(row.enableAutomatic ? SERVICE_AUTO_START : SERVICE_DEMAND_START), false};
}

bool CanPickAutomatic(const ServicesState& state, int position)
{
    const ServiceRow& row = state.List.Row(position);
    return row.start.type == SERVICE_DISABLED && !RememberedFor(state.Remembered, row.name);
}

bool ServiceChangeStaged(const ServiceRow& row)
{
    const bool disabled = row.start.type == SERVICE_DISABLED;
    return (row.staged == EntryState::Disabled && !disabled) ||
           (row.staged == EntryState::Enabled && disabled);
}

void ToggleServiceDisable(ServicesState& state)
{
    const int position = state.List.Selected();
    if (position == 0)
        return;
    ServiceRow& row = state.List.Row(position);
    row.staged = row.staged == EntryState::Enabled ? EntryState::Disabled : EntryState::Enabled;
    SyncServiceButtons(state);
}

void SyncServiceButtons(ServicesState& state)
{
    const int position = state.List.Selected();
    if (position == 0)
        return;
    const EntryState staged = state.List.Row(position).staged;
    if (staged == EntryState::Enabled || staged == EntryState::Disabled)
        state.Buttons.offersEnable = staged == EntryState::Disabled;
}

void ResetServices(ServicesState& state)
{
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        ServiceRow& row = state.List.Row(position);
        row.staged = StateOfStart(row.start);
        row.enableAutomatic = false;
    }
}

int StageService(ServicesState& state, const std::wstring& name, bool enable)
{
    const int position = state.List.Find(name);
    if (position)
        state.List.Row(position).staged = enable ? EntryState::Enabled : EntryState::Disabled;
    return position;
}

std::vector<FileRecord> ServiceProfileRecords(const ServicesState& state)
{
    std::vector<FileRecord> records;
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        const ServiceRow& row = state.List.Row(position);
        platform::ServiceStart after = row.start;
        if (ServiceChangeStaged(row))
            after = row.staged == EntryState::Enabled ? EnableTarget(state, position)
                                                      : platform::ServiceStart{SERVICE_DISABLED, false};
        FileRecord record;
        record[TaskName] = row.name;
        record[Status] = StateKey(row.staged).text;
        record[LoadFrom] = platform::names::ServiceLoadFrom;
        record[User] = row.displayName;
        record[When] = StartTypeWord(after, true);
        record[Location] = row.imagePath;
        records.push_back(std::move(record));
    }
    return records;
}

void LoadServiceProfileRecords(ServicesState& state, const std::vector<FileRecord>& records)
{
    if (records.empty())
        return;
    ResetServices(state);
    // Older builds wrote the words of their language.
    const std::wstring automatic[] = {StartTypeWord({SERVICE_AUTO_START, false}, true),
                                      StartTypeWord({SERVICE_AUTO_START, false})};
    FileWords words;
    for (const FileRecord& record : records)
    {
        const int position = state.List.FindName(record[TaskName]);
        const std::optional<EntryState> staged = words.State(record[Status]);
        // A state a service cannot have, or a Status no language has, leaves it as it is.
        if (!position || (staged != EntryState::Enabled && staged != EntryState::Disabled))
            continue;
        ServiceRow& row = state.List.Row(position);
        row.staged = *staged;
        row.enableAutomatic = CanPickAutomatic(state, position) && row.staged == EntryState::Enabled &&
                              (record[When] == automatic[0] || record[When] == automatic[1]);
    }
}
