// The startup entries as a kind: the run keys, win.ini and the StartUp folders, with the store of
// the entries disabled.
#pragma once
#include "find/ListExport.h"
#include "kinds/Kind.h"
#include "model/StartupSource.h"
#include "model/StartupState.h"

#include <optional>
#include <string>
#include <vector>

class StartupKind final : public Kind
{
  public:
    EntryKind Id() const override { return EntryKind::Startup; }
    void Fill() override;
    bool Filled() const override { return filled_; }
    bool Staged() const override;
    void Reset() override;
    ApplyResult Apply(DWORD lockWait) override;
    DWORD SaveBeforeSessionEnds() override;
    std::vector<FileRecord> ProfileRecords() override;
    // The rows replaced by the records, the first one selected.
    void LoadProfileRecords(const std::vector<FileRecord>& records) override;
    VerbAnswer ListVerb(bool json, bool all, bool verify) override;
    VerbAnswer ChangeVerb(const std::wstring& name, const std::optional<std::wstring>& place,
                          ::ChangeVerb verb, bool force) override;

    // What the window and the verbs work on.
    StartupState& State() { return state_; }
    // A new entry of that name, in the place of that name, applied at once.
    VerbAnswer AddVerb(const std::wstring& name, const std::wstring& place, const std::wstring& command);
    // The entry delayed by seconds (the default, or the delay it has, when none), or started with
    // the logon again (undelay), applied at once; refused as the staging refuses it.
    VerbAnswer DelayVerb(const std::wstring& name, const std::optional<std::wstring>& place,
                         std::optional<int> seconds, bool undelay);
    // The rows as the list shows them, in the list's order, for scripts; with the facts of their
    // files, their signatures checked now with verify.
    std::vector<ExportRow> ShownRows(bool withFileFacts, bool verify = false) const;
    // Why a change may not be made now: the store was not read whole, and could lose what it holds.
    std::optional<VerbAnswer> StoreUnsafe() const;

  private:
    // The one row NAME stands for (of place), or the answer that says why there is none.
    std::optional<VerbAnswer> FindOne(const std::wstring& name, const std::optional<std::wstring>& from,
                                      int& row);
    StartupState state_;
    bool filled_ = false;
};
