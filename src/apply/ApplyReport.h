// What an apply of any kind of entry did, and the status line that says it, in the current language.
#pragma once
#include "model/EntryState.h"

#include <windows.h>
#include <string>
#include <vector>

// An entry that did not end where its row says.
struct ApplyFailure
{
    enum Reason
    {
        SystemError,   // the system refused; error says why
        NoSource,      // its Load From names none of the sources
        PlaceSetting,  // its name is a setting of its place (RunOnceEx's Flags, Title), never an entry
        Occupied,      // another entry of that name is in its place, which writing it would replace
        StoreNotSaved, // left in its source: the store could not be written first
        StartsNotRead, // the remembered start types could not be read whole: nothing is changed
        NotRemembered  // to be disabled, but its start type could not be remembered first
    };
    std::wstring name;
    Reason reason = SystemError;
    DWORD error = ERROR_SUCCESS;
};

struct ApplyResult
{
    EntryKind kind = EntryKind::Startup;
    int written = 0;     // entries written to their places, or enabled there
    int takenOut = 0;    // entries taken out of their places, or disabled there
    int switchedOff = 0; // entries left in their sources, switched off there as Windows does
    std::vector<std::wstring> stillRunning; // disabled while they run: they stop only when stopped
    std::vector<ApplyFailure> failures;
    DWORD storeError = ERROR_SUCCESS; // what the apply keeps of its entries could not be written
    bool storeNotRead = false;        // the store was not read whole at the last fill: left as it was
    // The apply lock was not taken (WAIT_TIMEOUT: another program was applying): nothing was done.
    DWORD lockError = ERROR_SUCCESS;
};

// Whether anything was not applied, or could not be kept.
bool ApplyFailed(const ApplyResult& result);
// Whether something was left alone because it could not be done safely now: the lock, the store
// or the remembered start types.
bool ApplyUnsafe(const ApplyResult& result);

// What was done, in the words of the kind; then, when some were not, which and why; then whether
// what the kind keeps could not be saved. Only why, when the apply could not start.
std::wstring ApplyResultText(const ApplyResult& result);
