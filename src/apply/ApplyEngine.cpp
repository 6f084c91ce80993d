// The apply engine: changed rows, added rows, removed rows, then the store.
#include "apply/ApplyEngine.h"
#include "apply/SourceWriters.h"
#include "i18n/Lookup.h"
#include "model/StartupSource.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/EntryStore.h"
#include "staging/LauncherValues.h"
#include "staging/StagingCommands.h"

#include <algorithm>
#include <array>

namespace
{

// The writers act on each row where the list holds it, which they never change: a copy of its
// six texts for every row would cost more than the rest of the engine's own work on it.
class Engine
{
  public:
    Engine(StartupState& state, ApplyResult& result) : state_(state), result_(result), writer_(reg_) {}

    // False when the entry is still in its source. A removal keeps no copy of it.
    bool TakeOut(int position, bool wasDisabled, bool removal)
    {
        const EntryRecord& row = state_.List.Row(position);
        const WriteResult r = writer_.RemoveFromSource(row, !removal);
        // Nothing to take out is expected only of an entry an earlier apply took out already.
        const bool gone = r.outcome == WriteResult::Absent || r.outcome == WriteResult::NoSource ||
                          r.outcome == WriteResult::PlaceSetting;
        if (r.outcome == WriteResult::Done || (wasDisabled && gone))
        {
            ++result_.takenOut;
            return true;
        }
        Fail(row, r);
        // Taken away behind the program's back: not in its source, so kept as the user staged it.
        return r.outcome == WriteResult::Absent;
    }

    // False when the entry could not be written.
    bool Write(int position)
    {
        const EntryRecord& row = state_.List.Row(position);
        const WriteResult r = writer_.WriteToSource(row);
        if (r.outcome == WriteResult::Done)
        {
            ++result_.written;
            return true;
        }
        Fail(row, r);
        return false;
    }

    bool DisablesBySwitch(int position) { return writer_.DisablesBySwitch(state_.List.Row(position)); }

    // False when the switch could not be written: the entry starts as before.
    bool SwitchOff(int position)
    {
        const EntryRecord& row = state_.List.Row(position);
        const WriteResult r = writer_.SwitchOff(row);
        if (r.outcome == WriteResult::Done)
        {
            ++result_.switchedOff;
            return true;
        }
        Fail(row, r);
        return false;
    }

    // The switch of an entry removed is no use to anyone; left behind, it would keep a later
    // entry of that name from starting. A failure to delete it does not bring the entry back.
    void ForgetSwitch(int position) { writer_.ForgetSwitch(state_.List.Row(position)); }

    void ForgetCopies(const std::vector<const EntryRecord*>& gone, const std::vector<EntryRecord>& stored)
    {
        writer_.ForgetCopies(gone, stored);
    }

  private:
    void Fail(const EntryRecord& row, const WriteResult& r)
    {
        const ApplyFailure::Reason reason = r.outcome == WriteResult::NoSource ? ApplyFailure::NoSource
                                            : r.outcome == WriteResult::PlaceSetting
                                                ? ApplyFailure::PlaceSetting
                                            : r.outcome == WriteResult::Occupied ? ApplyFailure::Occupied
                                                                                 : ApplyFailure::SystemError;
        result_.failures.push_back({row.name, reason, r.error});
    }

    StartupState& state_;
    ApplyResult& result_;
    // One registry component for the apply: it keeps each key open from one entry to the next.
    platform::Reg reg_;
    SourceWriter writer_;
};

} // namespace

