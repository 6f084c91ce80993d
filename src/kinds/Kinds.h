// The kinds of entry, one of each, in the order the window shows their views; and what loops over
// them: profiles, Reset All, the Apply menu, the command line's choice of kind.
#pragma once
#include "kinds/Kind.h"
#include "kinds/ServiceKind.h"
#include "kinds/StartupKind.h"
#include "kinds/TaskKind.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the table says of each kind.
struct KindDesign
{
    EntryKind id;
    // The Load From its profile records carry, which is also the PLACE that names its entries on
    // the command line; none for the startup entries, whose records carry their own places and
    // which take every record no other kind takes.
    const wchar_t* place;
    // Its place's short name for scripts, also accepted in any case; none for the startup entries,
    // whose places have their own.
    const wchar_t* shortName;
    // The switch that lists its entries: /list /services; none for the startup entries' own list.
    const wchar_t* listSwitch;
    std::unique_ptr<Kind> (*make)();
};
std::span<const KindDesign> KindTable();
// Every place, one a line, as the usage lists them: the startup entries' places, then the other
// kinds'.
std::wstring AllPlaceLines(const SourceNameTable& names);
// The kind whose list switch name is (without its slash, in any case); none when no kind's is.
std::optional<EntryKind> KindOfListSwitch(std::wstring_view name);

class Kinds
{
  public:
    Kinds();
    std::span<const std::unique_ptr<Kind>> All() const { return kinds_; }
    Kind& Of(EntryKind id) const;
    StartupKind& Startup() const;
    ServiceKind& Services() const;
    TaskKind& Tasks() const;
    // The kind whose entries a PLACE of the command line names: the startup entries' for any
    // place that is no other kind's.
    Kind& NamedBy(const std::optional<std::wstring>& place) const;

    // Every kind's profile records, in the table's order; each kind listed first when it was not.
    std::vector<FileRecord> ProfileRecords() const;
    // Each record to the kind that takes it, and each kind staged from its records.
    void LoadProfileRecords(const std::vector<FileRecord>& records) const;
    // Applies every kind listed with changes staged, in the table's order; the first kind when
    // none has any, so that an apply always says what it did.
    std::vector<ApplyResult> ApplyStaged(DWORD lockWait) const;
    // Every staged change of every kind listed thrown away.
    void ResetAll() const;
    // Every kind listed, listed anew.
    void RefillListed() const;

  private:
    std::vector<std::unique_ptr<Kind>> kinds_;
};
