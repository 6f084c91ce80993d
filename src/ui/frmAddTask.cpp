// The Add Task dialog window and its own modal loop. The dialog object lives on the stack of
// Show, so nothing of one opening survives into the next.
#include "ui/frmAddTask.h"
#include "staging/StagingCommands.h"
#include "ui/WindowProc.h"
#include "model/StartupSource.h"
#include "ui/resource.h"
#include "ui/Messages.h"
#include "ui/WindowLayout.h"
#include "platform/FileDialog.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Names.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace
{

frmAddTask* current = nullptr;

constexpr int ClientWidth = 374, ClientHeight = 148;
// Three labelled rows, Browse right of the location, Add and Cancel below.
constexpr ControlPlacement Placements[] = {
    {IDC_ADDTASK_LBLNAME, 10, 14, 88, 18},     {IDC_ADDTASK_TXTNAME, 104, 10, 260, 23},
    {IDC_ADDTASK_LBLSOURCE, 10, 46, 88, 18},   {IDC_ADDTASK_CMBSOURCE, 104, 42, 260, 200},
    {IDC_ADDTASK_LBLLOCATION, 10, 78, 88, 18}, {IDC_ADDTASK_TXTLOCATION, 104, 74, 172, 23},
    {IDC_ADDTASK_CMDBROWSE, 284, 73, 80, 25},  {IDC_ADDTASK_CMDADD, 196, 112, 80, 26},
    {IDC_ADDTASK_CMDCANCEL, 284, 112, 80, 26},
};
constexpr DWORD Label = WS_VISIBLE | SS_LEFT | SS_NOPREFIX, Field = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                Button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
// Creation order is the tab order: name, location, source, Add, Cancel, Browse.
constexpr ControlDesign Controls[] = {
    {IDC_ADDTASK_LBLNAME, WC_STATICW, L"Task Name:", Label},
    {IDC_ADDTASK_TXTNAME, WC_EDITW, L"", Field, WS_EX_CLIENTEDGE},
    {IDC_ADDTASK_LBLLOCATION, WC_STATICW, L"Location   :", Label},
    {IDC_ADDTASK_TXTLOCATION, WC_EDITW, L"", Field, WS_EX_CLIENTEDGE},
    {IDC_ADDTASK_LBLSOURCE, WC_STATICW, keys::AddInLabel.text, Label},
    // A drop-down list: only the listed sources can be chosen, never a typed one.
    {IDC_ADDTASK_CMBSOURCE, WC_COMBOBOXW, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
    {IDC_ADDTASK_CMDADD, WC_BUTTONW, keys::AddButton.text, Button},
    {IDC_ADDTASK_CMDCANCEL, WC_BUTTONW, keys::CancelButton.text, Button},
    {IDC_ADDTASK_CMDBROWSE, WC_BUTTONW, keys::BrowseButton.text, Button},
};

struct CaptionKey
{
    keys::KeyText key;
    int id; // 0: the dialog's own title
};
constexpr CaptionKey CaptionKeys[] = {
    {keys::AddTaskTitle, 0},
    {keys::TaskNameHeader, IDC_ADDTASK_LBLNAME},
    {keys::AddInLabel, IDC_ADDTASK_LBLSOURCE},
    {keys::LocationHeader, IDC_ADDTASK_LBLLOCATION},
    {keys::AddButton, IDC_ADDTASK_CMDADD},
    {keys::CancelButton, IDC_ADDTASK_CMDCANCEL},
    {keys::BrowseButton, IDC_ADDTASK_CMDBROWSE},
};

} // namespace

void frmAddTask::Show(HWND owner, StartupList& list)
{
    if (current)
        return;
    frmAddTask dialog(list);
    if (!dialog.Create(owner))
        return;
    current = &dialog;
    dialog.Form_Load();
    if (owner)
        CentreOverOwner(dialog.hwnd_, owner);
    dialog.RunModal();
    current = nullptr;
}

frmAddTask* frmAddTask::Existing()
{
    return current;
}

bool frmAddTask::Create(HWND owner)
{
    owner_ = owner;
    CreateDialogWindow(platform::names::AddTaskWindowClass, ClassWindowProc<frmAddTask>,
                       keys::AddTaskTitle.text, ClientWidth, ClientHeight, owner, this);
    return hwnd_ != nullptr;
}

LRESULT frmAddTask::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        cmdCancel_Click();
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void frmAddTask::CreateControls()
{
    for (const ControlDesign& design : Controls)
        MakeControl(hwnd_, design, {Placements, {ClientWidth, ClientHeight}});
    // A location is a path or command line, read left to right in every language; mirrored,
    // its backslashes and dots would be reordered. The field keeps its mirrored place.
    HWND location = Control(IDC_ADDTASK_TXTLOCATION);
    SetWindowLongPtrW(location, GWL_EXSTYLE, GetWindowLongPtrW(location, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
}

void frmAddTask::Form_Load()
{
    // The skin comes first; without it the controls get the system's message font.
    SkinOrStandardFont(skin_, hwnd_, font_);
    if (LanguagePacksFound)
        ApplyCaptions();

    LoadSourceNames(SourceNames);
    HWND combo = Control(IDC_ADDTASK_CMBSOURCE);
    for (size_t source = 0; source < SourceCount; ++source)
    {
        if (!StartupSources[source].addTask)
            continue;
        offered_.push_back(source);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(SourceNames[source].c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void frmAddTask::ApplyCaptions()
{
    for (const CaptionKey& caption : CaptionKeys)
        SetWindowTextW(caption.id ? Control(caption.id) : hwnd_, CaptionText(caption.key).c_str());
}

void frmAddTask::RunModal()
{
    if (owner_)
        EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    SetFocus(Control(IDC_ADDTASK_TXTNAME));
    MSG msg;
    while (hwnd_)
    {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            // The program is ending: leave the quit for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!IsDialogMessageW(hwnd_, &msg))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    Close();
}

void frmAddTask::Close()
{
    // The owner is usable again before the dialog goes, so that it takes the activation back.
    if (owner_)
        EnableWindow(owner_, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void frmAddTask::OnCommand(int id, int code)
{
    switch (id)
    {
    case IDC_ADDTASK_CMBSOURCE:
        if (code == CBN_SELCHANGE)
            cmbSource_Click();
        break;
    case IDC_ADDTASK_CMDBROWSE:
        cmdBrowse_Click();
        break;
    case IDC_ADDTASK_CMDADD:
        cmdAdd_Click();
        break;
    case IDC_ADDTASK_CMDCANCEL:
    case IDCANCEL:
        cmdCancel_Click();
        break;
    }
}

void frmAddTask::cmbSource_Click()
{
    const auto picked = static_cast<size_t>(SendMessageW(Control(IDC_ADDTASK_CMBSOURCE), CB_GETCURSEL, 0, 0));
    // win.ini entries are named by their line; the typed name is kept for another source.
    const bool winIni =
        picked < offered_.size() && StartupSources[offered_[picked]].kind == SourceKind::WinIni;
    EnableWindow(Control(IDC_ADDTASK_TXTNAME), !winIni);
}

void frmAddTask::cmdBrowse_Click()
{
    std::wstring filter;
    filter = L"Programs (*.exe)|*.exe|";
    filter += L"All Files (*.*)|*.*";
    platform::FileDialogResult chosen = platform::ShowFileDialog(hwnd_, false, filter, fileName_);
    // Cancelled, the dialog keeps the name it held, and that replaces the location all the same.
    if (chosen.chosen)
        fileName_ = chosen.fileName;
    SetWindowTextW(Control(IDC_ADDTASK_TXTLOCATION), fileName_.c_str());
}

void frmAddTask::cmdAdd_Click()
{
    HWND name = Control(IDC_ADDTASK_TXTNAME);
    const std::wstring taskName = WindowText(name);
    const std::wstring location = WindowText(Control(IDC_ADDTASK_TXTLOCATION));
    if (taskName.empty() || location.empty())
    {
        ShowText(hwnd_, MessageTexts[1], MB_OK);
    }
    else
    {
        const auto picked =
            static_cast<size_t>(SendMessageW(Control(IDC_ADDTASK_CMBSOURCE), CB_GETCURSEL, 0, 0));
        if (picked < offered_.size())
        {
            const StartupSource& source = StartupSources[offered_[picked]];
            // A win.ini line is named after its place, in every language.
            AppendNewTask(list_, source.kind == SourceKind::WinIni ? std::wstring(source.id) : taskName,
                          offered_[picked], location);
        }
    }
    Close();
}

void frmAddTask::cmdCancel_Click()
{
    Close();
}
