// The table of the kinds of entry and the loops over them.
#include "kinds/Kinds.h"
#include "platform/Names.h"
#include "platform/Text.h"

namespace
{

template <class T> std::unique_ptr<Kind> Make()
{
    return std::make_unique<T>();
}

const KindDesign Table[] = {
    {EntryKind::Startup, nullptr, nullptr, nullptr, &Make<StartupKind>},
    {EntryKind::Service, platform::names::ServiceLoadFrom, L"service", L"services", &Make<ServiceKind>},
    {EntryKind::Task, platform::names::TaskLoadFrom, L"task", L"tasks", &Make<TaskKind>},
};

// A place's line: its short name in a column as wide as the longest and two blanks, its
// identifier, and its Load From text where that differs.
std::wstring PlaceLine(std::wstring_view shortName, std::wstring_view id, std::wstring_view shown)
{
    constexpr size_t ShortNameColumn = 22;
    std::wstring line = L"  " + std::wstring(shortName);
    line.append(ShortNameColumn > shortName.size() ? ShortNameColumn - shortName.size() : 1, L' ');
    line += id;
    if (shown != id)
        line += L"  =  " + std::wstring(shown);
    return line + L"\r\n";
}

} // namespace

std::span<const KindDesign> KindTable()
{
    return Table;
}

std::wstring AllPlaceLines(const SourceNameTable& names)
{
    std::wstring lines;
    for (size_t i = 0; i < SourceCount; ++i)
        lines += PlaceLine(StartupSources[i].shortName, StartupSources[i].id, ScannedLoadFrom(i, names));
    for (const KindDesign& design : Table)
        if (design.place)
            lines += PlaceLine(design.shortName, design.place, design.place);
    return lines;
}

std::optional<EntryKind> KindOfListSwitch(std::wstring_view name)
{
    for (const KindDesign& design : Table)
        if (design.listSwitch && platform::EqualsNoCase(name, design.listSwitch))
            return design.id;
    return std::nullopt;
}

VerbAnswer AnswerOf(const ApplyResult& result)
{
    const std::wstring text = ApplyResultText(result);
    if (ApplyUnsafe(result))
        return {ExitNotSafe, {}, text};
    if (ApplyFailed(result))
        return {ExitFailed, {}, text};
    return {ExitDone, text, {}};
}

Kinds::Kinds()
{
    for (const KindDesign& design : Table)
        kinds_.push_back(design.make());
}

Kind& Kinds::Of(EntryKind id) const
{
    for (const std::unique_ptr<Kind>& kind : kinds_)
        if (kind->Id() == id)
            return *kind;
    return *kinds_.front();
}

StartupKind& Kinds::Startup() const
{
    return static_cast<StartupKind&>(Of(EntryKind::Startup));
}

ServiceKind& Kinds::Services() const
{
    return static_cast<ServiceKind&>(Of(EntryKind::Service));
}

TaskKind& Kinds::Tasks() const
{
    return static_cast<TaskKind&>(Of(EntryKind::Task));
}

Kind& Kinds::NamedBy(const std::optional<std::wstring>& place) const
{
    if (place)
        for (const KindDesign& design : Table)
            if (design.place && (platform::EqualsNoCase(platform::Trim(*place), design.place) ||
                                 platform::EqualsNoCase(platform::Trim(*place), design.shortName)))
                return Of(design.id);
    return Startup();
}

std::vector<FileRecord> Kinds::ProfileRecords() const
{
    std::vector<FileRecord> records;
    for (const std::unique_ptr<Kind>& kind : kinds_)
    {
        std::vector<FileRecord> own = kind->ProfileRecords();
        records.insert(records.end(), std::make_move_iterator(own.begin()),
                       std::make_move_iterator(own.end()));
    }
    return records;
}

void Kinds::LoadProfileRecords(const std::vector<FileRecord>& records) const
{
    // The startup entries take the records of no other kind's place.
    size_t others = 0;
    while (Table[others].place)
        ++others;
    std::vector<std::vector<FileRecord>> parts(std::size(Table));
    for (const FileRecord& record : records)
    {
        size_t taker = others;
        for (size_t k = 0; k < std::size(Table); ++k)
            if (Table[k].place && record[LoadFrom] == Table[k].place)
                taker = k;
        parts[taker].push_back(record);
    }
    for (size_t k = 0; k < kinds_.size(); ++k)
        kinds_[k]->LoadProfileRecords(parts[k]);
}

std::vector<ApplyResult> Kinds::ApplyStaged(DWORD lockWait) const
{
    std::vector<ApplyResult> results;
    for (const std::unique_ptr<Kind>& kind : kinds_)
        if (kind->Filled() && kind->Staged())
            results.push_back(kind->Apply(lockWait));
    if (results.empty())
        results.push_back(kinds_.front()->Apply(lockWait));
    return results;
}

void Kinds::ResetAll() const
{
    for (const std::unique_ptr<Kind>& kind : kinds_)
        if (kind->Filled())
            kind->Reset();
}

void Kinds::RefillListed() const
{
    for (const std::unique_ptr<Kind>& kind : kinds_)
        if (kind->Filled())
            kind->Fill();
}
