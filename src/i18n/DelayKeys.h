// The pack keys of delayed starts: their Status words, why an entry cannot be delayed, their
// console verbs and their menu items.
#pragma once
#include "i18n/Keys.h"

namespace keys
{

// The Status cell of a delayed entry: %1 the Delayed word, %2 its seconds, %3 its order.
inline constexpr KeyText DelayedStatusText{L"1250", L"%1 (%2 s, %3)"};
// The same when the launcher's own Run value is gone: nothing starts it.
inline constexpr KeyText LauncherMissing{L"1251", L"%1, launcher missing"};
inline constexpr KeyText CannotDelayRunOnce{
    L"1252", L"%1 cannot be delayed: Windows deletes an entry of %2 as it starts it once, so there is no "
             L"entry left for a later start."};
inline constexpr KeyText CannotDelayService{
    L"1253",
    L"%1 cannot be delayed: it is a service, which starts before anyone logs on, not after a logon."};
inline constexpr KeyText CannotDelayElevated{
    L"1254",
    L"%1 cannot be delayed: its program asks for administrator rights, which a start after the logon "
    L"could get only by asking you each time."};
inline constexpr KeyText CannotDelayTask{
    L"1268",
    L"%1 cannot be delayed: a scheduled task starts by its own triggers, which can give it a delay."};
inline constexpr KeyText CannotDelayUnknown{L"1255",
                                            L"%1 cannot be delayed: this build does not know its place."};
inline constexpr KeyText AlreadyDelayed{L"1256", L"%1 is delayed already by %2 s: nothing to apply."};
inline constexpr KeyText NotDelayed{L"1257", L"%1 is not delayed: nothing to apply."};
inline constexpr KeyText BadDelaySeconds{
    L"1258", L"/seconds takes a whole number of seconds from 1 to 86400, not \"%1\"."};
inline constexpr KeyText UsageDelay{
    L"1259", L"Takes the entry out of its place and lets Ravelin's launcher start it after the logon, after "
             L"N seconds (30 when not said), after the entries delayed before it."};
inline constexpr KeyText UsageUndelay{L"1260",
                                      L"Puts a delayed entry back in its place: it starts with the logon."};
inline constexpr KeyText DelayMenu{L"1261", L"Delay &start"};
inline constexpr KeyText DelayTenSeconds{L"1262", L"By &10 seconds"};
inline constexpr KeyText DelayThirtySeconds{L"1263", L"By &30 seconds"};
inline constexpr KeyText DelayOneMinute{L"1264", L"By 1 &minute"};
inline constexpr KeyText DelayTwoMinutes{L"1265", L"By &2 minutes"};
inline constexpr KeyText StartAtOnceItem{L"1266", L"Start at &once"};

} // namespace keys
