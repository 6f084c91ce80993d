// The apply engine: brings what was staged in the list into effect on the system.
#pragma once
#include "model/MainState.h"

#include <windows.h>
#include <string>
#include <vector>

// An entry that did not end where its row says.
struct ApplyFailure
{
    enum Reason
    {
        SourceError,  // the system refused; error says why
        NoSource,     // its Load From names none of the sources
        PlaceSetting, // its name is a setting of its place (RunOnceEx's Flags, Title), never an entry
        Occupied,     // another entry of that name is in its place, which writing it would replace
        StoreNotSaved // left in its source: the store could not be written first
    };
    std::wstring taskName;
    Reason reason = SourceError;
    DWORD error = ERROR_SUCCESS;
};

struct ApplyResult
{
    int written = 0;     // entries written to their sources
    int takenOut = 0;    // entries taken out of their sources
    int switchedOff = 0; // entries left in their sources, switched off there as Windows does
    std::vector<ApplyFailure> failures;
    DWORD storeError = ERROR_SUCCESS; // the store as the apply left it could not be written
    bool storeNotRead = false;        // the store was not read whole at the last fill: left as it was
    // The apply lock was not taken (WAIT_TIMEOUT: another program was applying): nothing was done.
    DWORD lockError = ERROR_SUCCESS;
};

// Acts on every row whose Status differs from its baseline record and on every row added since,
// drops the rows marked Remove with their records, and rewrites the store. Where Windows honours
// its own startup switch, an entry of a place that has one is disabled by switching it off in its
// place, without the store. The store is written first, so a disabled entry is taken out of its
// source only once the store holds it. An entry that cannot be written to its source stays a
// disabled row, kept in the store; one that cannot be taken out or switched off gets its row's
// former Status back, so the row says where the entry is. An entry leaves the store only when it
// is written back or removed by the user, so a list that lacks a stored entry (a loaded profile)
// never drops it.
// The whole apply holds the machine's apply lock, waiting for it up to lockWait milliseconds, and
// first takes in what other programs (the command line, the windows of other users) changed in
// the store since this one read it, so that neither loses the other's entries.
ApplyResult ApplyNow(MainState& state, DWORD lockWait = 10000);
