// The Run values that start the launcher of delayed entries: one in the user's Run key for the
// user's places, one in the machine's for the machine's.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"

#include <windows.h>
#include <optional>
#include <vector>

// Whether the place's entries are the machine's (its launcher value is in the machine's Run key).
bool OfTheMachine(const StartupSource& source);
// The side a delayed record is of: the machine's places or the user's; none when it is no delayed
// record of a place the table knows.
std::optional<bool> DelayedOfTheMachine(const EntryRecord& record);
// Whether the store holds delayed entries of the machine's places, or of the user's.
bool HoldsDelayed(const std::vector<EntryRecord>& stored, bool machine);
// Whether the launcher's Run value is there, in the machine's Run key or the user's.
bool LauncherPresent(bool machine);
// Writes the launcher's Run value where the store holds delayed entries of that owner's places and
// deletes it where it holds none. Returns the first system error.
DWORD SyncLauncherValues(const std::vector<EntryRecord>& stored);
// Marks the delayed rows whose launcher value is gone: nothing would start them.
void MarkLauncherMissing(StartupList& list);
