// The main window: its creation, the start sequence and the end. The procedure only dispatches;
// the layout, the list, the commands and the language each have a file of their own.
#include "ui/frmMain.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/StartSteps.h"
#include "staging/StartupFill.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/LanguageList.h"
#include "ui/WindowLayout.h"
#include "ui/WindowProc.h"
#include "ui/resource.h"

#include <commctrl.h>

frmMain::~frmMain()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool frmMain::Create(HINSTANCE instance)
{
    const LookupBatch texts; // the whole start
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ClassWindowProc<frmMain>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_RAVELIN));
    wc.lpszClassName = platform::names::MainWindowClass;
    RegisterClassExW(&wc);

    // The menu bar comes with the window: set later, it would lay out the frame a second time.
    HMENU bar = MakeMenuBar();
    CreateWindowExW(0, platform::names::MainWindowClass, platform::names::AppTitle,
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, bar, instance, this);
    if (!hwnd_)
    {
        DestroyMenu(bar);
        return false;
    }
    if (!Form_Load())
    {
        DestroyWindow(hwnd_);
        return false;
    }
    return true;
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
        CreateListControls();
        return 0;
    case WM_SIZE:
        // Shown the first time, the window is told again the size it was laid out for.
        if (LOWORD(lParam) != laidOut_.cx || HIWORD(lParam) != laidOut_.cy)
            Layout();
        return 0;
    case WM_GETMINMAXINFO:
        SetMinimumSize(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_DPICHANGED:
        FollowDpi(reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == IDT_NOTE)
            Timer1_Timer();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_COMBOLANG)
            OnComboLangCommand(HIWORD(wParam));
        else if (LOWORD(wParam) == IDC_TXTFILTER)
        {
            if (HIWORD(wParam) == EN_CHANGE)
                txtFilter_Change();
        }
        else
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_MEASUREITEM:
        if (wParam != IDC_COMBOLANG)
            break;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
            LanguageEntryHeight(GetDpiForWindow(hwnd_));
        return TRUE;
    case WM_DRAWITEM:
        if (wParam != IDC_COMBOLANG)
            break;
        DrawLanguageEntry(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), ImageList1.get());
        return TRUE;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == Control(IDC_LISTSERVICES))
            services_.ShowRowMenu(lParam);
        else if (reinterpret_cast<HWND>(wParam) == Control(IDC_LISTVIEW1))
            ShowListContextMenu(lParam);
        else
            break;
        return 0;
    case WM_INITMENUPOPUP:
        EnableJumpItems(reinterpret_cast<HMENU>(wParam),
                        services_.Shown() ? services_.SelectedRowJumps() : SelectedRowJumps());
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
        // The last of the work the start posted: from here the window only answers the user and
        // takes in the file facts as the worker finds them.
        platform::startsteps::StartWorkDone();
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

bool frmMain::Form_Load()
{
    namespace steps = platform::startsteps;
    steps::Mark(L"main window and list");
    // The skin comes first; a missing or broken skin leaves the standard look.
    SkinOrStandardFont(Skin1, hwnd_, font_);
    // The status bar gets its parts before any text goes into them.
    Layout();
    steps::Mark(L"skin and layout");

    instanceGuard_ = std::make_unique<platform::SingleInstance>();
    if (instanceGuard_->AnotherIsRunning())
    {
        secondInstance_ = true;
        return false;
    }

    LoadStoredLanguage();
    LanguagePacksFound = false;
    steps::Mark(L"instance check and language setting");
    // Whether captions apply depends on the packs and flags read; the selector shows them
    // after the first paint.
    languagePacks_ = ReadLanguageList(ImageList1, GetDpiForWindow(hwnd_), hwnd_);
    if (LanguagePacksFound && !UsablePackChosen())
        LanguagePacksFound = false;
    steps::Mark(L"language packs and flags");

    state_.DisableCaption = CaptionText(keys::Disabled);
    state_.EnableCaption = CaptionText(keys::Enabled);
    // Without a pack both lookups are empty; the button still needs words.
    if (state_.DisableCaption.empty())
        state_.DisableCaption = keys::DisableButton.text;
    if (state_.EnableCaption.empty())
        state_.EnableCaption = keys::EnableButton.text;
    // The About box takes its captions when the user opens it.
    if (LanguagePacksFound)
        ApplyMainWindowCaptions(hwnd_, state_);
    // The window was made before the language was known: its own texts follow the pack now.
    ShowFindTexts();
    steps::Mark(L"captions");

    FillStartupList();
    steps::Mark(L"list fill");
    ShowLanguageList(Control(IDC_COMBOLANG), languagePacks_, hwnd_);
    steps::Mark(L"selector entries and flags");
    // The rest of the start comes first, so that a word about the store shows over the whole window.
    PostMessageW(hwnd_, WM_AFTERFIRSTPAINT, 0, 0);
    PostMessageW(hwnd_, WM_STORE_PROBLEM, 0, 0);
    SetTimer(hwnd_, IDT_NOTE, 500, nullptr);
    steps::Mark(L"timer");
    LayOutListWhileHidden();
    steps::Mark(L"list scroll bars while hidden");
    return true;
}

void frmMain::AfterFirstPaint()
{
    namespace steps = platform::startsteps;
    StartFileFacts();
    steps::Mark(L"file facts asked");
}

void frmMain::Form_Unload()
{
    // A second instance stores nothing; the first one's choice stays.
    if (!secondInstance_)
        platform::SaveLanguageSetting(LanguageFile);
    PostQuitMessage(0);
}

void frmMain::FillStartupList()
{
    words_ = LoadListWords();
    ::FillStartupList(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::Timer1_Timer()
{
    NoteShown = !NoteShown;
    ShowWindow(Control(IDC_LBLNOTE), NoteShown ? SW_SHOW : SW_HIDE);
}
