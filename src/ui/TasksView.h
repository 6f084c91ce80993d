// The scheduled tasks' view: the box that shows every task, not only those of a logon or a boot,
// and the tasks' owner-data list with its sort, filter, file facts, row menu and jumps.
#pragma once
#include "kinds/TaskKind.h"
#include "ui/EntryView.h"
#include "ui/OwnerDataList.h"

class TasksView final : public EntryView, private ListRows
{
  public:
    TasksView(TaskKind& kind, ViewHost& host) : kind_(kind), host_(host) {}
    TasksState& State() { return kind_.State(); }

    Kind& Entries() const override { return kind_; }
    const keys::KeyText& Title() const override { return keys::TasksTab; }
    // The hidden box and list, once: most starts never show the tasks.
    void CreateControls() override;
    bool Show(bool shown) override;
    void Refresh() override;
    bool Owns(int controlId) const override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnCommand(int id, int code) override;
    void ApplyCaptions() override;

    ViewButtons Buttons() const override;
    void cmdDisable_Click() override;
    // The task's file in its folder under System32\Tasks.
    void mnuOpenLocation_Click() override;
    void mnuProperties_Click() override;
    JumpChoices SelectedRowJumps() const override;
    void ShowRowMenu(LPARAM where) override;

    std::vector<std::wstring> TakeUnasked(FileFactsTable& facts) override;
    void FactsArrived(const std::vector<std::wstring>& answered) override;
    void SetFilter(const std::wstring& filter) override;
    std::wstring RowCountText() const override;
    // The folders that could not be listed, on the status bar.
    void ReportProblems() override;

  private:
    int RowCount() const override;
    std::wstring CellText(int row, int column) const override;
    RowMark RowMarkOf(int row) const override;
    void RowSelected(int row) override;

    TaskKind& kind_;
    ViewHost& host_;
    OwnerDataList list_;
    std::wstring filter_;
    bool shown_ = false;
    bool all_ = false;
    int leftOut_ = 0;
    int hiddenCount_ = 0; // by the boxes
};
