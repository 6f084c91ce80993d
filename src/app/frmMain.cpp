// The main window. Its procedure only dispatches; the handlers are small methods that call
// into the subsystems and then show the state they leave.
#include "app/frmMain.h"
#include "app/WindowProc.h"
#include "app/resource.h"
#include "apply/ApplyMenu.h"
#include "apply/ApplyReport.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/EditHelpMenus.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAddTask.h"
#include "find/FindControls.h"
#include "find/FindTexts.h"
#include "i18n/Captions.h"
#include "i18n/Globals.h"
#include "i18n/LanguageList.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/FileDialog.h"
#include "platform/StartSteps.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/Profiles.h"
#include "staging/ResetAll.h"
#include "staging/StagingCommands.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

// Runs the selector's handler once the notification that asked for it has returned.
constexpr UINT WM_COMBOLANG_CLICK = WM_APP + 1;
// Tells of a store that could not be read once the window is on the screen.
constexpr UINT WM_STORE_PROBLEM = WM_APP + 2;
// Runs the work the first paint does not need, the look at the files last, once the start has
// painted the list.
constexpr UINT WM_AFTERFIRSTPAINT = WM_APP + 3;
// Posted by the worker thread when answers wait.
constexpr UINT WM_FILEFACTS = WM_APP + 4;

constexpr keys::KeyText StoreNotRead{L"605", L"The disabled entries in %1 could not be read completely: %2."};
constexpr keys::KeyText StoreEndsInsideEntry{L"606", L"it ends inside an entry"};
constexpr keys::KeyText StoreLeftAlone{L"607", L"The file is left as it is. Until it can be read, no entry can be "
                                               L"disabled and the file is not changed."};
// Asked after an apply with failures, before the program ends or the session does.
constexpr keys::KeyText GoOnAfterFailures[] = {
    {L"516", L"Not everything was applied. Log off all the same?"},
    {L"517", L"Not everything was applied. Restart Windows all the same?"},
    {L"518", L"Not everything was applied. Exit the program all the same?"},
};
constexpr keys::KeyText PackNotUsable{L"620", L"The language pack %1 cannot be used: %2. English texts are shown."};

// Design of the window at 96 DPI: a control keeps its distance to the sides it is anchored to.
enum Anchor : unsigned { Left = 1, Top = 2, Right = 4, Bottom = 8 };
constexpr int DesignWidth = 780, DesignHeight = 462;
struct Placement {
    int id;
    int x, y, width, height;
    unsigned anchors;
};
constexpr Placement Placements[] = {
    {IDC_LABEL1, 10, 10, 220, 18, Left | Top},
    {IDC_LBLNOTE, 250, 10, 520, 18, Right | Top},
    {IDC_TXTFILTER, 10, 32, 240, 22, Left | Top},
    {IDC_LISTVIEW1, 10, 60, 760, 292, Left | Top | Right | Bottom},
    {IDC_CMDDISABLE, 10, 362, 100, 26, Left | Bottom},
    {IDC_CMDREMOVE, 116, 362, 100, 26, Left | Bottom},
    {IDC_CMDRESET, 222, 362, 100, 26, Left | Bottom},
    {IDC_CMDADDTASK, 328, 362, 100, 26, Left | Bottom},
    {IDC_LABEL3, 10, 405, 110, 18, Left | Bottom},
    {IDC_COMBOLANG, 124, 400, 180, 200, Left | Bottom},
    {IDC_STATUSBAR, 0, 440, 780, 22, Left | Right | Bottom},
};

// Status holds "Disabled by Windows", Load From "Registry(Machine RunOnce 32-bit)".
constexpr int ColumnWidths[ShownColumnCount] = {150, 130, 220, 90, 140, 320, 150};
// Publisher stands next to Status, where it is seen without scrolling.
constexpr int ColumnOrder[ShownColumnCount] = {TaskName, Status,      PublisherColumn, LoadFrom,
                                               User,     When,        Location};

