// The startup entries' contract over the fill, the staging commands, the store and the apply engine.
#include "kinds/StartupKind.h"
#include "inventory/LogonRecords.h"
#include "kinds/KindTable.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyMenu.h"
#include "find/FileFacts.h"
#include "find/FileTrust.h"
#include "i18n/DelayKeys.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/ResetAll.h"
#include "staging/StagingCommands.h"
#include "staging/StartupFill.h"

#include <array>
#include <functional>

namespace
{

// The source a PLACE names: its short name, its identifier or its Load From text in this
// language, in any case.
int PlaceNamed(std::wstring_view place, const SourceNameTable& names)
{
    const std::wstring_view wanted = platform::Trim(place);
    for (size_t i = 0; i < SourceCount; ++i)
        if (platform::EqualsNoCase(wanted, StartupSources[i].shortName) ||
            platform::EqualsNoCase(wanted, StartupSources[i].id) ||
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

VerbAnswer Told(std::wstring text, int code = ExitDone)
{
    return code == ExitDone ? VerbAnswer{code, std::move(text), {}} : VerbAnswer{code, {}, std::move(text)};
}

// The place /from names; none, and the complaint, when it names none.
std::optional<int> ChosenPlace(const std::wstring& place, const SourceNameTable& names, VerbAnswer& complaint)
{
    const int index = PlaceNamed(place, names);
    if (index >= 0)
        return index;
    complaint = Told(FormatText(LookupText(keys::UnknownPlace), {place}) + L"\r\n" +
                         LookupText(keys::PlacesHeading) + L"\r\n" + AllPlaceLines(names),
                     ExitBadUsage);
    return std::nullopt;
}

} // namespace

void StartupKind::Fill()
{
    state_.List.Clear();
    FillStartupList(state_);
    filled_ = true;
}

bool StartupKind::Staged() const
{
    return StartupChangesStaged(state_);
}

void StartupKind::Reset()
{
    ResetStaged(state_);
}

ApplyResult StartupKind::Apply(DWORD lockWait)
{
    return ApplyNow(state_, lockWait);
}

DWORD StartupKind::SaveBeforeSessionEnds()
{
    return SaveStoreOnceMore(state_);
}

std::vector<FileRecord> StartupKind::ProfileRecords()
{
    if (!filled_)
        Fill();
    std::vector<FileRecord> records;
    records.reserve(static_cast<size_t>(state_.List.Count()));
    for (int row = 1; row <= state_.List.Count(); ++row)
        records.push_back(ToFileRecord(state_.List.Row(row)));
    return records;
}

void StartupKind::LoadProfileRecords(const std::vector<FileRecord>& records)
{
    state_.List.Clear();
    FileWords words;
    for (const FileRecord& record : records)
        state_.List.Append(FromFileRecord(record, words));
    if (state_.List.Count() >= 1)
        state_.List.Select(1);
}

std::vector<ExportRow> StartupKind::ShownRows(bool withFileFacts, bool verify) const
{
    FileFactsTable facts;
    if (withFileFacts)
    {
        for (const std::wstring& location : facts.TakeUnasked(state_.List))
            facts.Store(location, ResolveFileFacts(location));
        JudgeFiles(facts, verify);
        facts.StoreImpact(ReadLogonImpact());
    }
    const ListWords words = LoadListWords();
    DisplayList display;
    display.Update(state_.List, words, facts);
    return ExportRows(state_.List, words, facts, display);
}

VerbAnswer StartupKind::ListVerb(bool json, bool, bool verify)
{
    const std::vector<ExportRow> rows = ShownRows(true, verify);
    return {ExitDone, json ? ToJson(rows) : ToCsv(rows), {}};
}

std::optional<VerbAnswer> StartupKind::StoreUnsafe() const
{
    if (state_.Store.ReadWhole())
        return std::nullopt;
    return Told(StoreProblemText(state_) + L" " + LookupText(keys::StoreNotSafe), ExitNotSafe);
}

std::optional<VerbAnswer> StartupKind::FindOne(const std::wstring& name,
                                               const std::optional<std::wstring>& from, int& row)
{
    if (std::optional<VerbAnswer> unsafe = StoreUnsafe())
        return *unsafe;
    SourceNameTable names;
    LoadSourceNames(names);
    VerbAnswer complaint;
    std::optional<int> place;
    if (from && !(place = ChosenPlace(*from, names, complaint)))
        return complaint;
    StartupList& list = state_.List;
    const std::vector<int> rows = RowsNamed(list, name, place.value_or(-1));
    if (rows.empty())
        return Told(
            place ? FormatText(LookupText(keys::NoSuchEntryIn), {name, names[static_cast<size_t>(*place)]})
                  : FormatText(LookupText(keys::NoSuchEntry), {name}),
            ExitNoEntry);
    if (rows.size() > 1)
    {
        const ListWords words = LoadListWords();
        std::wstring text = FormatText(LookupText(keys::SeveralPlaces), {name});
        for (int row : rows)
            text += L"\r\n  " + RowText(list.Row(row), LoadFrom, words) + L": " +
                    RowText(list.Row(row), TaskName, words) + L" = " + list.Row(row).location;
        return Told(text, ExitNoEntry);
    }
    row = rows.front();
    list.Select(row);
    return std::nullopt;
}

VerbAnswer StartupKind::ChangeVerb(const std::wstring& name, const std::optional<std::wstring>& from,
                                   ::ChangeVerb verb, bool force)
{
    int row = 0;
    if (std::optional<VerbAnswer> none = FindOne(name, from, row))
        return *none;
    StartupList& list = state_.List;
    const EntryState status = list.State(row);
    const std::wstring shown(platform::Trim(list.Row(row).name));
    if (verb == ChangeVerb::Disable && status != EntryState::Enabled)
        return Told(FormatText(LookupText(keys::AlreadyDisabled), {shown}));
    if (verb == ChangeVerb::Enable && status == EntryState::Enabled)
        return Told(FormatText(LookupText(keys::AlreadyEnabled), {shown}));
    // An entry of a program since uninstalled would start nothing but an error at the next logon.
    FileFactsTable facts;
    if (verb == ChangeVerb::Enable && !force && EnablesMissingProgram(state_, facts))
        return Told(FormatText(LookupText(keys::ProgramGoneNotEnabled), {shown, list.Row(row).location}),
                    ExitNotSafe);
    if (verb == ChangeVerb::Remove)
        MarkForRemoval(state_);
    else
        ToggleDisable(state_);
    return AnswerOf(Apply(ConsoleLockWait));
}

VerbAnswer StartupKind::DelayVerb(const std::wstring& name, const std::optional<std::wstring>& from,
                                  std::optional<int> seconds, bool undelay)
{
    int row = 0;
    if (std::optional<VerbAnswer> none = FindOne(name, from, row))
        return *none;
    const StartupEntry& entry = state_.List.Row(row);
    const std::wstring shown(platform::Trim(entry.name));
    const bool delayed = entry.state == EntryState::Delayed;
    if (undelay)
    {
        if (!delayed)
            return Told(FormatText(LookupText(keys::NotDelayed), {shown}));
        ToggleDisable(state_);
        return AnswerOf(Apply(ConsoleLockWait));
    }
    const int wanted = seconds.value_or(delayed ? entry.delaySeconds : DefaultDelaySeconds);
    if (delayed && wanted == entry.delaySeconds)
        return Told(FormatText(LookupText(keys::AlreadyDelayed), {shown, platform::ToDecimal(wanted)}));
    FileFactsTable facts;
    if (const DelayRefusal refusal = DelaySelected(state_, wanted, facts); refusal != DelayRefusal::None)
        return Told(DelayRefusalText(refusal, state_.List.Row(row)), ExitNotSafe);
    return AnswerOf(Apply(ConsoleLockWait));
}

VerbAnswer StartupKind::AddVerb(const std::wstring& name, const std::wstring& from,
                                const std::wstring& command)
{
    if (std::optional<VerbAnswer> unsafe = StoreUnsafe())
        return *unsafe;
    SourceNameTable names;
    LoadSourceNames(names);
    VerbAnswer complaint;
    const std::optional<int> place = ChosenPlace(from, names, complaint);
    if (!place)
        return complaint;
    const StartupSource& source = StartupSources[static_cast<size_t>(*place)];
    const std::wstring& loadFrom = names[static_cast<size_t>(*place)];
    if (!source.addTask)
        return Told(FormatText(LookupText(keys::PlaceNotForAdd), {loadFrom}), ExitBadUsage);
    // As the dialog does: a win.ini line is named after its place.
    const std::wstring entry = source.kind == SourceKind::WinIni ? std::wstring(source.id) : name;
    // Adding over an entry of that name would replace it in its place, with no copy kept.
    for (int row = 1; row <= state_.List.Count(); ++row)
        if (state_.List.Row(row).source == *place && platform::EqualsNoCase(state_.List.Row(row).name, entry))
            return Told(FormatText(LookupText(keys::AlreadyThere), {entry, loadFrom}), ExitNotSafe);
    AppendNewTask(state_.List, entry, static_cast<size_t>(*place), command);
    return AnswerOf(Apply(ConsoleLockWait));
}
