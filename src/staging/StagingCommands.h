// Staging commands: change the state of the selected row or add a row, never the system.
#pragma once
#include "find/FileFacts.h"
#include "model/StartupState.h"

// Enabled <-> Disabled; a row marked Remove or in any other state becomes Enabled.
void ToggleDisable(StartupState& state);
// Whether ToggleDisable would enable the selected row while the file its command line starts is
// gone (an entry of a program since uninstalled): by the facts known of that line, else by
// resolving it now, the answer kept in facts.
bool EnablesMissingProgram(const StartupState& state, FileFactsTable& facts);
// Marks the selected row for removal; Remove is no longer offered.
void MarkForRemoval(StartupState& state);
// What the buttons offer for the selected row; a row marked Remove leaves the Disable button as
// it was.
void SyncButtonsToSelection(StartupState& state);

// Why a row cannot be delayed; None when it can.
enum class DelayRefusal
{
    None,
    NoRow,
    RunsOnce,       // Windows deletes an entry of a RunOnce key as it starts it
    Service,        // RunServices: started before any logon
    NeedsElevation, // its program's manifest asks requireAdministrator
    UnknownPlace,
};
// Why the row's entry cannot be delayed: by its place, then by its program (resolved now, the
// answer kept in facts).
DelayRefusal DelayRefused(const StartupEntry& row, FileFactsTable& facts);
// The refusal in this language, naming the entry as the list shows it.
std::wstring DelayRefusalText(DelayRefusal refusal, const StartupEntry& row);
// Stages the selected row delayed by seconds: a delayed row keeps its order, any other comes after
// every delayed row of the list. Refused, and nothing changed, as DelayRefused says.
DelayRefusal DelaySelected(StartupState& state, int seconds, FileFactsTable& facts);

// Appends the row of a new task of the source, enabled; its User and When? say it was added.
int AppendNewTask(StartupList& list, std::wstring taskName, size_t source, std::wstring location);
