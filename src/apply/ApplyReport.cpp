// The apply's status line. Its texts have pack keys of their own, with English defaults.
#include "apply/ApplyReport.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

#include <algorithm>

namespace
{

constexpr size_t NamedFailures = 10;

std::wstring Reason(const ApplyFailure& failure)
{
    switch (failure.reason)
    {
    case ApplyFailure::NoSource:
        return LookupText(keys::NoSource);
    case ApplyFailure::PlaceSetting:
        return LookupText(keys::PlaceSetting);
    case ApplyFailure::Occupied:
        return LookupText(keys::Occupied);
    case ApplyFailure::StoreNotSaved:
        return LookupText(keys::KeptForStore);
    case ApplyFailure::StartsNotRead:
        return LookupText(keys::StartsNotRead);
    case ApplyFailure::NotRemembered:
        return LookupText(keys::StartNotRemembered);
    case ApplyFailure::SystemError:
        break;
    }
    return ErrorReasonText(failure.error);
}

// Each kind's words for its counts and for what it keeps.
std::wstring DoneText(const ApplyResult& result)
{
    using platform::ToDecimal;
    switch (result.kind)
    {
    case EntryKind::Service:
        return FormatText(LookupText(keys::ServicesApplied),
                          {ToDecimal(result.takenOut), ToDecimal(result.written)});
    case EntryKind::Task:
        return FormatText(LookupText(keys::TasksApplied),
                          {ToDecimal(result.takenOut), ToDecimal(result.written)});
    case EntryKind::Startup:
        break;
    }
    return FormatText(LookupText(keys::Applied), {ToDecimal(result.written), ToDecimal(result.takenOut)});
}

// The tasks keep nothing of their own: a task's Enabled setting is in its definition.
const keys::KeyText& NotSavedKey(EntryKind kind)
{
    return kind == EntryKind::Service ? keys::StartsNotSaved : keys::StoreNotSaved;
}

std::wstring Joined(const std::vector<std::wstring>& items)
{
    std::wstring joined;
    for (const std::wstring& item : items)
        joined += (joined.empty() ? L"" : L", ") + item;
    return joined;
}

} // namespace

bool ApplyFailed(const ApplyResult& result)
{
    return !result.failures.empty() || result.storeError != ERROR_SUCCESS ||
           result.lockError != ERROR_SUCCESS || result.storeNotRead;
}

bool ApplyUnsafe(const ApplyResult& result)
{
    if (result.lockError != ERROR_SUCCESS || result.storeNotRead)
        return true;
    return std::ranges::any_of(result.failures, [](const ApplyFailure& failure) {
        return failure.reason == ApplyFailure::StartsNotRead || failure.reason == ApplyFailure::NotRemembered;
    });
}

std::wstring ApplyResultText(const ApplyResult& result)
{
    if (result.lockError == WAIT_TIMEOUT)
        return LookupText(keys::ApplyBusy);
    if (result.lockError != ERROR_SUCCESS)
        return FormatText(LookupText(keys::ApplyLockFailed), {ErrorReasonText(result.lockError)});
    std::wstring line = DoneText(result);
    if (result.switchedOff)
        line += L" " +
                FormatText(LookupText(keys::SwitchedOffInPlace), {platform::ToDecimal(result.switchedOff)});
    if (!result.stillRunning.empty())
        line += L" " + FormatText(LookupText(keys::StillRunning), {Joined(result.stillRunning)});
    if (!result.failures.empty())
    {
        // One line: the first few by name, the rest counted.
        const size_t named = std::min(result.failures.size(), NamedFailures);
        const std::wstring item = LookupText(keys::FailureItem);
        std::vector<std::wstring> items;
        for (size_t i = 0; i < named; ++i)
            items.push_back(FormatText(item, {result.failures[i].name, Reason(result.failures[i])}));
        if (named < result.failures.size())
            items.push_back(
                FormatText(LookupText(keys::MoreFailures),
                           {platform::ToDecimal(static_cast<long long>(result.failures.size() - named))}));
        line += L" " + FormatText(LookupText(keys::NotApplied), {Joined(items)});
    }
    if (result.storeError != ERROR_SUCCESS)
        line += L" " + FormatText(LookupText(NotSavedKey(result.kind)), {ErrorReasonText(result.storeError)});
    if (result.storeNotRead)
        line += L" " + LookupText(keys::StoreLeftAsItWas);
    return line;
}
