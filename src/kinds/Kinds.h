// The kinds of entry, one of each, in the order the window shows their views; and what loops over
// them: profiles, Reset All, the Apply menu, the command line's choice of kind.
#pragma once
#include "kinds/Kind.h"
#include "kinds/KindTable.h"
#include "kinds/ServiceKind.h"
#include "kinds/StartupKind.h"
#include "kinds/TaskKind.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
