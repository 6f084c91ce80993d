// The verbs: list, disable, enable, remove, add, save, load and compare.
#include "console/ConsoleCommand.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyReport.h"
#include "apply/ServicesApply.h"
#include "console/ConsoleArguments.h"
#include "console/ConsoleUsage.h"
#include "console/ListCompare.h"
#include "find/ListExport.h"
#include "find/ServiceDisplay.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/Profiles.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"
#include "staging/StagingCommands.h"
#include "staging/StartupFill.h"

#include <array>
#include <functional>

namespace
{

// How long the command line waits for an apply of another program to end.
constexpr DWORD ConsoleLockWait = 5000;

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

// The source a PLACE names: its identifier or its Load From text in this language, in any case.
int PlaceNamed(std::wstring_view place, const SourceNameTable& names)
{
    const std::wstring_view wanted = platform::Trim(place);
    for (size_t i = 0; i < SourceCount; ++i)
        if (platform::EqualsNoCase(wanted, StartupSources[i].id) ||
            platform::EqualsNoCase(wanted, names[i]) ||
            platform::EqualsNoCase(wanted, ScannedLoadFrom(i, names)))
            return static_cast<int>(i);
    return -1;
}

// The rows a NAME stands for, of one source or (place < 0) of any: those of exactly that name,
// else of it in any case, else of it without the blanks around it, as the list shows it.
std::vector<int> RowsNamed(const StartupList& list, const std::wstring& name, int place)
{
    const std::function<bool(const std::wstring&)> tests[] = {
        [&](const std::wstring& row) { return row == name; },
        [&](const std::wstring& row) { return platform::EqualsNoCase(row, name); },
        [&](const std::wstring& row) {
            return platform::EqualsNoCase(platform::Trim(row), platform::Trim(name));
        },
    };
    std::vector<int> rows;
    for (const auto& test : tests)
    {
        for (int row = 1; row <= list.Count(); ++row)
            if ((place < 0 || list.Row(row).source == place) && test(list.Row(row).name))
                rows.push_back(row);
        if (!rows.empty())
            break;
    }
    return rows;
}

// The rows as /list and /compare see them, in the list's order.
std::vector<ExportRow> ShownRows(const StartupList& list, bool withFileFacts)
{
    FileFactsTable facts;
    if (withFileFacts)
        for (const std::wstring& location : facts.TakeUnasked(list))
            facts.Store(location, ResolveFileFacts(location));
    const ListWords words = LoadListWords();
    DisplayList display;
    display.Update(list, words, facts);
    return ExportRows(list, words, facts, display);
}

int ListVerb(const MainState& state, bool json)
{
    const std::vector<ExportRow> rows = ShownRows(state.List, true);
    std::wstring text;
    if (json)
        text = ToJson(rows);
    else
    {
        std::array<std::wstring, ShownColumnCount + 1> header;
        for (int column = 0; column < ShownColumnCount; ++column)
            header[static_cast<size_t>(column)] = LookupText(keys::ColumnHeaders[column]);
        header.back() = LookupText(keys::FileExistsHeader);
        text = ToCsv(header, rows);
    }
    return platform::WriteStandardOutput(text) == ERROR_SUCCESS ? ExitDone : ExitFailed;
}

int CompareVerb(const MainState& state, const std::wstring& file, bool json)
{
    std::string bytes;
    if (const DWORD error = platform::ReadWholeFile(file, bytes))
        return Complain(FormatText(LookupText(keys::CompareNotRead), {file, ErrorReasonText(error)}),
                        ExitBadUsage);
    const std::optional<std::vector<ListedEntry>> before = ReadListJson(DecodeListFile(bytes));
    if (!before)
        return Complain(FormatText(LookupText(keys::CompareNotList), {file}), ExitBadUsage);
    std::vector<ListedEntry> now;
    for (const ExportRow& row : ShownRows(state.List, false))
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

// A change is made only on a store that was read whole: otherwise what it held could be lost.
bool StoreSafe(const MainState& state)
{
    if (state.StoreReadWhole())
        return true;
    Complain(StoreProblemText(state) + L" " + LookupText(keys::StoreNotSafe), ExitNotSafe);
    return false;
}

int ApplyAndReport(MainState& state)
{
    const ApplyResult result = ApplyNow(state, ConsoleLockWait);
    const std::wstring text = ApplyResultText(result);
    if (result.lockError != ERROR_SUCCESS || result.storeNotRead)
        return Complain(text, ExitNotSafe);
    if (!result.failures.empty() || result.storeError != ERROR_SUCCESS)
        return Complain(text, ExitFailed);
    return Say(text);
}

// The place /from names; -1 and the complaint printed when it names none.
int ChosenPlace(const MainState& state, const std::wstring& place)
{
    const int index = PlaceNamed(place, state.SourceNames);
    if (index < 0)
        Complain(FormatText(LookupText(keys::UnknownPlace), {place}) + L"\r\n" +
                     LookupText(keys::PlacesHeading) + L"\r\n" + PlaceLines(state.SourceNames),
                 ExitBadUsage);
    return index;
}

int ChangeVerb(MainState& state, const ConsoleRequest& request)
{
    if (!StoreSafe(state))
        return ExitNotSafe;
    const int place = request.from ? ChosenPlace(state, *request.from) : -1;
    if (request.from && place < 0)
        return ExitBadUsage;
    StartupList& list = state.List;
    const std::vector<int> rows = RowsNamed(list, request.value, place);
    if (rows.empty())
        return Complain(request.from
                            ? FormatText(LookupText(keys::NoSuchEntryIn),
                                         {request.value, state.SourceNames[static_cast<size_t>(place)]})
                            : FormatText(LookupText(keys::NoSuchEntry), {request.value}),
                        ExitNoEntry);
    if (rows.size() > 1)
    {
        const ListWords words = LoadListWords();
        std::wstring text = FormatText(LookupText(keys::SeveralPlaces), {request.value});
        for (int row : rows)
            text += L"\r\n  " + RowText(list.Row(row), LoadFrom, words) + L": " +
                    RowText(list.Row(row), TaskName, words) + L" = " + list.Row(row).location;
        return Complain(text, ExitNoEntry);
    }
    list.Select(rows.front());
    const EntryState status = list.State(rows.front());
    const std::wstring shown(platform::Trim(list.Row(rows.front()).name));
    if (request.verb == Verb::Disable && status != EntryState::Enabled)
        return Say(FormatText(LookupText(keys::AlreadyDisabled), {shown}));
    if (request.verb == Verb::Enable && status == EntryState::Enabled)
        return Say(FormatText(LookupText(keys::AlreadyEnabled), {shown}));
    if (request.verb == Verb::Remove)
        cmdRemove_Click(state);
    else
        cmdDisable_Click(state);
    return ApplyAndReport(state);
}

int AddVerb(MainState& state, const ConsoleRequest& request)
{
    if (!StoreSafe(state))
        return ExitNotSafe;
    const int place = ChosenPlace(state, *request.from);
    if (place < 0)
        return ExitBadUsage;
    const StartupSource& source = StartupSources[static_cast<size_t>(place)];
    const std::wstring& loadFrom = state.SourceNames[static_cast<size_t>(place)];
    if (!source.addTask)
        return Complain(FormatText(LookupText(keys::PlaceNotForAdd), {loadFrom}), ExitBadUsage);
    // As the dialog does: a win.ini line is named after its place.
    const std::wstring name = source.kind == SourceKind::WinIni ? std::wstring(source.id) : request.value;
    // Adding over an entry of that name would replace it in its place, with no copy kept.
    for (int row = 1; row <= state.List.Count(); ++row)
        if (state.List.Row(row).source == place && platform::EqualsNoCase(state.List.Row(row).name, name))
            return Complain(FormatText(LookupText(keys::AlreadyThere), {name, loadFrom}), ExitNotSafe);
    AppendNewTask(state.List, name, static_cast<size_t>(place), *request.command);
    return ApplyAndReport(state);
}

int SaveVerb(const MainState& state, const std::wstring& file)
{
    if (const DWORD error = SaveProfile(state.List, file))
        return Complain(
            FormatText(LookupText(keys::ProfileNotSaved), {file, platform::SystemErrorText(error)}),
            ExitFailed);
    return Say(FormatText(LookupText(keys::ProfileSaved), {file}));
}

int LoadVerb(MainState& state, const std::wstring& file)
{
    if (!StoreSafe(state))
        return ExitNotSafe;
    const ProfileLoad outcome = LoadProfile(state.List, file);
    if (outcome.error != ERROR_SUCCESS)
        return Complain(
            FormatText(LookupText(keys::ProfileNotOpened), {file, platform::SystemErrorText(outcome.error)}),
            ExitBadUsage);
    if (outcome.incomplete)
        return Complain(FormatText(LookupText(keys::ProfileIncompleteNotApplied), {file}), ExitNotSafe);
    return ApplyAndReport(state);
}

// The services as the manager lists them, the remembered start types read; false, the complaint
// printed, when the manager could not be asked.
bool FillServicesFor(ServicesState& services, const MainState& captions)
{
    FillServices(services, captions);
    if (services.ListError == ERROR_SUCCESS)
        return true;
    Complain(FormatText(LookupText(keys::ServicesNotListed), {ErrorReasonText(services.ListError)}),
             ExitFailed);
    return false;
}

int ServicesListVerb(const MainState& captions, bool json)
{
    ServicesState services;
    if (!FillServicesFor(services, captions))
        return ExitFailed;
    FileFactsTable facts;
    for (int position = 1; position <= services.List.Count(); ++position)
        if (const std::wstring& line = services.List.Row(position).imagePath; facts.TakeUnasked(line))
            facts.Store(line, ResolveFileFacts(line));
    DisplayList display;
    UpdateServiceDisplay(display, services.List, facts, false);
    const std::vector<ServiceExportRow> rows = ServiceExportRows(services.List, facts, display, json);
    const std::wstring text = json ? ServicesToJson(rows) : ServicesToCsv(rows);
    return platform::WriteStandardOutput(text) == ERROR_SUCCESS ? ExitDone : ExitFailed;
}

bool NamesServices(const std::optional<std::wstring>& place)
{
    return place && platform::EqualsNoCase(platform::Trim(*place), platform::names::ServiceLoadFrom);
}

int ServiceChangeVerb(const MainState& captions, const ConsoleRequest& request)
{
    if (request.verb == Verb::Remove)
        return Complain(LookupText(keys::ServicesNotRemoved), ExitBadUsage);
    ServicesState services;
    if (!FillServicesFor(services, captions))
        return ExitFailed;
    // An enable would not know what to give back.
    if (!services.StoreReadWhole())
        return Complain(StartsProblemText(services), ExitNotSafe);
    const int position = services.List.Find(std::wstring(platform::Trim(request.value)));
    if (!position)
        return Complain(
            FormatText(LookupText(keys::NoSuchEntryIn), {request.value, platform::names::ServiceLoadFrom}),
            ExitNoEntry);
    const ServiceRow& row = services.List.Row(position);
    const bool enable = request.verb == Verb::Enable;
    if (!enable && row.start.type == SERVICE_DISABLED)
        return Say(FormatText(LookupText(keys::AlreadyDisabled), {row.displayName}));
    if (enable && row.start.type != SERVICE_DISABLED)
        return Say(FormatText(LookupText(keys::AlreadyEnabled), {row.displayName}));
    StageService(services, row.name, enable);
    const ServicesApplyResult result = ApplyServices(services, ConsoleLockWait);
    const std::wstring text = ServicesApplyText(result);
    bool unsafe = result.lockError != ERROR_SUCCESS;
    for (const ServiceFailure& failure : result.failures)
        unsafe = unsafe || failure.reason != ServiceFailure::SystemError;
    if (unsafe)
        return Complain(text, ExitNotSafe);
    if (!result.failures.empty() || result.storeError != ERROR_SUCCESS)
        return Complain(text, ExitFailed);
    return Say(text);
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
        return Complain(parsed.error + L"\r\n\r\n" + UsageText(names), ExitBadUsage);
    const ConsoleRequest& request = parsed.request;
    if (request.verb == Verb::Help)
    {
        platform::WriteStandardOutput(UsageText(names));
        return ExitDone;
    }
    MainState state;
    FillStartupList(state);
    switch (request.verb)
    {
    case Verb::List:
        return request.services ? ServicesListVerb(state, request.json) : ListVerb(state, request.json);
    case Verb::Compare:
        return CompareVerb(state, request.value, request.json);
    case Verb::Disable:
    case Verb::Enable:
    case Verb::Remove:
        return NamesServices(request.from) ? ServiceChangeVerb(state, request) : ChangeVerb(state, request);
    case Verb::Add:
        return AddVerb(state, request);
    case Verb::Save:
        return SaveVerb(state, request.value);
    case Verb::Load:
        return LoadVerb(state, request.value);
    case Verb::None:
    case Verb::Help:
        break;
    }
    return ExitBadUsage;
}
