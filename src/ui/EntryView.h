// A view of one kind of entry in the main window, and what a view asks of the window: the window
// holds the views and the one shown, and knows none of their insides.
#pragma once
#include "find/FileFacts.h"
#include "find/TrustDisplay.h"
#include "i18n/Keys.h"
#include "kinds/Kind.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/JumpToEntry.h"

#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <string>
#include <vector>

struct ControlDesign;

class ViewHost
{
  public:
    virtual HWND Handle() const = 0;
    virtual HWND Control(int id) const = 0;
    // A control of the window's design, made in its place; placed after the control of id after
    // in the tab order when given.
    virtual HWND MakeControl(const ControlDesign& design, int after = 0) = 0;
    // Controls made after the window take its skin or font.
    virtual void FitInControls(std::initializer_list<HWND> controls) = 0;
    virtual FileFactsTable& Facts() = 0;
    // Which entries the boxes below the list hide, in every view.
    virtual TrustHiding Hiding() const = 0;
    // Has the worker find these command lines' files.
    virtual void AskFacts(std::vector<std::wstring> commandLines) = 0;
    virtual JumpLauncher& Jumps() = 0;
    virtual const ButtonCaptions& Captions() const = 0;
    // The view's buttons or its count of rows changed.
    virtual void ViewChanged() = 0;
    // A line on the left of the status bar.
    virtual void SetStatus(const std::wstring& text) = 0;

  protected:
    ~ViewHost() = default;
};

// What the buttons below the list offer on a view.
struct ViewButtons
{
    RowButtons row;         // the Disable button's caption; whether Remove may be pressed
    bool removes = false;   // its entries can be removed
    bool addsTasks = false; // Add Task adds to it
};

class EntryView
{
  public:
    virtual ~EntryView() = default;
    // Its kind of entry below the window.
    virtual Kind& Entries() const = 0;
    // Its tab's caption; the heading over the list says it too.
    virtual const keys::KeyText& Title() const = 0;
    virtual const keys::KeyText& Heading() const { return Title(); }
    // Makes its controls, once: with the window for the view shown first, when first shown for
    // the others.
    virtual void CreateControls() = 0;
    // Shows or hides its controls: made, and its kind listed, when first shown. False when it
    // cannot be shown: its kind could not be listed.
    virtual bool Show(bool shown) = 0;
    // Its rows shown again after its kind's rows changed: the order, the selection, the count.
    virtual void Refresh() = 0;
    // Its kind listed anew, and shown.
    virtual void Fill()
    {
        Entries().Fill();
        Refresh();
    }
    // Whether the control of that id is its own: the window hands it the control's messages.
    virtual bool Owns(int controlId) const = 0;
    virtual LRESULT OnNotify(NMHDR* header) = 0;
    virtual void OnCommand(int id, int code) = 0;
    virtual void ApplyCaptions() = 0;

    virtual ViewButtons Buttons() const = 0;
    virtual void cmdDisable_Click() = 0;
    virtual void cmdRemove_Click() {}
    virtual void cmdAddTask_Click() {}
    virtual void mnuOpenLocation_Click() = 0;
    virtual void mnuProperties_Click() = 0;
    virtual JumpChoices SelectedRowJumps() const = 0;
    virtual void ShowRowMenu(LPARAM where) = 0;

    // Command lines of its rows the user needs the files of, never asked about; from now on they
    // count as asked.
    virtual std::vector<std::wstring> TakeUnasked(FileFactsTable& facts) = 0;
    // New answers of the worker: shown, and rows moved when they sort or filter by them.
    virtual void FactsArrived(const std::vector<std::wstring>& answered) = 0;
    virtual void SetFilter(const std::wstring& filter) = 0;
    // The right part of the status bar: how many rows show.
    virtual std::wstring RowCountText() const = 0;
    // Told after its kind changed below it (listed again, reset, applied, loaded from a profile):
    // what the user must hear of what it keeps.
    virtual void ReportProblems() {}
};
