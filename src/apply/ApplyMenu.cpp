// Apply and log off, apply and restart.
#include "apply/ApplyMenu.h"
#include "apply/clsExitWindows.h"
#include "staging/EntryStore.h"

DWORD EndSessionAfterApply(MainState& state, AfterApply after)
{
    if (after != AfterApply::LogOff && after != AfterApply::Restart) return ERROR_SUCCESS;
    // The same content again; this write decides what the store holds when the session ends.
    const DWORD error = state.StoreReadWhole() ? SaveDisabledEntries(state) : ERROR_SUCCESS;
    // The options of clsExitWindows: 0 logs off, 2 restarts.
    clsExitWindows().ExitWindows(after == AfterApply::LogOff ? 0 : 2);
    return error;
}
