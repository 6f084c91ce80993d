// The main window: the startup list, its buttons, menus, the blinking note. Its work is split by
// job: creation and start (frmMain.cpp), layout (MainLayout), the list (MainList), menus and
// commands (MainCommands), languages (MainLanguage).
#pragma once
#include "apply/ApplyMenu.h"
#include "model/MainState.h"
#include "find/DisplayList.h"
#include "find/FileFacts.h"
#include "ui/JumpToEntry.h"
#include "ui/LanguageList.h"
#include "ui/ServicesView.h"
#include "platform/Handles.h"
#include "platform/Settings.h"
#include "platform/Skin.h"

#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct ApplyResult;
struct JumpChoices;

class frmMain : public ServicesHost
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

    MainState& State() override { return state_; }

    // Handlers, called by the window procedure and by tests.
    void FillStartupList();
    void Timer1_Timer();
    void cmdDisable_Click();
    void cmdRemove_Click();
    void ListView1_ItemClick();
    void cmdAddTask_Click();
    void cmdReset_Click();
    void mnuSaveProf_Click();
    void mnuLoadProf_Click();
    void mnuApp_Rest_Click();
    void mnuApp_Log_Click();
    void mnuApp_Exit_Click();
    void mnuApp_Just_Click();

    // Language selector and captions.
    void ApplyCaptions();
    void ComboLang_Click();
    void RestLang();
    void mnuAbout_Click();

    // Edit and Help menus.
    void mnuAuto_Click();
    void mnuConfig_Click();
    void mnyRegistry_Click();
    void mnuHelpIndex_Click();
    void mnuUpdate_Click();
    void mnuVisit_Click();
    // The answer to the last registry warning.
    int RegistryAnswer = 0;

    // Finding and judging entries: sort, filter, the files' facts, jumps to an entry.
    void ListView1_ColumnClick(int column);
    void txtFilter_Change();
    void mnuFind_Click();
    void mnuOpenLocation_Click();
    void mnuProperties_Click();
    // Starts finding the rows' files on a worker thread: run once the window has been shown.
    void StartFileFacts();
    // Sets the texts of the filter box, the Publisher column and the jump items from the pack.
    void ShowFindTexts();
    // Ctrl+F, for the message loop; true when the message was taken.
    bool TranslateAccelerators(MSG* msg);
    const FileFactsTable& Facts() const override { return facts_; }
    // What the jumps start; tests record it instead.
    JumpLauncher Launcher = SystemLauncher();
    JumpLauncher& Jumps() override { return Launcher; }

    // Shows the list model in the ListView and the button state in the buttons.
    void RefreshList() override;
    void ShowButtons() override;
    // Asks the worker about the files of rows of either view never asked about.
    void AskFileFacts() override;

    // The services view, chosen by the tab strip or Ctrl+Tab; the Disable button, the Apply menu
    // and the jumps act on the view shown.
    ServicesView& Services() { return services_; }
    void chkHideWindows_Click();
    void mnuServiceAutomatic_Click();
    void mnuNextView_Click();

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
    // Every control but the services' box and list, which are made when first needed.
    void CreateListControls();
    HWND MakeControl(const ControlDesign& design) override;
    void FitInControls(std::initializer_list<HWND> controls) override;
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
    void OnCommand(int id);
    // The apply's line on the status bar, then more when given.
    void ShowApplyResult(const ApplyResult& result, const std::wstring& more = {});
    // Applies, then ends the program or asks Windows to end the session; after failures only
    // when the user says so.
    void ApplyThenEnd(AfterApply after);
    // Says once that the store could not be read, when that is so.
    void ReportStoreProblem();
    // Whether the chosen pack can give the captions; if not, says so and turns to English, and
    // tells whether English can.
    bool UsablePackChosen();
    void OnComboLangCommand(int code);
    void TakeFileFacts();
    void ShowRowCount();
    JumpChoices SelectedRowJumps() const;
    void ShowListContextMenu(LPARAM where);

    HWND hwnd_ = nullptr;
    // The controls made so far, by id: asked for often, and under Wine each GetDlgItem is a
    // call to its server.
    std::vector<std::pair<int, HWND>> controls_;
    MainState state_;
    SIZE laidOut_{-1, -1}; // the client area the controls were last placed for
    platform::Skin Skin1;
    std::unique_ptr<platform::SingleInstance> instanceGuard_;
    bool secondInstance_ = false;
    bool NoteShown = false;
    bool syncingSelection_ = false;
    platform::UniqueGdi<HFONT> font_;
    platform::UniqueImageList ImageList1;
    LanguagePacks languagePacks_;
    bool comboClickPending_ = false;
    bool storeProblemShown_ = false;
    bool storeRealignShown_ = false;
    // The words the list shows, of the language chosen.
    ListWords words_;
    DisplayList display_;
    FileFactsTable facts_;
    std::unique_ptr<FactsWorker> factsWorker_;
    platform::UniqueAccelerators accelerators_;
    ServicesView services_{*this};
};
