// Apply and log off, apply and restart.
#include "apply/ApplyMenu.h"
#include "apply/clsExitWindows.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/EntryStore.h"

SessionEnd EndSessionAfterApply(MainState& state, AfterApply after)
{
    SessionEnd end;
    if (after != AfterApply::LogOff && after != AfterApply::Restart)
        return end;
    // The same content again; this write decides what the store holds when the session ends.
    // Under the lock, with what others wrote since, like the apply's own writes.
    if (const platform::MachineLock lock(platform::names::ApplyLock, 10000);
        lock.Held() && TakeStoreChanges(state))
        end.storeError = SaveDisabledEntries(state);
    end.refused = EndSession(after).refused;
    return end;
}

SessionEnd EndSession(AfterApply after)
{
    SessionEnd end;
    if (after != AfterApply::LogOff && after != AfterApply::Restart)
        return end;
    // The options of clsExitWindows: 0 logs off, 2 restarts.
    end.refused = clsExitWindows().ExitWindows(after == AfterApply::LogOff ? 0 : 2);
    return end;
}
