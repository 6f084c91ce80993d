// Apply and log off, apply and restart.
#include "apply/ApplyMenu.h"
#include "apply/clsExitWindows.h"
#include "staging/EntryStore.h"

DWORD EndSessionAfterApply(MainState& state, int exitOption)
{
    // The same content again; this write decides what the store holds when the session ends.
    const DWORD error = state.StoreReadWhole() ? SaveDisabledEntries(state) : ERROR_SUCCESS;
    clsExitWindows().ExitWindows(exitOption);
    return error;
}
