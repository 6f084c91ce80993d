// The startup entries' view: their owner-data list with its sort, filter, file facts, row menu and
// jumps, the staging buttons, Add Task, and what the store could not keep.
#pragma once
#include "kinds/StartupKind.h"
#include "model/StartupSource.h"
#include "ui/EntryView.h"
#include "ui/OwnerDataList.h"

class StartupView final : public EntryView, private ListRows
{
  public:
    StartupView(StartupKind& kind, ViewHost& host) : kind_(kind), host_(host) {}
    void CreateControls() override;
    // The list read anew from the system and the store in the words of the language now, and shown.
    void Fill() override;
    StartupState& State() { return kind_.State(); }

    Kind& Entries() const override { return kind_; }
    const keys::KeyText& Title() const override { return keys::StartupTab; }
    const keys::KeyText& Heading() const override { return keys::ProgramsLabel; }
    bool Show(bool shown) override;
    void Refresh() override;
    bool Owns(int controlId) const override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnCommand(int id, int code) override;
    void ApplyCaptions() override;

    ViewButtons Buttons() const override;
    void cmdDisable_Click() override;
    // The row menu's Delay start items and Start at once.
    void mnuDelay_Click(int seconds);
    void mnuStartAtOnce_Click();
    void cmdRemove_Click() override;
    void cmdAddTask_Click() override;
    void mnuOpenLocation_Click() override;
    void mnuProperties_Click() override;
    JumpChoices SelectedRowJumps() const override;
    void ShowRowMenu(LPARAM where) override;

    std::vector<std::wstring> TakeUnasked(FileFactsTable& facts) override;
    void FactsArrived(const std::vector<std::wstring>& answered) override;
    void SetFilter(const std::wstring& filter) override;
    std::wstring RowCountText() const override;
    // Says once that the store could not be read, and once that an older build's was realigned.
    void ReportProblems() override;

  private:
    int RowCount() const override;
    std::wstring CellText(int row, int column) const override;
    RowMark RowMarkOf(int row) const override;
    void RowSelected(int row) override;
    void RowInView(int row) override;
    // Sorted, filtered or hidden by what the files say, every row needs its answer.
    bool NeedsEveryFact() const;

    StartupKind& kind_;
    ViewHost& host_;
    OwnerDataList list_;
    ListWords words_;
    int hiddenCount_ = 0; // by the boxes
    bool problemShown_ = false, realignShown_ = false;
};
