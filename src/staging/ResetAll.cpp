// Reset All over the baseline records and the disabled-entry store.
#include "staging/ResetAll.h"
#include "model/StartupSource.h"
#include "staging/EntryStore.h"
#include "staging/StartupFill.h"

void ResetStaged(StartupState& state)
{
    state.List.Clear();
    for (const EntryRecord& record : state.BaselineEntries)
    {
        // A disabled or delayed entry is out of its source; the store brings it back, once, at the end. One
        // that Windows switched off is still in its source, and in no store.
        if (!KeptInStore(record.state) || record.disabledByWindows)
            state.List.AppendRow(record);
    }
    LoadDisabledEntries(state);
    TakeBaseline(state);
    if (state.List.Count() >= 1)
        state.List.Select(1);
}
