// The apply's status line. Its texts have pack keys of their own, with English defaults.
#include "apply/ApplyReport.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr keys::KeyText Applied{L"501", L"Applied: %1 written, %2 taken out."};
constexpr keys::KeyText NotApplied{L"502", L"Not applied: %1."};
constexpr keys::KeyText StoreNotSaved{L"503", L"The disabled entries could not be saved: %1."};
constexpr keys::KeyText FailureItem{L"504", L"%1 (%2)"};
constexpr keys::KeyText MoreFailures{L"505", L"%1 more"};
constexpr keys::KeyText NoSource{L"513", L"no known place for its Load From"};
constexpr keys::KeyText PlaceSetting{L"519", L"a setting of its place, not a program"};
constexpr keys::KeyText KeptForStore{L"514",
                                     L"left in its place, the disabled entries could not be saved first"};
constexpr keys::KeyText StoreNotRead{L"515",
                                     L"The file of disabled entries was left as it was: it could not be read completely."};

constexpr size_t NamedFailures = 10;

std::wstring Text(const keys::KeyText& key)
{
    return LookupText(key);
}

std::wstring Reason(const ApplyFailure& failure)
{
    switch (failure.reason) {
    case ApplyFailure::NoSource:
        return Text(NoSource);
    case ApplyFailure::PlaceSetting:
        return Text(PlaceSetting);
    case ApplyFailure::StoreNotSaved:
        return Text(KeptForStore);
    case ApplyFailure::SourceError:
        break;
    }
    return ErrorReasonText(failure.error);
}

} // namespace

std::wstring ApplyResultText(const ApplyResult& result)
{
    std::wstring line =
        FormatText(Text(Applied), {platform::ToDecimal(result.written), platform::ToDecimal(result.takenOut)});
    if (!result.failures.empty()) {
        // One line: the first few by name, the rest counted.
        const size_t named = std::min(result.failures.size(), NamedFailures);
        const std::wstring item = Text(FailureItem);
        std::wstring list;
        for (size_t i = 0; i < named; ++i) {
            if (i) list += L", ";
            list += FormatText(item, {result.failures[i].taskName, Reason(result.failures[i])});
        }
        if (named < result.failures.size())
            list +=
                L", " + FormatText(Text(MoreFailures),
                               {platform::ToDecimal(static_cast<long long>(result.failures.size() - named))});
        line += L" " + FormatText(Text(NotApplied), {list});
    }
    if (result.storeError != ERROR_SUCCESS)
        line += L" " + FormatText(Text(StoreNotSaved), {ErrorReasonText(result.storeError)});
    if (result.storeNotRead) line += L" " + Text(StoreNotRead);
    return line;
}
