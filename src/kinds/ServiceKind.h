// The services as a kind: their start types, with those this program replaced remembered.
#pragma once
#include "kinds/Kind.h"
#include "model/ServicesState.h"

class ServiceKind final : public Kind
{
  public:
    EntryKind Id() const override { return EntryKind::Service; }
    // The remembered start types, then every service; the first row selected.
    void Fill() override;
    bool Filled() const override { return state_.Loaded; }
    bool Staged() const override;
    void Reset() override;
    ApplyResult Apply(DWORD lockWait) override;
    std::vector<FileRecord> ProfileRecords() override;
    void LoadProfileRecords(const std::vector<FileRecord>& records) override;
    VerbAnswer ListVerb(bool json, bool all, bool verify) override;
    // Services are disabled and enabled, never removed.
    VerbAnswer ChangeVerb(const std::wstring& name, const std::optional<std::wstring>& place,
                          ::ChangeVerb verb, bool force) override;

    ServicesState& State() { return state_; }

  private:
    // Why the services could not be listed, when they could not.
    std::optional<VerbAnswer> NotListed() const;
    ServicesState state_;
};
