// The usage text: fixed syntax lines, and every sentence from the packs.
#include "console/ConsoleUsage.h"
#include "kinds/Kinds.h"
#include "i18n/DelayKeys.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

namespace
{

struct VerbUsage
{
    const wchar_t* syntax;
    const keys::KeyText& says;
};
const VerbUsage Verbs[] = {
    {L"ravelinc /list [/json]", keys::UsageList},
    {L"ravelinc /list /services [/json]", keys::UsageListServices},
    {L"ravelinc /list /tasks [/all] [/json]", keys::UsageListTasks},
    {L"ravelinc /list [/services | /tasks] /verify [/json]", keys::UsageVerify},
    {L"ravelinc /disable NAME [/from PLACE]", keys::UsageDisable},
    {L"ravelinc /enable NAME [/from PLACE] [/force]", keys::UsageEnable},
    {L"ravelinc /remove NAME [/from PLACE]", keys::UsageRemove},
    {L"ravelinc /delay NAME [/from PLACE] [/seconds N]", keys::UsageDelay},
    {L"ravelinc /undelay NAME [/from PLACE]", keys::UsageUndelay},
    {L"ravelinc /disable NAME /from Service, /enable NAME /from Service", keys::UsageServiceChange},
    {L"ravelinc /disable NAME /from Task, /enable NAME /from Task", keys::UsageTaskChange},
    {L"ravelinc /add NAME /from PLACE /command \"COMMAND LINE\"", keys::UsageAdd},
    {L"ravelinc /save FILE", keys::UsageSave},
    {L"ravelinc /load FILE", keys::UsageLoad},
    {L"ravelinc /compare FILE [/json]", keys::UsageCompare},
    {L"ravelinc /measure [/seconds N], /measure /off", keys::UsageMeasure},
    {L"ravelinc /?", keys::UsageHelp},
};
const keys::KeyText* const ExitCodes[] = {&keys::ExitDone, &keys::ExitFailed, &keys::ExitNoEntry,
                                          &keys::ExitUsage, &keys::ExitNotSafe};

} // namespace

std::wstring UsageText(const SourceNameTable& names)
{
    std::wstring text =
        LookupText(keys::ConsoleTitle) + L"\r\n\r\n" + LookupText(keys::UsageHeading) + L"\r\n";
    for (const VerbUsage& verb : Verbs)
        text += L"  " + std::wstring(verb.syntax) + L"\r\n      " + LookupText(verb.says) + L"\r\n";
    text += L"\r\n" + LookupText(keys::UsageNotes) + L"\r\n\r\n" + LookupText(keys::PlacesHeading) + L"\r\n" +
            AllPlaceLines(names) + L"\r\n" + LookupText(keys::ExitCodesHeading) + L"\r\n";
    for (size_t code = 0; code < std::size(ExitCodes); ++code)
        text += L"  " + platform::ToDecimal(static_cast<long long>(code)) + L"  " +
                LookupText(*ExitCodes[code]) + L"\r\n";
    return text;
}
