// The main window: the views of the kinds of entry and the tab strip that chooses one, the
// buttons, the menus, the blinking note. Its work is split by job: creation and start
// (frmMain.cpp), layout (MainLayout), the views and the file facts (MainViews), menus and
// commands (MainCommands), languages (MainLanguage).
#pragma once
#include "apply/ApplyMenu.h"
#include "find/FactsWorker.h"
#include "find/FileFacts.h"
#include "kinds/Kinds.h"
#include "ui/Captions.h"
#include "ui/EntryView.h"
#include "ui/JumpToEntry.h"
#include "ui/LanguageList.h"
#include "platform/Handles.h"
#include "platform/Settings.h"
#include "platform/Skin.h"

#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct ApplyResult;

class frmMain : public ViewHost
{
  public:
    frmMain() = default;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;
    ~frmMain();

    // Creates the window and runs the start sequence up to the filled list. False when another
    // instance runs: the window was closed at once and never shown.
    bool Create(HINSTANCE instance);
    // The rest of the start, which the first paint of the list does not need: the look at the
    // files. Create posts a message that runs it once the list has been shown and painted.
    void AfterFirstPaint();
    HWND Handle() const override { return hwnd_; }
    HWND Control(int id) const override;

    // The kinds of entry below the window, and their views.
    const Kinds& Entries() const { return kinds_; }
    StartupState& State() { return kinds_.Startup().State(); }
    EntryView& Shown() const { return *views_[shown_]; }
    EntryView& View(EntryKind kind) const;
    // Shows the view of that kind; false when it cannot be shown.
    bool ShowView(EntryKind kind);

    // Handlers, called by the window procedure and by tests.
    void FillStartupList();
    void BlinkNote();
    void cmdDisable_Click();
    void cmdRemove_Click();
    void cmdAddTask_Click();
    void cmdReset_Click();
    void mnuSaveProf_Click();
    void mnuLoadProf_Click();
    void mnuApp_Rest_Click();
    void mnuApp_Log_Click();
    void mnuApp_Exit_Click();
    void mnuApp_Just_Click();
    // The file last chosen in the profile dialog.
    const std::wstring& ProfileFileName() const { return profileFileName_; }

    // Language selector and captions.
    void ApplyCaptions();
    void ComboLang_Click();
    void RestLang();
    void mnuAbout_Click();

    // Edit and Help menus.
    void mnuAuto_Click();
    void mnuConfig_Click();
    void mnuRegistry_Click();
    void mnuHelpIndex_Click();
    void mnuUpdate_Click();
    void mnuVisit_Click();
    // The answer to the last registry warning.
    int RegistryAnswer = 0;

    // Finding and judging entries: the filter, the files' facts, jumps to an entry.
    void txtFilter_Change();
    void mnuFind_Click();
    void mnuOpenLocation_Click();
    void mnuProperties_Click();
    void mnuMeasure_Click();
    void mnuNextView_Click();
    // The boxes that hide Windows' own entries and those whose signature holds, in every view;
    // remembered for the user.
    void chkHideTrusted_Click();
    TrustHiding Hiding() const override { return hiding_; }
    // Starts finding the rows' files on a worker thread: run once the window has been shown.
    void StartFileFacts();
    // Sets the texts of the filter box, the tabs, the heading and the jump items from the pack.
    void ShowFindTexts();
    // Ctrl+F, Ctrl+Tab, for the message loop; true when the message was taken.
    bool TranslateAccelerators(MSG* msg);
    FileFactsTable& Facts() override { return facts_; }
    // What the jumps start; tests record it instead.
    JumpLauncher Launcher = SystemLauncher();
    JumpLauncher& Jumps() override { return Launcher; }

    // What the views ask of the window.
    HWND MakeControl(const ControlDesign& design, int after = 0) override;
    void FitInControls(std::initializer_list<HWND> controls) override;
    void AskFacts(std::vector<std::wstring> commandLines) override;
    const ButtonCaptions& Captions() const override { return captions_; }
    void ViewChanged() override;
    void SetStatus(const std::wstring& text) override;

  private:
    template <class T> friend LRESULT CALLBACK ClassWindowProc(HWND, UINT, WPARAM, LPARAM);
    // Runs the selector's handler once the notification that asked for it has returned.
    static constexpr UINT WM_COMBOLANG_CLICK = WM_APP + 1;
    // Tells of a store that could not be read once the window is on the screen.
    static constexpr UINT WM_STORE_PROBLEM = WM_APP + 2;
    // Runs the work the first paint does not need, the look at the files last, once the start has
    // painted the list.
    static constexpr UINT WM_AFTERFIRSTPAINT = WM_APP + 3;
    // Posted by the worker thread when answers wait.
    static constexpr UINT WM_FILEFACTS = WM_APP + 4;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The controls of the window and the first view's list; the other views make theirs when
    // first shown.
    void CreateControls();
    static HMENU MakeMenuBar();
    // Places the controls for a client area of another size; the status bar's parts follow it.
    void Layout();
    void SetMinimumSize(MINMAXINFO* info);
    // A move to a monitor of another DPI: the fonts of that DPI, the place Windows suggests.
    void FollowDpi(const RECT* suggested);
    void LayOutListWhileHidden();
    void ApplyStandardFont();
    bool Form_Load();
    void Form_Unload();
    LRESULT OnNotify(NMHDR* header);
    void OnCommand(int id, int code);
    // Shows the buttons and the count of the view shown.
    void ShowButtons();
    void ShowRowCount();
    void ShowHeading();
    // Every view's rows shown again, and what each must tell.
    void RefreshViews();
    // Applies every kind with changes staged; its lines on the status bar, with more when given.
    std::vector<ApplyResult> ApplyStaged();
    void ShowApplyResults(const std::vector<ApplyResult>& results, const std::wstring& more = {});
    // Applies, then ends the program or asks Windows to end the session; after failures only
    // when the user says so.
    void ApplyThenEnd(AfterApply after);
    // Whether the chosen pack can give the captions; if not, says so and turns to English, and
    // tells whether English can.
    bool UsablePackChosen();
    void OnComboLangCommand(int code);
    void TakeFileFacts();
    // The boxes as the user left them.
    void LoadHiding();

    HWND hwnd_ = nullptr;
    // The controls made so far, by id: asked for often, and under Wine each GetDlgItem is a
    // call to its server.
    std::vector<std::pair<int, HWND>> controls_;
    Kinds kinds_;
    std::vector<std::unique_ptr<EntryView>> views_;
    size_t shown_ = 0;
    ButtonCaptions captions_;
    std::wstring profileFileName_;
    SIZE laidOut_{-1, -1}; // the client area the controls were last placed for
    platform::Skin skin_;
    std::unique_ptr<platform::SingleInstance> instanceGuard_;
    bool secondInstance_ = false;
    bool noteShown_ = false;
    platform::UniqueGdi<HFONT> font_;
    platform::UniqueImageList flags_;
    LanguagePacks languagePacks_;
    bool comboClickPending_ = false;
    FileFactsTable facts_;
    TrustHiding hiding_;
    std::unique_ptr<FactsWorker> factsWorker_;
    // Asked before the worker started, which asks them first.
    std::vector<std::wstring> factsWaiting_;
    platform::UniqueAccelerators accelerators_;
};
