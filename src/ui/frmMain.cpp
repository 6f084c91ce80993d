// The main window: its creation, the start sequence and the end. The procedure only dispatches;
// the layout, the views, the commands and the language each have a file of their own.
#include "ui/frmMain.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/StartSteps.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/LanguageList.h"
#include "ui/Views.h"
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

    views_ = MakeViews(kinds_, *this);
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
        CreateControls();
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
            BlinkNote();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
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
        DrawLanguageEntry(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), flags_.get());
        return TRUE;
    case WM_CONTEXTMENU:
        for (const std::unique_ptr<EntryView>& view : views_)
            if (view->Owns(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))))
            {
                view->ShowRowMenu(lParam);
                return 0;
            }
        break;
    case WM_INITMENUPOPUP:
        EnableJumpItems(reinterpret_cast<HMENU>(wParam), Shown().SelectedRowJumps());
        return 0;
    case WM_FILEFACTS:
        TakeFileFacts();
        return 0;
    case WM_COMBOLANG_CLICK:
        comboClickPending_ = false;
        ComboLang_Click();
        return 0;
    case WM_STORE_PROBLEM:
        for (const std::unique_ptr<EntryView>& view : views_)
            view->ReportProblems();
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
    SkinOrStandardFont(skin_, hwnd_, font_);
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
    LoadHiding();
    LanguagePacksFound = false;
    steps::Mark(L"instance check and language setting");
    // Whether captions apply depends on the packs and flags read; the selector shows them
    // after the first paint.
    languagePacks_ = ReadLanguageList(flags_, GetDpiForWindow(hwnd_), hwnd_);
    if (LanguagePacksFound && !UsablePackChosen())
        LanguagePacksFound = false;
    steps::Mark(L"language packs and flags");

    captions_.disable = CaptionText(keys::Disabled);
    captions_.enable = CaptionText(keys::Enabled);
    // Without a pack both lookups are empty; the button still needs words.
    if (captions_.disable.empty())
        captions_.disable = keys::DisableButton.text;
    if (captions_.enable.empty())
        captions_.enable = keys::EnableButton.text;
    // The About box takes its captions when the user opens it.
    if (LanguagePacksFound)
        ApplyMainWindowCaptions(hwnd_, captions_);
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
    // The first view is the startup entries', shown from the start.
    views_.front()->Fill();
}

void frmMain::BlinkNote()
{
    noteShown_ = !noteShown_;
    ShowWindow(Control(IDC_LBLNOTE), noteShown_ ? SW_SHOW : SW_HIDE);
}
