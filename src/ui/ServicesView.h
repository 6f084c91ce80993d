// The services' view: the services' owner-data list with its sort, filter, file facts, row menu
// and jumps.
#pragma once
#include "kinds/ServiceKind.h"
#include "ui/EntryView.h"
#include "ui/OwnerDataList.h"

class ServicesView final : public EntryView, private ListRows
{
  public:
    ServicesView(ServiceKind& kind, ViewHost& host) : kind_(kind), host_(host) {}
    ServicesState& State() { return kind_.State(); }

    Kind& Entries() const override { return kind_; }
    const keys::KeyText& Title() const override { return keys::ServicesTab; }
    // The hidden list, once: most starts never show the services.
    void CreateControls() override;
    bool Show(bool shown) override;
    void Refresh() override;
    bool Owns(int controlId) const override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnCommand(int id, int code) override;
    void ApplyCaptions() override;

    ViewButtons Buttons() const override;
    void cmdDisable_Click() override;
    void mnuOpenLocation_Click() override;
    void mnuProperties_Click() override;
    JumpChoices SelectedRowJumps() const override;
    void ShowRowMenu(LPARAM where) override;

    std::vector<std::wstring> TakeUnasked(FileFactsTable& facts) override;
    void FactsArrived(const std::vector<std::wstring>& answered) override;
    void SetFilter(const std::wstring& filter) override;
    std::wstring RowCountText() const override;
    // Why the services could not be listed, or their start types read, on the status bar.
    void ReportProblems() override;

    void mnuServiceAutomatic_Click();

  private:
    int RowCount() const override;
    std::wstring CellText(int row, int column) const override;
    RowMark RowMarkOf(int row) const override;
    void RowSelected(int row) override;

    ServiceKind& kind_;
    ViewHost& host_;
    OwnerDataList list_;
    std::wstring filter_;
    bool shown_ = false;
    int hiddenCount_ = 0; // by the boxes
};