ApplyResult ApplyNow(StartupState& state, DWORD lockWait)
{
    ApplyResult result;
    const platform::MachineLock lock(platform::names::ApplyLock, lockWait);
    if (!lock.Held())
    {
        result.lockError = lock.Error();
        return result;
    }
    const LookupBatch texts; // one apply, one look at the pack for its words and source names
    const StoreFilesHeld storeFiles;
    using enum EntryState;
    StartupList& list = state.List;
    std::vector<EntryRecord>& records = state.BaselineEntries;
    const int rows = list.Count();
    const int baseline = static_cast<int>(records.size());

    Engine engine(state, result);
    // Write ahead, before any source is touched: the store as this apply will leave it, and
    // still holding the entries it is about to write back, so that a stop half-way never leaves
    // an entry in neither place. A store that was not read whole, at the fill and again now with
    // what others wrote since, is never rewritten.
    result.storeNotRead = !TakeStoreChanges(state);
    // In one pass over the rows: those disabled now that stay in their places, switched off there
    // as Windows' own startup settings do, without the store (a row for its record's entry, a
    // loaded profile's, has it switched off as the record says, so that the store does not take
    // it); and those the store written ahead holds: disabled now or at the baseline, but those to
    // be switched off.
    const int paired = std::min(baseline, rows);
    std::vector<bool> bySwitch(static_cast<size_t>(paired));
    std::vector<const EntryRecord*> aheadRows;
    for (int k = 0; k < rows; ++k)
    {
        const StartupEntry& row = list.Row(k + 1);
        bool disabled = KeptInStore(row.state), switched = false;
        if (k < paired)
        {
            const EntryRecord& record = records[static_cast<size_t>(k)];
            if (record.disabledByWindows && row.name == record.name && row.source == record.source &&
                row.location == record.location)
                list.SetDisabledByWindows(k + 1, true);
            // A delay needs the entry out of its place, in the store the launcher reads.
            switched = row.state == Disabled && row.state != record.state && engine.DisablesBySwitch(k + 1);
            bySwitch[static_cast<size_t>(k)] = switched;
            disabled = disabled || KeptInStore(record.state);
        }
        if (disabled && !row.disabledByWindows && !switched)
            aheadRows.push_back(&row);
    }
    std::vector<EntryRecord> storedAhead = ComposeStore(aheadRows, state.Store.Entries, {});
    std::array<std::string, 2> bytes;
    // The store's files hold what was just taken in: no need to read them again.
    const bool storeFirst =
        !result.storeNotRead && WriteStore(storedAhead, &bytes, &state.Store.AsRead) == ERROR_SUCCESS;
    if (storeFirst)
        RememberStoreWritten(state, std::move(storedAhead), std::move(bytes));

    // A row whose entry could not be acted on says where the entry still is: a disabled row
    // stays disabled, so that the store keeps it; one that could not be taken out is what it was.
    bool statusRestored = false;
    auto restore = [&](int position, EntryRecord& record, EntryState state) {
        list.SetState(position, state);
        record.state = state;
        statusRestored = true;
    };
    // Entries that leave the store: written back to their sources, or removed by the user; and
    // the rows acted on that stood for other stored entries of their name and place, which go too.
    // Of those, the ones an exact copy may have been kept for: stored before, or taken out now.
    // Released and copied point at the rows themselves: the list drops none until the store is
    // written, and a copy of every row removed would cost more than the rest of its removal.
    std::vector<const EntryRecord*> released, copied;
    std::vector<EntryRecord> decided;

    // Changed rows.
    for (int k = 0; k < paired; ++k)
    {
        const int position = k + 1;
        const EntryState status = list.State(position);
        EntryRecord& record = records[static_cast<size_t>(k)];
        if (status == record.state)
        {
            // A new delay of a delayed entry is the store's alone to say.
            record.delaySeconds = list.Row(position).delaySeconds;
            record.delayOrder = list.Row(position).delayOrder;
            continue;
        }
        if (bySwitch[static_cast<size_t>(k)])
        {
            if (!engine.SwitchOff(position))
            {
                restore(position, record, record.state);
                continue;
            }
            // Its record too: Reset All and a loaded profile's rows keep it in its place, out of the store.
            list.SetDisabledByWindows(position, true);
            record.disabledByWindows = true;
            if (list.Row(position).alsoStored)
                decided.push_back(list.Row(position));
        }
        else if (KeptInStore(status) && !storeFirst)
        {
            // Its record keeps the old state: the next apply tries again.
            result.failures.push_back({list.Row(position).name, ApplyFailure::StoreNotSaved});
            continue;
        }
        else if (status == Remove || KeptInStore(status))
        {
            if (!engine.TakeOut(position, KeptInStore(record.state), status == Remove))
            {
                released.push_back(&list.Row(position)); // out of the store written ahead
                copied.push_back(released.back());
                restore(position, record, record.state);
                continue;
            }
            if (status == Remove)
                released.push_back(&list.Row(position));
            if (status == Remove && KeptInStore(record.state))
                copied.push_back(released.back());
            if (status == Remove &&
                (list.Row(position).disabledByWindows || list.Row(position).switchOffIgnored))
                engine.ForgetSwitch(position);
            if (list.Row(position).alsoStored)
                decided.push_back(list.Row(position));
        }
        else if (status == Enabled)
        {
            if (!engine.Write(position))
            {
                restore(position, record, record.state == Delayed ? Delayed : Disabled);
                continue;
            }
            released.push_back(&list.Row(position));
            if (KeptInStore(record.state))
                copied.push_back(released.back());
            if (list.Row(position).alsoStored)
                decided.push_back(list.Row(position));
            // Switched on again: from now on a Disable takes it out and stores it like any other.
            list.SetDisabledByWindows(position, false);
            record.disabledByWindows = false;
        }
        record.state = status;
        record.delaySeconds = list.Row(position).delaySeconds;
        record.delayOrder = list.Row(position).delayOrder;
    }

    // Added rows.
    for (int k = baseline; k < rows; ++k)
    {
        const int position = k + 1;
        records.push_back(list.Row(position));
        if (list.State(position) == Enabled && !engine.Write(position))
            restore(position, records.back(), Disabled);
    }

    // The store once more, unless the one written ahead (Store.Entries since) is already what it
    // must hold. Copies kept for entries the store no longer holds go only once it is written.
    if (!result.storeNotRead)
    {
        std::vector<EntryRecord> stored = ComposeStore(list, state.Store.Entries, released, decided);
        const bool unchanged = storeFirst && stored == state.Store.Entries;
        if (!unchanged)
            result.storeError = WriteStore(stored, &bytes);
        if (result.storeError == ERROR_SUCCESS)
        {
            if (unchanged)
                state.Store.Entries = std::move(stored);
            else
                RememberStoreWritten(state, std::move(stored), std::move(bytes));
            for (const EntryRecord& row : decided)
                copied.push_back(&row);
            engine.ForgetCopies(copied, state.Store.Entries);
            // The launcher starts with the logon while the store holds delayed entries, and only then.
            SyncLauncherValues(state.Store.Entries);
            MarkLauncherMissing(list);
            // A decided row stands for its own entry alone from now on.
            for (const EntryRecord& row : decided)
                for (int position = 1; position <= list.Count(); ++position)
                    if (list.Row(position).alsoStored && list.Row(position) == row)
                    {
                        list.SetAlsoStored(position, false);
                        records[static_cast<size_t>(position - 1)].alsoStored = false;
                    }
        }
    }

    // Removed rows: records without a row are dropped, their entries untouched; the rows marked
    // Remove go with their records, in one pass.
    if (baseline > rows)
        records.resize(static_cast<size_t>(rows));
    list.RemoveRowsIn(Remove, records);
    if (statusRestored)
        SyncButtonsToSelection(state);
    return result;
}
