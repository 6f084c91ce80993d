// The services view's staging, with the status words of the moment.
#include "staging/ServiceStaging.h"
#include "inventory/ServiceScanner.h"
#include "model/StatusWords.h"
#include "platform/Names.h"
#include "staging/ServiceStore.h"

void FillServices(ServicesState& state, const MainState& captions)
{
    LoadRememberedStarts(state);
    LoadServices(state);
    state.Loaded = true;
    if (state.List.Count() >= 1)
        state.List.Select(1);
    SyncServiceButtons(state, captions);
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
    return (row.status == DisabledWord() && !disabled) || (row.status == EnabledWord() && disabled);
}

void cmdServiceDisable_Click(ServicesState& state, const MainState& captions)
{
    const int position = state.List.Selected();
    if (position == 0)
        return;
    ServiceRow& row = state.List.Row(position);
    row.status = row.status == EnabledWord() ? DisabledWord() : EnabledWord();
    SyncServiceButtons(state, captions);
}

void SyncServiceButtons(ServicesState& state, const MainState& captions)
{
    const int position = state.List.Selected();
    if (position == 0)
        return;
    const std::wstring& status = state.List.Row(position).status;
    if (status == EnabledWord())
        state.DisableButtonCaption = captions.DisableCaption;
    else if (status == DisabledWord())
        state.DisableButtonCaption = captions.EnableCaption;
}

void ResetServices(ServicesState& state)
{
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        ServiceRow& row = state.List.Row(position);
        row.status = StatusOfStart(row.start);
        row.enableAutomatic = false;
    }
}

int StageService(ServicesState& state, const std::wstring& name, bool enable)
{
    const int position = state.List.Find(name);
    if (position)
        state.List.Row(position).status = enable ? EnabledWord() : DisabledWord();
    return position;
}

std::vector<EntryRecord> ServiceProfileRecords(const ServicesState& state)
{
    std::vector<EntryRecord> records;
    for (int position = 1; position <= state.List.Count(); ++position)
    {
        const ServiceRow& row = state.List.Row(position);
        platform::ServiceStart after = row.start;
        if (ServiceChangeStaged(row))
            after = row.status == EnabledWord() ? EnableTarget(state, position)
                                                : platform::ServiceStart{SERVICE_DISABLED, false};
        EntryRecord record;
        record[TaskName] = row.name;
        record[Status] = row.status;
        record[LoadFrom] = platform::names::ServiceLoadFrom;
        record[User] = row.displayName;
        record[When] = StartTypeWord(after);
        record[Location] = row.imagePath;
        records.push_back(std::move(record));
    }
    return records;
}

void LoadServiceProfileRecords(ServicesState& state, const std::vector<EntryRecord>& records)
{
    if (records.empty())
        return;
    ResetServices(state);
    const std::wstring automatic = StartTypeWord({SERVICE_AUTO_START, false});
    for (const EntryRecord& record : records)
    {
        const int position = state.List.FindName(record[TaskName]);
        if (!position)
            continue;
        state.List.Row(position).status = record[Status];
        state.List.Row(position).enableAutomatic =
            CanPickAutomatic(state, position) && record[Status] == EnabledWord() && record[When] == automatic;
    }
}
