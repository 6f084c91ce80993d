// The services apply: the start types to remember written ahead, the changes, what is left to remember.
#include "apply/ServicesApply.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"

namespace
{

struct Change
{
    int position;
    platform::ServiceStart target;
};

} // namespace

ApplyResult ApplyServices(ServicesState& state, DWORD lockWait)
{
    ApplyResult result;
    result.kind = EntryKind::Service;
    ServiceList& list = state.List;
    bool staged = false;
    for (int position = 1; position <= list.Count() && !staged; ++position)
        staged = ServiceChangeStaged(list.Row(position));
    if (!staged)
        return result;
    const platform::MachineLock lock(platform::names::ApplyLock, lockWait);
    if (!lock.Held())
    {
        result.lockError = lock.Error();
        return result;
    }
    // Read again under the lock: another program may have remembered starts since, which a write
    // from what this one read before would lose.
    LoadRememberedStarts(state);
    std::vector<Change> changes;
    for (int position = 1; position <= list.Count(); ++position)
    {
        const ServiceRow& row = list.Row(position);
        if (!ServiceChangeStaged(row))
            continue;
        if (!state.StartsReadWhole())
            // An enable would not know the start to give back: nothing changes until it can be read.
            result.failures.push_back({row.displayName, ApplyFailure::StartsNotRead});
        else
            changes.push_back({position, row.staged == EntryState::Disabled
                                             ? platform::ServiceStart{SERVICE_DISABLED, false}
                                             : EnableTarget(state, position)});
    }
    if (changes.empty())
        return result;

    // Written ahead: the start each service to disable has now, asked again at this moment.
    std::vector<RememberedStart> ahead = state.Remembered;
    for (Change& change : changes)
    {
        ServiceRow& row = list.Row(change.position);
        if (change.target.type != SERVICE_DISABLED)
            continue;
        platform::ServiceStart now;
        if (const DWORD error = platform::QueryServiceStart(row.name, now))
        {
            result.failures.push_back({row.displayName, ApplyFailure::SystemError, error});
            row.staged = StateOfStart(row.start);
            change.position = 0;
        }
        else if (now.type == SERVICE_DISABLED)
        {
            // Disabled by another program since the list was made: nothing of ours to remember.
            row.start = now;
            change.position = 0;
        }
        else
            Remember(ahead, row.name, now);
    }
    const bool remembered = ahead == state.Remembered || WriteRememberedStarts(ahead) == ERROR_SUCCESS;
    if (remembered)
        state.Remembered = ahead;

    for (const Change& change : changes)
    {
        if (!change.position)
            continue;
        ServiceRow& row = list.Row(change.position);
        const bool disable = change.target.type == SERVICE_DISABLED;
        if (disable && !remembered)
        {
            // Still staged: the next apply tries again.
            result.failures.push_back({row.displayName, ApplyFailure::NotRemembered});
            continue;
        }
        if (const DWORD error = platform::ChangeServiceStart(row.name, change.target))
        {
            result.failures.push_back({row.displayName, ApplyFailure::SystemError, error});
            row.staged = StateOfStart(row.start);
            continue;
        }
        row.start = change.target;
        row.enableAutomatic = false;
        if (!disable)
        {
            ++result.written;
            continue;
        }
        ++result.takenOut;
        if (row.state != SERVICE_STOPPED)
            result.stillRunning.push_back(row.displayName);
    }

    // Kept: the start types of services still disabled, and of those whose start is not known. The
    // manager is asked, not the rows: another program may have disabled one since they were listed.
    std::vector<RememberedStart> kept;
    for (const RememberedStart& entry : state.Remembered)
    {
        platform::ServiceStart now;
        if (platform::QueryServiceStart(entry.name, now) != ERROR_SUCCESS || now.type == SERVICE_DISABLED)
            kept.push_back(entry);
    }
    if (remembered && kept != state.Remembered)
    {
        result.storeError = WriteRememberedStarts(kept);
        if (result.storeError == ERROR_SUCCESS)
            state.Remembered = std::move(kept);
    }
    return result;
}
