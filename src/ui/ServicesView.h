// The main window's services view: the tab strip that chooses between the startup programs and
// the services, the box that hides Windows' own services, and the services' owner-data list with
// its sort, filter, file facts, row menu and jumps.
#pragma once
#include "apply/ServicesApply.h"
#include "find/DisplayList.h"
#include "find/FileFacts.h"
#include "model/MainState.h"
#include "model/ServicesState.h"
#include "ui/FindControls.h"
#include "ui/JumpToEntry.h"

#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <string>
#include <vector>

// What the view asks of the main window that holds it; the window includes the view, not the
// other way round.
struct ControlDesign;

class ServicesHost
{
  public:
    virtual HWND Handle() const = 0;
    virtual HWND Control(int id) const = 0;
    virtual MainState& State() = 0;
    virtual const FileFactsTable& Facts() const = 0;
    virtual JumpLauncher& Jumps() = 0;
    virtual void RefreshList() = 0;
    virtual void ShowButtons() = 0;
    virtual void AskFileFacts() = 0;
    // A control of the window's design, made in its place.
    virtual HWND MakeControl(const ControlDesign& design) = 0;
    // Controls made after the window take its skin or font.
    virtual void FitInControls(std::initializer_list<HWND> controls) = 0;

  protected:
    ~ServicesHost() = default;
};

class ServicesView
{
  public:
    explicit ServicesView(ServicesHost& main) : main_(main) {}
    ServicesView(const ServicesView&) = delete;
    ServicesView& operator=(const ServicesView&) = delete;

    // The tab strip, on the startup programs. The box and the list are made when first needed.
    void Create();
    bool Shown() const { return shown_; }
    // Shows the services, filled when first shown, or the startup programs.
    void Show(bool services);
    ServicesState& State() { return state_; }
    // Fills the rows the first time anything needs them; true when they are filled.
    bool EnsureLoaded();
    // Rows and remembered start types read again, in the words of the current language.
    void Refill();

    // The display, the selection, the count, and the files asked about.
    void Refresh();
    void ShowRowCount();
    void SetFilter(const std::wstring& filter);
    // Command lines of the rows never asked about, which now count as asked.
    std::vector<std::wstring> TakeUnasked(FileFactsTable& facts) const;
    // New answers of the worker: shown, and rows moved when they sort, filter or hide by them.
    void FactsArrived();
    void ApplyCaptions();
    LRESULT OnNotify(NMHDR* header);

    void cmdDisable_Click();
    void cmdReset_Click();
    void chkHideWindows_Click();
    void mnuServiceAutomatic_Click();
    ServicesApplyResult mnuApply_Click();
    void mnuOpenLocation_Click();
    void mnuProperties_Click();
    JumpChoices SelectedRowJumps() const;
    void ShowRowMenu(LPARAM where);

  private:
    // The hidden box and list, once: most starts never show the services.
    void MakeListControls();
    void ColumnClick(int column);
    void SelectionChanged();
    const FileFacts* FactsOfRow(int position) const;

    ServicesHost& main_;
    ServicesState state_;
    DisplayList display_;
    bool shown_ = false;
    bool hideWindows_ = false;
    int hiddenCount_ = 0;
    bool syncingSelection_ = false;
};
