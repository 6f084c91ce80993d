// Apply and log off, apply and restart.
#include "apply/ApplyMenu.h"
#include "apply/clsExitWindows.h"
#include "staging/EntryStore.h"

ApplyResult ApplyAndExitWindows(MainState& state, int exitOption)
{
    ApplyResult result = ApplyNow(state);
    // The same content again; this write decides what the store holds when the session ends.
    result.storeError = SaveDisabledEntries(state.List);
    clsExitWindows().ExitWindows(exitOption);
    return result;
}
