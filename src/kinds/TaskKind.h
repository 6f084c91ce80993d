// The scheduled tasks as a kind: their own Enabled flag, through the scheduler's seam.
#pragma once
#include "kinds/Kind.h"
#include "model/TaskList.h"
#include "platform/Tasks.h"

#include <memory>

class TaskKind final : public Kind
{
  public:
    // The system's scheduler, unless a test gives another.
    explicit TaskKind(std::unique_ptr<platform::Scheduler> scheduler = {});
    EntryKind Id() const override { return EntryKind::Task; }
    void Fill() override;
    bool Filled() const override { return state_.Loaded; }
    bool Staged() const override;
    void Reset() override;
    ApplyResult Apply(DWORD lockWait) override;
    std::vector<FileRecord> ProfileRecords() override;
    void LoadProfileRecords(const std::vector<FileRecord>& records) override;
    // The tasks of a logon or a boot; with all, every task.
    VerbAnswer ListVerb(bool json, bool all, bool verify) override;
    // Tasks are disabled and enabled, never removed; named by path or, when only one has it, name.
    VerbAnswer ChangeVerb(const std::wstring& name, const std::optional<std::wstring>& place,
                          ::ChangeVerb verb, bool force) override;

    TasksState& State() { return state_; }

  private:
    std::unique_ptr<platform::Scheduler> scheduler_;
    TasksState state_;
};
