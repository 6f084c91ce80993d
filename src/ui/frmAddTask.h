// The Add Task dialog: a name, one of the sources it offers and a location become a new row at
// the end of the list. Modal, owned by the main window, made afresh at every opening.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "platform/Handles.h"
#include "platform/Skin.h"

#include <windows.h>
#include <string>
#include <vector>

class frmAddTask
{
  public:
    // Shows the dialog owned by owner and returns once it has closed; Add appends to list.
    static void Show(HWND owner, StartupList& list);
    // The dialog while it is open.
    static frmAddTask* Existing();

    HWND Handle() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // Handlers, called by the window procedure and by tests.
    void cmbSource_Click();
    void cmdBrowse_Click();
    void cmdAdd_Click();
    void cmdCancel_Click();
    void ApplyCaptions();

    frmAddTask(const frmAddTask&) = delete;
    frmAddTask& operator=(const frmAddTask&) = delete;

  private:
    explicit frmAddTask(StartupList& list) : list_(list) {}
    ~frmAddTask() = default;
    template <class T> friend LRESULT CALLBACK ClassWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner);
    void CreateControls();
    void Form_Load();
    void RunModal();
    void OnCommand(int id, int code);
    void Close();

    StartupList& list_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    SourceNameTable SourceNames;
    // The source of each item of the source box.
    std::vector<size_t> offered_;
    // What the file dialog holds between two Browses of one opening.
    std::wstring fileName_;
    platform::Skin skin_;
    platform::UniqueGdi<HFONT> font_;
};
