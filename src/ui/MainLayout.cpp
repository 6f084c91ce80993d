// The main window's layout: its controls, where they stand as the window grows, its fonts, and
// the first list's layout before the window shows.
#include "ui/frmMain.h"
#include "find/DisplayList.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "ui/Captions.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

#include <commctrl.h>

namespace
{

// Design of the window at 96 DPI: a control keeps its distance to the sides it is anchored to.
constexpr int DesignWidth = 780, DesignHeight = 462;
constexpr ControlPlacement Placements[] = {
    {IDC_LBLHEADING, 10, 10, 220, 18, Left | Top},
    {IDC_LBLNOTE, 250, 10, 520, 18, Right | Top},
    {IDC_TXTFILTER, 10, 32, 240, 22, Left | Top},
    {IDC_TABVIEWS, 10, 60, 760, 24, Left | Top | Right},
    {IDC_LISTSTARTUP, 10, 84, 760, 268, Left | Top | Right | Bottom},
    {IDC_LISTSERVICES, 10, 84, 760, 268, Left | Top | Right | Bottom},
    {IDC_LISTTASKS, 10, 84, 760, 268, Left | Top | Right | Bottom},
    {IDC_CHKALLTASKS, 262, 33, 300, 20, Left | Top},
    {IDC_CMDDISABLE, 10, 362, 100, 26, Left | Bottom},
    {IDC_CMDREMOVE, 116, 362, 100, 26, Left | Bottom},
    {IDC_CMDRESET, 222, 362, 100, 26, Left | Bottom},
    {IDC_CMDADDTASK, 328, 362, 100, 26, Left | Bottom},
    {IDC_LBLLANGUAGE, 10, 405, 110, 18, Left | Bottom},
    {IDC_COMBOLANG, 124, 400, 180, 200, Left | Bottom},
    {IDC_CHKHIDEWINDOWS, 330, 403, 210, 20, Left | Bottom},
    {IDC_CHKHIDEVERIFIED, 550, 403, 220, 20, Left | Bottom},
    {IDC_STATUSBAR, 0, 440, 780, 22, Left | Right | Bottom},
};

// The heading, the note and the filter; then the first view's list and the tab strip; then the
// controls below the list. Made in this order, which is their tab order, all before the window
// shows, so that its first paint is complete.
constexpr ControlDesign UpperControls[] = {
    {IDC_LBLHEADING, WC_STATICW, keys::ProgramsLabel.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX},
    {IDC_LBLNOTE, WC_STATICW, keys::NoteLabel.text, WS_VISIBLE | SS_RIGHT | SS_NOPREFIX},
    {IDC_TXTFILTER, WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
};
constexpr ControlDesign TabStrip{IDC_TABVIEWS, WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | TCS_TABS};
constexpr ControlDesign LowerControls[] = {
    {IDC_CMDDISABLE, WC_BUTTONW, keys::DisableButton.text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDREMOVE, WC_BUTTONW, keys::RemoveButton.text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDRESET, WC_BUTTONW, keys::ResetButton.text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDADDTASK, WC_BUTTONW, keys::AddTaskButton.text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_LBLLANGUAGE, WC_STATICW, keys::LanguageLabel.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX},
    {IDC_COMBOLANG, WC_COMBOBOXW, L"",
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS},
    {IDC_CHKHIDEWINDOWS, WC_BUTTONW, keys::HideWindowsEntries.text,
     WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_CHKHIDEVERIFIED, WC_BUTTONW, keys::HideVerifiedEntries.text,
     WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_STATUSBAR, STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP},
};

} // namespace

void frmMain::CreateControls()
{
    for (const ControlDesign& design : UpperControls)
        MakeControl(design);
    views_.front()->CreateControls();
    // A tab for each view, in the order of the kinds.
    HWND tabs = MakeControl(TabStrip);
    for (const std::unique_ptr<EntryView>& view : views_)
    {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(view->Title().text);
        TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &item);
    }
    for (const ControlDesign& design : LowerControls)
        MakeControl(design);
    // Made in their places: the first layout has nothing to move.
    RECT client;
    GetClientRect(hwnd_, &client);
    laidOut_ = {client.right, client.bottom};
    ACCEL keysOfList[] = {{FCONTROL | FVIRTKEY, 'F', IDM_FIND}, {FCONTROL | FVIRTKEY, VK_TAB, IDM_NEXTVIEW}};
    accelerators_.reset(CreateAcceleratorTableW(keysOfList, static_cast<int>(std::size(keysOfList))));
}

HWND frmMain::MakeControl(const ControlDesign& design, int after)
{
    HWND control = ::MakeControl(hwnd_, design, {Placements, {DesignWidth, DesignHeight}});
    if (!control)
        return control;
    controls_.emplace_back(design.id, control);
    if (after)
        SetWindowPos(control, Control(after), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

HWND frmMain::Control(int id) const
{
    if (!hwnd_) // gone, and its controls with it
        return nullptr;
    for (const auto& [made, control] : controls_)
        if (made == id)
            return control;
    return nullptr;
}

void frmMain::FitInControls(std::initializer_list<HWND> controls)
{
    for (HWND control : controls)
    {
        if (skin_.Loaded())
        {
            skin_.ApplyToControl(control);
            continue;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), IsWindowVisible(control));
        platform::SetFontOnChildren(control, font_.get());
    }
}

void frmMain::ApplyStandardFont()
{
    font_.reset(platform::CreateMessageFont(GetDpiForWindow(hwnd_)));
    platform::SetFontOnChildren(hwnd_, font_.get());
}

void frmMain::Layout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != laidOut_.cx || client.bottom != laidOut_.cy)
        PlaceControls(hwnd_, {Placements, {DesignWidth, DesignHeight}});
    laidOut_ = {client.right, client.bottom};
    const UINT dpi = GetDpiForWindow(hwnd_);
    // The status bar: messages on the left, the count of shown rows on the right.
    int parts[2] = {ScaleForDpi(UnscaleForDpi(client.right, dpi) - 280, dpi), -1};
    SendMessageW(Control(IDC_STATUSBAR), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void frmMain::SetMinimumSize(MINMAXINFO* info)
{
    const UINT dpi = GetDpiForWindow(hwnd_);
    info->ptMinTrackSize = {ScaleForDpi(480, dpi), ScaleForDpi(300, dpi)};
}

void frmMain::FollowDpi(const RECT* suggested)
{
    ApplyStandardFont();
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The list works out its item metrics and scroll bars on its first paint. One paint into a
// one-pixel bitmap while the window is hidden does that work before the window shows, so the
// first paint on the screen only draws.
void frmMain::LayOutListWhileHidden()
{
    HWND list = Control(IDC_LISTSTARTUP);
    const platform::WindowDc screen(list);
    if (!screen.get())
        return;
    const platform::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    // Declared after the memory DC, so that it is deselected before that DC goes.
    const platform::UniqueGdi<HBITMAP> pixel(CreateCompatibleBitmap(screen.get(), 1, 1));
    if (!memory || !pixel)
        return;
    const platform::SelectedObject selected(memory.get(), pixel.get());
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
}
