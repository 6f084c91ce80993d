// Staging on the services view: the fill, the Disable/Enable toggle and its button, Reset All,
// the rows of a profile, and staging by name for scripts. Nothing here changes a service.
#pragma once
#include "model/ServicesState.h"
#include "model/StartupList.h"
#include "staging/EntryFile.h"

#include <string>
#include <vector>

// The remembered start types, then every service: the view filled, its first row selected.
void FillServices(ServicesState& state);

// What an enable gives the service at position: the start remembered for it, else Manual, or
// Automatic when the user picked it.
platform::ServiceStart EnableTarget(const ServicesState& state, int position);
// The service at position is disabled and nothing is remembered of it: the user may pick
// Automatic for its enable.
bool CanPickAutomatic(const ServicesState& state, int position);
// Staged for the next apply: its Status is not what its start type says.
bool ServiceChangeStaged(const ServiceRow& row);

// Enabled <-> Disabled on the selected row; any other Status becomes Enabled.
void ToggleServiceDisable(ServicesState& state);
// The Disable button's caption from the selected row.
void SyncServiceButtons(ServicesState& state);
// Every row's Status from its start type again; no pick of Automatic stays.
void ResetServices(ServicesState& state);

// Stages the service whose key name or display name is name (key names first, either without
// regard to case) for an enable or a disable at the next apply. Returns its position, 0 when no
// service is named so.
int StageService(ServicesState& state, const std::wstring& name, bool enable);

// The rows as profile records, six texts each: the key name, the English Status, "Service", the
// display name, the English start type an apply leaves it with, the command line.
std::vector<FileRecord> ServiceProfileRecords(const ServicesState& state);
// A profile's service records (none from a profile of an older build, which leaves the view as it
// is): each named service takes its record's Status, every other its own again.
void LoadServiceProfileRecords(ServicesState& state, const std::vector<FileRecord>& records);
