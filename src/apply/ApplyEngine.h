// The apply engine: brings what was staged in the list into effect on the system.
#pragma once
#include "apply/ApplyReport.h"
#include "model/StartupState.h"

#include <windows.h>
#include <string>
#include <vector>

// Acts on every row whose state differs from its baseline record and on every row added since,
// drops the rows marked Remove with their records, and rewrites the store. Where Windows honours
// its own startup switch, an entry of a place that has one is disabled by switching it off in its
// place, without the store. The store is written first, so a disabled entry is taken out of its
// source only once the store holds it. An entry that cannot be written to its source stays a
// disabled row, kept in the store; one that cannot be taken out or switched off gets its row's
// former state back, so the row says where the entry is. An entry leaves the store only when it
// is written back or removed by the user, so a list that lacks a stored entry (a loaded profile)
// never drops it.
// The whole apply holds the machine's apply lock, waiting for it up to lockWait milliseconds, and
// first takes in what other programs (the command line, the windows of other users) changed in
// the store since this one read it, so that neither loses the other's entries.
ApplyResult ApplyNow(StartupState& state, DWORD lockWait = 10000);
