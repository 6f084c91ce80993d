// The About box: name, version, purpose and legal warning of the program; starts the
// system-information tool. One exists at most; it is shown modeless.
#pragma once
#include "platform/Handles.h"
#include "platform/Skin.h"

#include <windows.h>

class frmAbout
{
    // Only the box itself makes boxes.
    struct Made
    {
        explicit Made() = default;
    };

  public:
    explicit frmAbout(Made) {}
    ~frmAbout() = default;

    // The About box, made hidden and owned by owner when there is none: with the skin, the
    // captions of the pack in use and the right-to-left rule of its language, as it is made.
    static frmAbout& Load(HWND owner);
    // The About box if one exists.
    static frmAbout* Existing();

    // Shows it modeless and brings it forward.
    void Show();
    HWND Handle() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // Sets the box's targets of the caption table from the chosen pack.
    void ApplyCaptions();
    // Closes and discards the box; the next opening creates it anew.
    void cmdOk_Click();
    void cmdSysInfo_Click();
    // Starts the system-information tool from where the machine's registry says it is, or
    // says that it is unavailable.
    void StartSysInfo();

    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

  private:
    template <class T> friend LRESULT CALLBACK ClassWindowProc(HWND, UINT, WPARAM, LPARAM);
    // Called when its window is gone: the box deletes itself then.
    static void WindowGone(frmAbout* self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner);
    void CreateControls();
    void Form_Load();
    void OnCommand(int id);

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool placed_ = false;
    platform::Skin skin_;
    platform::UniqueGdi<HFONT> font_, titleFont_;
};