// Made hidden after the first paint, in this order, which is their tab order after the list.
struct ControlDesign {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
};
constexpr ControlDesign LowerControls[] = {
    {IDC_CMDDISABLE, WC_BUTTONW, L"&Disable", WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDREMOVE, WC_BUTTONW, L"&Remove", WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDRESET, WC_BUTTONW, L"R&eset All", WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CMDADDTASK, WC_BUTTONW, L"Add &Task", WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_LABEL3, WC_STATICW, L"Select  Language", SS_LEFT | SS_NOPREFIX},
    {IDC_COMBOLANG, WC_COMBOBOXEXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
    {IDC_STATUSBAR, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP},
};

struct MenuItemDesign {
    UINT id; // 0 starts a new top-level menu
    const wchar_t* caption;
    bool grayed;
};
constexpr MenuItemDesign Menus[] = {
    {0, L"&Edit", false},
    {IDM_AUTO, L"Autoexec.bat", false},
    {IDM_CONFIG, L"Config.sys", false},
    {IDM_REGISTRY, L"Registry", false},
    {IDM_OPENLOCATION, keys::OpenLocation.text, false},
    {IDM_PROPERTIES, keys::Properties.text, false},
    {0, L"&Profile", false},
    {IDM_SAVEPROF, L"&Save to profile", false},
    {IDM_LOADPROF, L"&Load from profile", false},
    {0, L"&Apply", false},
    {IDM_APP_REST, L"Apply and &Restart Windows", false},
    {IDM_APP_LOG, L"Apply and &LogOff", false},
    {IDM_APP_EXIT, L"Apply and& Exit Program", false},
    {IDM_APP_JUST, L"&Just Apply", false},
    {0, L"&Help", false},
    {IDM_HELPINDEX, L"Help &Index", false},
    {IDM_UPDATE, L"&Update Ravelin", true},
    {IDM_VISIT, L"&Visit brightfold.example", true},
    {IDM_ABOUT, L"&About", false},
};

int Scale(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), 96);
}

} // namespace

