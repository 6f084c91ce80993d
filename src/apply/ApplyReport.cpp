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
    case ApplyFailure::SourceError:
        break;
    }
    return ErrorReasonText(failure.error);
}

} // namespace

std::wstring ApplyResultText(const ApplyResult& result)
{
    if (result.lockError == WAIT_TIMEOUT)
        return LookupText(keys::ApplyBusy);
    if (result.lockError != ERROR_SUCCESS)
        return FormatText(LookupText(keys::ApplyLockFailed), {ErrorReasonText(result.lockError)});
    std::wstring line = FormatText(LookupText(keys::Applied), {platform::ToDecimal(result.written),
                                                               platform::ToDecimal(result.takenOut)});
    if (result.switchedOff)
        line += L" " +
                FormatText(LookupText(keys::SwitchedOffInPlace), {platform::ToDecimal(result.switchedOff)});
    if (!result.failures.empty())
    {
        // One line: the first few by name, the rest counted.
        const size_t named = std::min(result.failures.size(), NamedFailures);
        const std::wstring item = LookupText(keys::FailureItem);
        std::wstring list;
        for (size_t i = 0; i < named; ++i)
        {
            if (i)
                list += L", ";
            list += FormatText(item, {result.failures[i].taskName, Reason(result.failures[i])});
        }
        if (named < result.failures.size())
            list += L", " +
                    FormatText(LookupText(keys::MoreFailures),
                               {platform::ToDecimal(static_cast<long long>(result.failures.size() - named))});
        line += L" " + FormatText(LookupText(keys::NotApplied), {list});
    }
    if (result.storeError != ERROR_SUCCESS)
        line += L" " + FormatText(LookupText(keys::StoreNotSaved), {ErrorReasonText(result.storeError)});
    if (result.storeNotRead)
        line += L" " + LookupText(keys::StoreLeftAsItWas);
    return line;
}
