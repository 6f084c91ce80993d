// The verbs: list, disable, enable, remove, add, save, load and compare, each on the kind it names.
#include "console/ConsoleCommand.h"
#include "console/ConsoleArguments.h"
#include "console/ConsoleUsage.h"
#include "console/ListCompare.h"
#include "find/ListExport.h"
#include "i18n/DelayKeys.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "inventory/LogonWatch.h"
#include "kinds/Kinds.h"
#include "staging/EntryFile.h"

#include <array>
#include <functional>

namespace
{

int Say(std::wstring_view text, int code = ExitDone)
{
    platform::WriteStandardOutput(std::wstring(text) + L"\r\n");
    return code;
}

int Complain(std::wstring_view text, int code)
{
    platform::WriteStandardError(std::wstring(text) + L"\r\n");
    return code;
}

int Answer(const VerbAnswer& answer)
{
    if (!answer.out.empty() && platform::WriteStandardOutput(answer.out) != ERROR_SUCCESS &&
        answer.code == ExitDone)
        return ExitFailed;
    if (!answer.err.empty())
        platform::WriteStandardError(answer.err);
    return answer.code;
}

// One line each; a verb's lines end as the console's do.
VerbAnswer Lines(VerbAnswer answer)
{
    for (std::wstring* text : {&answer.out, &answer.err})
        if (!text->empty() && !text->ends_with(L"\n"))
            *text += L"\r\n";
    return answer;
}

int CompareVerb(const StartupKind& startup, const std::wstring& file, bool json)
{
    std::string bytes;
    if (const DWORD error = platform::ReadWholeFile(file, bytes))
        return Complain(FormatText(LookupText(keys::CompareNotRead), {file, ErrorReasonText(error)}),
                        ExitBadUsage);
    const std::optional<std::vector<ListedEntry>> before = ReadListJson(DecodeListFile(bytes));
    if (!before)
        return Complain(FormatText(LookupText(keys::CompareNotList), {file}), ExitBadUsage);
    std::vector<ListedEntry> now;
    for (const ExportRow& row : startup.ShownRows(false))
        now.push_back(
            {row.cells[TaskName], row.cells[Status], row.state, row.cells[LoadFrom], row.cells[Location]});
    const std::vector<ListChange> changes = CompareLists(*before, now);
    const int code = changes.empty() ? ExitDone : ExitFailed;
    if (json)
        platform::WriteStandardOutput(ChangesJson(changes));
    else if (changes.empty())
        Say(FormatText(LookupText(keys::CompareSame), {file}));
    else
        platform::WriteStandardOutput(ChangesText(changes));
    return code;
}

int SaveVerb(const Kinds& kinds, const std::wstring& file)
{
    if (const DWORD error = WriteEntryFile(kinds.ProfileRecords(), file))
        return Complain(
            FormatText(LookupText(keys::ProfileNotSaved), {file, platform::SystemErrorText(error)}),
            ExitFailed);
    return Say(FormatText(LookupText(keys::ProfileSaved), {file}));
}

int LoadVerb(const Kinds& kinds, const std::wstring& file)
{
    if (const std::optional<VerbAnswer> unsafe = kinds.Startup().StoreUnsafe())
        return Answer(Lines(*unsafe));
    const EntryFileContent content = ReadEntryRecords(file);
    if (content.error != ERROR_SUCCESS)
        return Complain(
            FormatText(LookupText(keys::ProfileNotOpened), {file, platform::SystemErrorText(content.error)}),
            ExitBadUsage);
    if (content.incomplete)
        return Complain(FormatText(LookupText(keys::ProfileIncompleteNotApplied), {file}), ExitNotSafe);
    kinds.LoadProfileRecords(content.records);
    // Every kind's line; the code of the worst: not safe, then failed.
    int code = ExitDone;
    for (const ApplyResult& result : kinds.ApplyStaged(ConsoleLockWait))
    {
        const int said = Answer(Lines(AnswerOf(result)));
        if (said == ExitNotSafe || code == ExitDone)
            code = said;
    }
    return code;
}

int MeasureVerb(const ConsoleRequest& request)
{
    std::optional<unsigned> seconds;
    if (!request.off)
        seconds = request.seconds ? static_cast<unsigned>(*request.seconds) : WatchDefaultSeconds;
    const WatchChange change = ChangeLogonWatch(seconds);
    return change.done ? Say(change.text) : Complain(change.text, ExitFailed);
}

} // namespace

int RunConsole(std::wstring_view arguments)
{
    const LookupBatch texts; // one command, one look at the pack
    LoadStoredLanguage();
    const ParsedRequest parsed = ParseConsoleRequest(arguments);
    SourceNameTable names;
    LoadSourceNames(names);
    if (!parsed.error.empty())
        return Complain(parsed.error + L"\r\n" +
                            (parsed.usageBelow ? L"\r\n" + UsageText(names) : LookupText(keys::SeeHelp)),
                        ExitBadUsage);
    const ConsoleRequest& request = parsed.request;
    if (request.verb == Verb::Help)
    {
        platform::WriteStandardOutput(UsageText(names));
        return ExitDone;
    }
    if (request.verb == Verb::Measure)
        return MeasureVerb(request);
    const Kinds kinds;
    StartupKind& startup = kinds.Startup();
    // The startup list is what every verb but a list of another kind works on, or beside.
    Kind& named = request.verb == Verb::List ? kinds.Of(request.listKind) : kinds.NamedBy(request.from);
    if (&named == &startup || request.verb == Verb::Save || request.verb == Verb::Load)
        startup.Fill();
    switch (request.verb)
    {
    case Verb::List:
        return Answer(named.ListVerb(request.json, request.all, request.verify));
    case Verb::Compare:
        return CompareVerb(startup, request.value, request.json);
    case Verb::Disable:
    case Verb::Enable:
    case Verb::Remove: {
        const ChangeVerb verb = request.verb == Verb::Disable  ? ChangeVerb::Disable
                                : request.verb == Verb::Enable ? ChangeVerb::Enable
                                                               : ChangeVerb::Remove;
        return Answer(Lines(named.ChangeVerb(request.value, request.from, verb, request.force)));
    }
    case Verb::Delay:
    case Verb::Undelay:
        if (&named != &startup)
            return Complain(FormatText(LookupText(named.Id() == EntryKind::Service ? keys::CannotDelayService
                                                                                   : keys::CannotDelayTask),
                                       {request.value}),
                            ExitBadUsage);
        return Answer(Lines(
            startup.DelayVerb(request.value, request.from, request.seconds, request.verb == Verb::Undelay)));
    case Verb::Add:
        return Answer(Lines(startup.AddVerb(request.value, *request.from, *request.command)));
    case Verb::Save:
        return SaveVerb(kinds, request.value);
    case Verb::Load:
        return LoadVerb(kinds, request.value);
    case Verb::None:
    case Verb::Help:
    case Verb::Measure:
        break;
    }
    return ExitBadUsage;
}