frmMain::~frmMain()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool frmMain::Create(HINSTANCE instance)
{
    instance_ = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ClassWindowProc<frmMain>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_RAVELIN));
    wc.lpszClassName = platform::names::MainWindowClass;
    RegisterClassExW(&wc);

    CreateWindowExW(0, platform::names::MainWindowClass, platform::names::AppTitle,
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    if (!Form_Load()) {
        DestroyWindow(hwnd_);
        return false;
    }
    return true;
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateListControls();
        CreateMenus();
        ShowFindTexts();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        UINT dpi = GetDpiForWindow(hwnd_);
        info->ptMinTrackSize = {Scale(480, dpi), Scale(300, dpi)};
        return 0;
    }
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyStandardFont();
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_TIMER:
        if (wParam == IDT_NOTE) Timer1_Timer();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_COMBOLANG) OnComboLangCommand(HIWORD(wParam));
        else if (LOWORD(wParam) == IDC_TXTFILTER) {
            if (HIWORD(wParam) == EN_CHANGE) txtFilter_Change();
        } else OnCommand(LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != Control(IDC_LISTVIEW1)) break;
        ShowListContextMenu(lParam);
        return 0;
    case WM_INITMENUPOPUP:
        EnableJumpItems(reinterpret_cast<HMENU>(wParam), SelectedRowJumps());
        return 0;
    case WM_FILEFACTS:
        TakeFileFacts();
        return 0;
    case WM_COMBOLANG_CLICK:
        comboClickPending_ = false;
        ComboLang_Click();
        return 0;
    case WM_STORE_PROBLEM:
        ReportStoreProblem();
        return 0;
    case WM_AFTERFIRSTPAINT:
        AfterFirstPaint();
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        factsWorker_.reset();
        KillTimer(hwnd_, IDT_NOTE);
        Form_Unload();
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND frmMain::MakeControl(DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int id)
{
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

void frmMain::CreateListControls()
{
    MakeControl(0, WC_STATICW, L"StartUp Programs", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, IDC_LABEL1);
    MakeControl(0, WC_STATICW, L"Note: no action comes into effect unless you choose an item from the apply menu",
                WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, IDC_LBLNOTE);
    MakeControl(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, IDC_TXTFILTER);
    HWND list = MakeControl(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                            IDC_LISTVIEW1);
    // Double buffering, which only spares later repaints a flicker, starts after the first paint.
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    UINT dpi = GetDpiForWindow(hwnd_);
    for (int c = 0; c < ShownColumnCount; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(keys::ColumnHeaders[c].text);
        column.cx = Scale(ColumnWidths[c], dpi);
        column.iSubItem = c;
        ListView_InsertColumn(list, c, &column);
    }
    ListView_SetColumnOrderArray(list, ShownColumnCount, const_cast<int*>(ColumnOrder));
    ACCEL find{FCONTROL | FVIRTKEY, 'F', IDM_FIND};
    accelerators_.reset(CreateAcceleratorTableW(&find, 1));
}

void frmMain::CreateLowerControls()
{
    for (const ControlDesign& design : LowerControls) {
        HWND control = MakeControl(0, design.cls, design.text, design.style, design.id);
        if (Skin1.Loaded()) {
            Skin1.ApplyToControl(control);
        } else {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
            platform::SetFontOnChildren(control, font_.get());
        }
    }
    if (LanguagePacksFound) ApplyControlCaptions(hwnd_);
    ShowButtons();
    Layout();
    ShowRowCount();
}

void frmMain::CreateMenus()
{
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    for (const MenuItemDesign& item : Menus) {
        if (item.id == 0) {
            popup = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), item.caption);
        } else {
            AppendMenuW(popup, MF_STRING | (item.grayed ? MF_GRAYED : 0), item.id, item.caption);
        }
    }
    SetMenu(hwnd_, bar);
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
    UINT dpi = GetDpiForWindow(hwnd_);
    // Growth of the client area over the design, in design units.
    int dx = MulDiv(client.right, 96, static_cast<int>(dpi)) - DesignWidth;
    int dy = MulDiv(client.bottom, 96, static_cast<int>(dpi)) - DesignHeight;
    HDWP defer = BeginDeferWindowPos(static_cast<int>(std::size(Placements)));
    for (const Placement& p : Placements) {
        int x = p.x, y = p.y, w = p.width, h = p.height;
        if (p.anchors & Right) {
            if (p.anchors & Left) w += dx;
            else x += dx;
        }
        if (p.anchors & Bottom) {
            if (p.anchors & Top) h += dy;
            else y += dy;
        }
        // Controls made after the first paint are placed when they are made.
        HWND control = GetDlgItem(hwnd_, p.id);
        if (defer && control)
            defer = DeferWindowPos(defer, control, nullptr, Scale(x, dpi), Scale(y, dpi),
                                   Scale(w < 0 ? 0 : w, dpi), Scale(h < 0 ? 0 : h, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer) EndDeferWindowPos(defer);
    // The status bar: messages on the left, the count of shown rows on the right.
    int parts[2] = {Scale(DesignWidth + dx - 170, dpi), -1};
    SendMessageW(Control(IDC_STATUSBAR), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

bool frmMain::Form_Load()
{
    namespace steps = platform::startsteps;
    steps::Mark(L"main window and list");
    // The skin comes first; a missing or broken skin leaves the standard look.
    SkinOrStandardFont(Skin1, hwnd_, font_);
    steps::Mark(L"skin");

    instanceGuard_ = std::make_unique<platform::SingleInstance>();
    if (instanceGuard_->AnotherIsRunning()) {
        secondInstance_ = true;
        return false;
    }

    LoadStoredLanguage();
    LanguagePacksFound = false;
    steps::Mark(L"instance check and language setting");
    // Whether captions apply depends on the packs and flags read; the selector shows them
    // after the first paint.
    languagePacks_ = ReadLanguageList(ImageList1, GetDpiForWindow(hwnd_), hwnd_);
    if (LanguagePacksFound && !UsablePackChosen()) LanguagePacksFound = false;
    steps::Mark(L"language packs and flags");

    state_.DisableCaption = SetCaptionfromINI(L"423");
    state_.EnableCaption = SetCaptionfromINI(L"413");
    // Without a pack both lookups are empty; the button still needs words.
    if (state_.DisableCaption.empty()) state_.DisableCaption = L"&Disable";
    if (state_.EnableCaption.empty()) state_.EnableCaption = L"&Enable";
    // The About box takes its captions when it is made, after the first paint.
    if (LanguagePacksFound) ApplyMainWindowCaptions(hwnd_, state_);
    steps::Mark(L"captions");

    FillStartupList();
    steps::Mark(L"list fill");
    // The rest of the start comes first, so that a word about the store shows over the whole window.
    PostMessageW(hwnd_, WM_AFTERFIRSTPAINT, 0, 0);
    PostMessageW(hwnd_, WM_STORE_PROBLEM, 0, 0);
    SetTimer(hwnd_, IDT_NOTE, 500, nullptr);
    Layout();
    steps::Mark(L"timer and layout");
    LayOutListWhileHidden();
    steps::Mark(L"list scroll bars while hidden");
    return true;
}

// The list works out its item metrics and scroll bars on its first paint. One paint into a
// one-pixel bitmap while the window is hidden does that work before the window shows, so the
// first paint on the screen only draws.
void frmMain::LayOutListWhileHidden()
{
    HWND list = Control(IDC_LISTVIEW1);
    HDC screen = GetDC(list);
    if (!screen) return;
    HDC memory = CreateCompatibleDC(screen);
    platform::UniqueGdi<HBITMAP> pixel(CreateCompatibleBitmap(screen, 1, 1));
    if (memory && pixel) {
        HGDIOBJ old = SelectObject(memory, pixel.get());
        SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(list, screen);
}

void frmMain::AfterFirstPaint()
{
    namespace steps = platform::startsteps;
    ListView_SetExtendedListViewStyleEx(Control(IDC_LISTVIEW1), LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
    // Made hidden and shown complete, so that each paints once, with its final look.
    CreateLowerControls();
    steps::Mark(L"buttons, selector and status bar");
    ShowLanguageList(Control(IDC_COMBOLANG), languagePacks_, ImageList1.get(), hwnd_);
    steps::Mark(L"selector entries and flags");
    for (const ControlDesign& design : LowerControls) ShowWindow(Control(design.id), SW_SHOWNA);
    steps::Mark(L"showing them");
    // As the captions step does: hidden, so that it shows the pack when the user opens it.
    if (LanguagePacksFound) frmAbout::Load(hwnd_);
    steps::Mark(L"hidden About box");
    StartFileFacts();
    steps::Mark(L"file facts asked");
}

void frmMain::Form_Unload()
{
    // A second instance stores nothing; the first one's choice stays.
    if (!secondInstance_) platform::SaveLanguageSetting(LanguageFile);
    PostQuitMessage(0);
}

void frmMain::FillStartupList()
{
    ::FillStartupList(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::Timer1_Timer()
{
    NoteShown = !NoteShown;
    ShowWindow(Control(IDC_LBLNOTE), NoteShown ? SW_SHOW : SW_HIDE);
}

void frmMain::cmdDisable_Click()
{
    ::cmdDisable_Click(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::cmdRemove_Click()
{
    ::cmdRemove_Click(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::ListView1_ItemClick()
{
    SyncButtonsToSelection(state_);
    ShowButtons();
    for (int id : {IDC_CMDDISABLE, IDC_CMDREMOVE, IDC_CMDRESET, IDC_CMDADDTASK}) InvalidateRect(Control(id), nullptr, TRUE);
}

void frmMain::cmdReset_Click()
{
    ::cmdReset_Click(state_);
    RefreshList();
    ReportStoreProblem();
}

void frmMain::ReportStoreProblem()
{
    // Once for as long as the store stays unreadable; again if it fails anew after a good read.
    if (state_.StoreReadWhole()) {
        storeProblemShown_ = false;
        return;
    }
    if (storeProblemShown_) return;
    storeProblemShown_ = true;
    const std::wstring reason = state_.StoreProblem.error != ERROR_SUCCESS ? ErrorReasonText(state_.StoreProblem.error)
                                                                           : LookupText(StoreEndsInsideEntry);
    const std::wstring text =
        FormatText(LookupText(StoreNotRead), {StorePath(), reason}) + L"\r\n\r\n" + LookupText(StoreLeftAlone);
    MessageBoxW(hwnd_, text.c_str(), platform::names::AppTitle, MB_OK | MB_ICONWARNING);
}

void frmMain::mnuSaveProf_Click()
{
    platform::FileDialogResult chosen = platform::ShowFileDialog(hwnd_, true, ProfileFilter(), state_.ProfileFileName);
    // A cancelled dialog gives back the name chosen last, which is used again.
    if (chosen.chosen) state_.ProfileFileName = ProfileNameWithExtension(chosen.fileName, chosen.filterIndex);
    const std::wstring& name = state_.ProfileFileName;
    if (name.empty()) return;
    if (platform::FileExists(name) &&
        MessageBoxW(hwnd_, FormatText(LookupText(keys::ProfileExists), {name}).c_str(), platform::names::AppTitle,
                    MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    if (DWORD error = SaveProfile(state_.List, name))
        MessageBoxW(hwnd_, FormatText(LookupText(keys::ProfileNotSaved), {name, platform::SystemErrorText(error)}).c_str(),
                    platform::names::AppTitle, MB_OK | MB_ICONERROR);
}

void frmMain::mnuLoadProf_Click()
{
    platform::FileDialogResult chosen = platform::ShowFileDialog(hwnd_, false, ProfileFilter(), state_.ProfileFileName);
    if (chosen.chosen) state_.ProfileFileName = chosen.fileName;
    const std::wstring& name = state_.ProfileFileName;
    if (name.empty()) return;
    ProfileLoad outcome = LoadProfile(state_.List, name);
    if (outcome.error) {
        MessageBoxW(hwnd_,
                    FormatText(LookupText(keys::ProfileNotOpened), {name, platform::SystemErrorText(outcome.error)}).c_str(),
                    platform::names::AppTitle, MB_OK | MB_ICONERROR);
        return;
    }
    RefreshList();
    if (outcome.incomplete)
        MessageBoxW(hwnd_, FormatText(LookupText(keys::ProfileIncomplete), {name}).c_str(), platform::names::AppTitle,
                    MB_OK | MB_ICONWARNING);
}

void frmMain::cmdAddTask_Click()
{
    // The dialog appends its row itself; the buttons follow the next row click.
    frmAddTask::Show(hwnd_, state_.List);
    RefreshList();
}

void frmMain::mnuApp_Rest_Click()
{
    ApplyThenEnd(2);
}

void frmMain::mnuApp_Log_Click()
{
    ApplyThenEnd(0);
}

void frmMain::mnuApp_Exit_Click()
{
    ApplyThenEnd(-1);
}

void frmMain::mnuApp_Just_Click()
{
    ShowApplyResult(::ApplyNow(state_));
}

void frmMain::ApplyThenEnd(int exitOption)
{
    const ApplyResult result = ::ApplyNow(state_);
    ShowApplyResult(result);
    // Nothing ends behind the user's back while something was not applied.
    if (!result.failures.empty() || result.storeError != ERROR_SUCCESS) {
        const keys::KeyText& question = GoOnAfterFailures[exitOption < 0 ? 2 : exitOption == 2 ? 1 : 0];
        const std::wstring text = ApplyResultText(result) + L"\r\n\r\n" + LookupText(question);
        if (MessageBoxW(hwnd_, text.c_str(), platform::names::AppTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) !=
            IDYES)
            return;
    }
    // The close step: the language is stored and the program ends.
    if (exitOption < 0) DestroyWindow(hwnd_);
    else if (DWORD error = EndSessionAfterApply(state_, exitOption)) {
        ApplyResult stored = result;
        stored.storeError = error;
        ShowApplyResult(stored);
    }
}

void frmMain::ShowApplyResult(const ApplyResult& result)
{
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>(ApplyResultText(result).c_str()));
    RefreshList();
    ShowButtons();
}

void frmMain::ApplyCaptions()
{
    ::ApplyCaptions(hwnd_, state_);
    ShowFindTexts();
}

void frmMain::ComboLang_Click()
{
    HWND combo = Control(IDC_COMBOLANG);
    const std::wstring picked = SelectedLanguage(combo) + L".ini";
    const std::wstring problem = PackProblem(picked);
    if (!problem.empty())
        MessageBoxW(hwnd_, FormatText(LookupText(PackNotUsable), {picked, problem}).c_str(), platform::names::AppTitle,
                    MB_OK | MB_ICONWARNING);
    if (!problem.empty() || MessageBoxW(hwnd_, L"This will reset the startup list,continue?!", platform::names::AppTitle,
                                        MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SelectLanguage(combo, PackDisplayName(LanguageFile));
        // Back and front again, so that the window repaints after the question.
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    if (picked != LanguageFile) {
        LanguageFile = picked;
        ApplyCaptions();
    }
    RestLang();
    for (int id : {IDC_CMDDISABLE, IDC_CMDREMOVE, IDC_CMDRESET, IDC_CMDADDTASK}) InvalidateRect(Control(id), nullptr, TRUE);
}

bool frmMain::UsablePackChosen()
{
    // A pack that cannot give its texts would leave every caption empty: English instead.
    const std::wstring problem = PackProblem(LanguageFile);
    if (problem.empty()) return true;
    MessageBoxW(hwnd_, FormatText(LookupText(PackNotUsable), {LanguageFile, problem}).c_str(), platform::names::AppTitle,
                MB_OK | MB_ICONWARNING);
    LanguageFile = platform::names::DefaultPack;
    SelectLanguage(Control(IDC_COMBOLANG), PackDisplayName(LanguageFile));
    return PackProblem(LanguageFile).empty();
}

void frmMain::RestLang()
{
    state_.List.Clear();
    FillStartupList();
    ReportStoreProblem();
}

void frmMain::mnuAbout_Click()
{
    frmAbout::Load(hwnd_).Show();
}

void frmMain::mnuAuto_Click()
{
    OpenInNotepad(hwnd_, L"autoexec.bat");
}

void frmMain::mnuConfig_Click()
{
    OpenInNotepad(hwnd_, L"CONFIG.SYS");
}

void frmMain::mnyRegistry_Click()
{
    RegistryAnswer = StartRegistryEditor(hwnd_);
}

void frmMain::mnuHelpIndex_Click()
{
    OpenHelpFile(hwnd_);
}

void frmMain::mnuUpdate_Click()
{
    StartUpdater();
}

void frmMain::mnuVisit_Click()
{
    // The item stays unavailable: there is no site to open.
}

void frmMain::OnComboLangCommand(int code)
{
    // A pick from the open list ends with SELENDOK, also when the same entry is picked again;
    // arrow keys on the closed selector only change the selection. One gesture asks once.
    HWND combo = Control(IDC_COMBOLANG);
    const bool picked =
        code == CBN_SELENDOK || (code == CBN_SELCHANGE && !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    if (!picked || comboClickPending_) return;
    comboClickPending_ = true;
    PostMessageW(hwnd_, WM_COMBOLANG_CLICK, 0, 0);
}

void frmMain::RefreshList()
{
    HWND list = Control(IDC_LISTVIEW1);
    display_.Update(state_.List, facts_);
    // A row the filter hides is not selected: the buttons would act on a row out of sight.
    if (display_.IndexOf(state_.List.Selected()) < 0) state_.List.Select(0);
    syncingSelection_ = true;
    ListView_SetItemCountEx(list, display_.Count(), LVSICF_NOSCROLL);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (int index = display_.IndexOf(state_.List.Selected()); index >= 0)
        ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(list, nullptr, FALSE);
    syncingSelection_ = false;
    ShowRowCount();
    AskFileFacts();
}

void frmMain::ShowRowCount()
{
    const std::wstring shown = platform::ToDecimal(display_.Count());
    const std::wstring text =
        FormatText(LookupText(keys::RowsShown), {shown, platform::ToDecimal(state_.List.Count())});
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

void frmMain::ListView1_ColumnClick(int column)
{
    display_.sort = NextSortOrder(display_.sort, column);
    SetSortArrow(Control(IDC_LISTVIEW1), display_.sort);
    RefreshList();
}

void frmMain::txtFilter_Change()
{
    display_.filter = WindowText(Control(IDC_TXTFILTER));
    RefreshList();
}

void frmMain::mnuFind_Click()
{
    HWND filter = Control(IDC_TXTFILTER);
    SetFocus(filter);
    Edit_SetSel(filter, 0, -1);
}

bool frmMain::TranslateAccelerators(MSG* msg)
{
    return hwnd_ && (msg->hwnd == hwnd_ || IsChild(hwnd_, msg->hwnd)) &&
           TranslateAcceleratorW(hwnd_, accelerators_.get(), msg);
}

JumpChoices frmMain::SelectedRowJumps() const
{
    const int row = state_.List.Selected();
    if (row == 0) return {};
    const FileFacts* facts = FactsOfRow(state_.List, facts_, row);
    // Facts not known yet are found when Properties is chosen.
    return {CanOpenLocation(state_.List.Row(row)), !facts || facts->state == FileFacts::State::Found};
}

void frmMain::ShowListContextMenu(LPARAM where)
{
    if (state_.List.Selected() == 0) return;
    const int command = TrackJumpMenu(hwnd_, Control(IDC_LISTVIEW1), where, SelectedRowJumps());
    if (command) OnCommand(command);
}

void frmMain::mnuOpenLocation_Click()
{
    if (int row = state_.List.Selected()) OpenLocation(hwnd_, state_.List.Row(row), Launcher);
}

void frmMain::mnuProperties_Click()
{
    if (int row = state_.List.Selected())
        ShowProgramProperties(hwnd_, state_.List.Text(row, Location), Launcher);
}

void frmMain::StartFileFacts()
{
    if (factsWorker_) return;
    HWND window = hwnd_;
    factsWorker_ = std::make_unique<FactsWorker>([window] { PostMessageW(window, WM_FILEFACTS, 0, 0); });
    AskFileFacts();
}

void frmMain::AskFileFacts()
{
    if (factsWorker_) factsWorker_->Ask(facts_.TakeUnasked(state_.List));
}

void frmMain::TakeFileFacts()
{
    if (!factsWorker_) return;
    for (auto& [commandLine, facts] : factsWorker_->TakeAnswers())
        facts_.Store(commandLine, std::move(facts));
    // A publisher can move a row when the list is sorted or filtered by it.
    if (display_.sort.column == PublisherColumn || !display_.filter.empty()) RefreshList();
    else InvalidateRect(Control(IDC_LISTVIEW1), nullptr, FALSE);
    if (facts_.Complete()) platform::startsteps::StartWorkDone();
}

void frmMain::ShowFindTexts()
{
    HMENU bar = GetMenu(hwnd_);
    SetMenuText(bar, IDM_OPENLOCATION, FALSE, LookupText(keys::OpenLocation));
    SetMenuText(bar, IDM_PROPERTIES, FALSE, LookupText(keys::Properties));
    const std::wstring publisher = LookupText(keys::ColumnHeaders[PublisherColumn]);
    SetColumnHeader(Control(IDC_LISTVIEW1), PublisherColumn, publisher);
    const std::wstring cue = LookupText(keys::FilterCue);
    SendMessageW(Control(IDC_TXTFILTER), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
    ShowRowCount();
}

void frmMain::ShowButtons()
{
    SetWindowTextW(Control(IDC_CMDDISABLE), state_.DisableButtonCaption.c_str());
    EnableWindow(Control(IDC_CMDREMOVE), state_.RemoveButtonEnabled);
}

LRESULT frmMain::OnNotify(NMHDR* header)
{
    if (header->idFrom != IDC_LISTVIEW1) return 0;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        const int row = display_.Position(info->item.iItem);
        if ((info->item.mask & LVIF_TEXT) && row >= 1 && row <= state_.List.Count() && info->item.iSubItem >= 0 &&
            info->item.iSubItem < ShownColumnCount && info->item.cchTextMax > 0) {
            const std::wstring text = CellText(state_.List, facts_, row, info->item.iSubItem);
            lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
        }
        return 0;
    }
    case LVN_COLUMNCLICK:
        ListView1_ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case NM_CUSTOMDRAW:
        return DrawMissingRows(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [this](int index) {
            const int row = display_.Position(index);
            const FileFacts* facts = row ? FactsOfRow(state_.List, facts_, row) : nullptr;
            return facts && facts->state == FileFacts::State::Missing;
        });
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (syncingSelection_ || !(change->uChanged & LVIF_STATE) ||
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) == 0)
            return 0;
        int selected = ListView_GetNextItem(header->hwndFrom, -1, LVNI_SELECTED);
        state_.List.Select(display_.Position(selected));
        if (selected >= 0) ListView1_ItemClick();
        return 0;
    }
    }
    return 0;
}

void frmMain::OnCommand(int id)
{
    switch (id) {
    case IDC_CMDDISABLE:
        cmdDisable_Click();
        break;
    case IDC_CMDREMOVE:
        cmdRemove_Click();
        break;
    case IDC_CMDADDTASK:
        cmdAddTask_Click();
        break;
    case IDC_CMDRESET:
        cmdReset_Click();
        break;
    case IDM_SAVEPROF:
        mnuSaveProf_Click();
        break;
    case IDM_LOADPROF:
        mnuLoadProf_Click();
        break;
    case IDM_APP_REST:
        mnuApp_Rest_Click();
        break;
    case IDM_APP_LOG:
        mnuApp_Log_Click();
        break;
    case IDM_APP_EXIT:
        mnuApp_Exit_Click();
        break;
    case IDM_APP_JUST:
        mnuApp_Just_Click();
        break;
    case IDM_ABOUT:
        mnuAbout_Click();
        break;
    case IDM_AUTO:
        mnuAuto_Click();
        break;
    case IDM_CONFIG:
        mnuConfig_Click();
        break;
    case IDM_REGISTRY:
        mnyRegistry_Click();
        break;
    case IDM_OPENLOCATION:
        mnuOpenLocation_Click();
        break;
    case IDM_PROPERTIES:
        mnuProperties_Click();
        break;
    case IDM_FIND:
        mnuFind_Click();
        break;
    case IDM_HELPINDEX:
        mnuHelpIndex_Click();
        break;
    case IDM_UPDATE:
        mnuUpdate_Click();
        break;
    case IDM_VISIT:
        mnuVisit_Click();
        break;
    }
}
