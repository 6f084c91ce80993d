// The table of the kinds of entry and the loops over them.
#include "kinds/Kinds.h"
#include "platform/Text.h"

namespace
{

std::unique_ptr<Kind> Make(EntryKind id)
{
    switch (id)
    {
    case EntryKind::Service:
        return std::make_unique<ServiceKind>();
    case EntryKind::Task:
        return std::make_unique<TaskKind>();
    case EntryKind::Startup:
        break;
    }
    return std::make_unique<StartupKind>();
}

} // namespace

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
    for (const KindDesign& design : KindTable())
        kinds_.push_back(Make(design.id));
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
        for (const KindDesign& design : KindTable())
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
    const std::span<const KindDesign> table = KindTable();
    size_t others = 0;
    while (table[others].place)
        ++others;
    std::vector<std::vector<FileRecord>> parts(table.size());
    for (const FileRecord& record : records)
    {
        size_t taker = others;
        for (size_t k = 0; k < table.size(); ++k)
            if (table[k].place && record[LoadFrom] == table[k].place)
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
