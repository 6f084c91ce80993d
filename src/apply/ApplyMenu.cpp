// Apply and log off, apply and restart.
#include "apply/ApplyMenu.h"
#include "apply/clsExitWindows.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/EntryStore.h"

DWORD SaveStoreOnceMore(StartupState& state)
{
    // Under the lock, with what others wrote since, like the apply's own writes.
    if (const platform::MachineLock lock(platform::names::ApplyLock, 10000);
        lock.Held() && TakeStoreChanges(state))
        return SaveDisabledEntries(state);
    return ERROR_SUCCESS;
}

DWORD EndSession(AfterApply after)
{
    if (after != AfterApply::LogOff && after != AfterApply::Restart)
        return ERROR_SUCCESS;
    // The options of clsExitWindows: 0 logs off, 2 restarts.
    return clsExitWindows().ExitWindows(after == AfterApply::LogOff ? 0 : 2);
}
