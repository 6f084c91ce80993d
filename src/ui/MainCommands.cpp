// The main window's menus and commands: the menu bar, the table from command id to handler, and
// the handlers of the buttons, the Profile, Apply, Edit and Help menus.
#include "ui/frmMain.h"
#include "apply/ApplyMenu.h"
#include "apply/ApplyReport.h"
#include "i18n/Keys.h"
#include "inventory/LogonWatch.h"
#include "i18n/Lookup.h"
#include "platform/FileDialog.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "staging/EntryFile.h"
#include "staging/Profiles.h"
#include "ui/EditHelpMenus.h"
#include "ui/Messages.h"
#include "ui/frmAbout.h"
#include "ui/frmAddTask.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

struct MenuItemDesign
{
    UINT id; // 0 starts a new top-level menu
    const wchar_t* caption;
    bool grayed;
};
constexpr MenuItemDesign Menus[] = {
    {0, keys::EditMenu.text, false},
    {IDM_AUTO, keys::AutoexecItem.text, false},
    {IDM_CONFIG, keys::ConfigItem.text, false},
    {IDM_REGISTRY, keys::RegistryItem.text, false},
    {IDM_OPENLOCATION, keys::OpenLocation.text, false},
    {IDM_PROPERTIES, keys::Properties.text, false},
    {IDM_MEASURE, keys::MeasureItem.text, false},
    {0, keys::ProfileMenu.text, false},
    {IDM_SAVEPROF, keys::SaveProfileItem.text, false},
    {IDM_LOADPROF, keys::LoadProfileItem.text, false},
    {0, keys::ApplyMenu.text, false},
    {IDM_APP_REST, keys::ApplyRestartItem.text, false},
    {IDM_APP_LOG, keys::ApplyLogOffItem.text, false},
    {IDM_APP_EXIT, keys::ApplyExitItem.text, false},
    {IDM_APP_JUST, keys::JustApplyItem.text, false},
    {0, keys::HelpMenu.text, false},
    {IDM_HELPINDEX, keys::HelpIndexItem.text, false},
    {IDM_UPDATE, keys::UpdateItem.text, true},
    {IDM_VISIT, keys::VisitItem.text, true},
    {IDM_ABOUT, keys::AboutItem.text, false},
};

// Every command of the menus, the buttons and the accelerator with its handler.
struct Command
{
    UINT id;
    void (frmMain::*handler)();
};
constexpr Command Commands[] = {
    {IDC_CMDDISABLE, &frmMain::cmdDisable_Click},
    {IDC_CMDREMOVE, &frmMain::cmdRemove_Click},
    {IDC_CMDADDTASK, &frmMain::cmdAddTask_Click},
    {IDC_CMDRESET, &frmMain::cmdReset_Click},
    {IDM_AUTO, &frmMain::mnuAuto_Click},
    {IDM_CONFIG, &frmMain::mnuConfig_Click},
    {IDM_REGISTRY, &frmMain::mnuRegistry_Click},
    {IDM_OPENLOCATION, &frmMain::mnuOpenLocation_Click},
    {IDM_PROPERTIES, &frmMain::mnuProperties_Click},
    {IDM_MEASURE, &frmMain::mnuMeasure_Click},
    {IDM_FIND, &frmMain::mnuFind_Click},
    {IDM_NEXTVIEW, &frmMain::mnuNextView_Click},
    {IDC_CHKHIDEWINDOWS, &frmMain::chkHideTrusted_Click},
    {IDC_CHKHIDEVERIFIED, &frmMain::chkHideTrusted_Click},
    {IDM_SAVEPROF, &frmMain::mnuSaveProf_Click},
    {IDM_LOADPROF, &frmMain::mnuLoadProf_Click},
    {IDM_APP_REST, &frmMain::mnuApp_Rest_Click},
    {IDM_APP_LOG, &frmMain::mnuApp_Log_Click},
    {IDM_APP_EXIT, &frmMain::mnuApp_Exit_Click},
    {IDM_APP_JUST, &frmMain::mnuApp_Just_Click},
    {IDM_HELPINDEX, &frmMain::mnuHelpIndex_Click},
    {IDM_UPDATE, &frmMain::mnuUpdate_Click},
    {IDM_VISIT, &frmMain::mnuVisit_Click},
    {IDM_ABOUT, &frmMain::mnuAbout_Click},
};

constexpr bool EveryMenuItemHasACommand()
{
    for (const MenuItemDesign& item : Menus)
    {
        bool handled = item.id == 0;
        for (const Command& command : Commands)
            handled = handled || command.id == item.id;
        if (!handled)
            return false;
    }
    return true;
}
static_assert(EveryMenuItemHasACommand(), "a menu item without a handler");

// Asked after an apply with failures, before the program ends or the session does.
const keys::KeyText& GoOnAfterFailures(AfterApply after)
{
    switch (after)
    {
    case AfterApply::LogOff:
        return keys::LogOffAfterFailures;
    case AfterApply::Restart:
        return keys::RestartAfterFailures;
    case AfterApply::ExitProgram:
        break;
    }
    return keys::ExitAfterFailures;
}

} // namespace

HMENU frmMain::MakeMenuBar()
{
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    for (const MenuItemDesign& item : Menus)
    {
        if (item.id == 0)
        {
            popup = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), item.caption);
        }
        else
        {
            const bool checked = item.id == IDM_MEASURE && LogonWatchArmed();
            AppendMenuW(popup, MF_STRING | (item.grayed ? MF_GRAYED : 0) | (checked ? MF_CHECKED : 0),
                        item.id, item.caption);
        }
    }
    return bar;
}

void frmMain::OnCommand(int id, int code)
{
    if (id == IDC_COMBOLANG)
        return OnComboLangCommand(code);
    if (id == IDC_TXTFILTER)
    {
        if (code == EN_CHANGE)
            txtFilter_Change();
        return;
    }
    for (const Command& command : Commands)
        if (command.id == static_cast<UINT>(id))
        {
            (this->*command.handler)();
            return;
        }
    // The rest are the shown view's own: its boxes and its row menu's items.
    Shown().OnCommand(id, code);
}

void frmMain::cmdDisable_Click()
{
    Shown().cmdDisable_Click();
}

void frmMain::cmdRemove_Click()
{
    // Pressed by its access key on a view whose entries are not removed, it does nothing.
    if (Shown().Buttons().removes)
        Shown().cmdRemove_Click();
}

void frmMain::cmdAddTask_Click()
{
    if (Shown().Buttons().addsTasks)
        Shown().cmdAddTask_Click();
}

void frmMain::cmdReset_Click()
{
    kinds_.ResetAll();
    RefreshViews();
    for (const std::unique_ptr<EntryView>& view : views_)
        view->ReportProblems();
}

void frmMain::mnuSaveProf_Click()
{
    platform::FileDialogResult chosen =
        platform::ShowFileDialog(hwnd_, true, ProfileFilter(), profileFileName_);
    // A cancelled dialog gives back the name chosen last, which is used again.
    if (chosen.chosen)
        profileFileName_ = ProfileNameWithExtension(chosen.fileName, chosen.filterIndex);
    const std::wstring& name = profileFileName_;
    if (name.empty())
        return;
    if (platform::FileExists(name) && ShowMessage(hwnd_, keys::ProfileExists, {name},
                                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    if (DWORD error = WriteEntryFile(kinds_.ProfileRecords(), name))
        ShowMessage(hwnd_, keys::ProfileNotSaved, {name, platform::SystemErrorText(error)},
                    MB_OK | MB_ICONERROR);
    RefreshViews();
}

void frmMain::mnuLoadProf_Click()
{
    platform::FileDialogResult chosen =
        platform::ShowFileDialog(hwnd_, false, ProfileFilter(), profileFileName_);
    if (chosen.chosen)
        profileFileName_ = chosen.fileName;
    const std::wstring& name = profileFileName_;
    if (name.empty())
        return;
    // Read whole first: a file that cannot be read leaves every view as it is.
    const EntryFileContent content = ReadEntryRecords(name);
    if (content.error)
    {
        ShowMessage(hwnd_, keys::ProfileNotOpened, {name, platform::SystemErrorText(content.error)},
                    MB_OK | MB_ICONERROR);
        return;
    }
    kinds_.LoadProfileRecords(content.records);
    RefreshViews();
    if (content.incomplete)
        ShowMessage(hwnd_, keys::ProfileIncomplete, {name}, MB_OK | MB_ICONWARNING);
}

void frmMain::mnuApp_Rest_Click()
{
    ApplyThenEnd(AfterApply::Restart);
}

void frmMain::mnuApp_Log_Click()
{
    ApplyThenEnd(AfterApply::LogOff);
}

void frmMain::mnuApp_Exit_Click()
{
    ApplyThenEnd(AfterApply::ExitProgram);
}

void frmMain::mnuApp_Just_Click()
{
    ShowApplyResults(ApplyStaged());
}

std::vector<ApplyResult> frmMain::ApplyStaged()
{
    std::vector<ApplyResult> results = kinds_.ApplyStaged(WindowLockWait);
    for (const std::unique_ptr<EntryView>& view : views_)
        if (view->Entries().Filled())
            view->Refresh();
    return results;
}

namespace
{

std::wstring ResultsText(const std::vector<ApplyResult>& results)
{
    std::wstring text;
    for (const ApplyResult& result : results)
        text += (text.empty() ? L"" : L" ") + ApplyResultText(result);
    return text;
}

} // namespace

void frmMain::ShowApplyResults(const std::vector<ApplyResult>& results, const std::wstring& more)
{
    SetStatus(ResultsText(results) + (more.empty() ? L"" : L" " + more));
    ViewChanged();
}

void frmMain::ApplyThenEnd(AfterApply after)
{
    // Every kind's staged changes, whichever view is shown.
    const std::vector<ApplyResult> results = ApplyStaged();
    ShowApplyResults(results);
    // Nothing ends behind the user's back while something was not applied.
    if (std::ranges::any_of(results, ApplyFailed))
    {
        const std::wstring text = ResultsText(results) + L"\r\n\r\n" + LookupText(GoOnAfterFailures(after));
        if (ShowText(hwnd_, text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // The close step: the language is stored and the program ends.
    if (after == AfterApply::ExitProgram)
    {
        DestroyWindow(hwnd_);
        return;
    }
    // What each kind keeps decides what is there when the session ends.
    std::vector<ApplyResult> kept = results;
    bool told = false;
    for (const std::unique_ptr<Kind>& kind : kinds_.All())
        if (kind->Filled())
            if (const DWORD error = kind->SaveBeforeSessionEnds())
            {
                auto own = std::ranges::find(kept, kind->Id(), &ApplyResult::kind);
                if (own == kept.end())
                {
                    own = kept.insert(kept.end(), ApplyResult());
                    own->kind = kind->Id();
                }
                own->storeError = error;
                told = true;
            }
    const DWORD refused = EndSession(after);
    if (!told && refused == ERROR_SUCCESS)
        return;
    // Windows may refuse, for want of the right to end the session: the user is told so.
    const keys::KeyText& refusal = after == AfterApply::LogOff ? keys::LogOffRefused : keys::RestartRefused;
    ShowApplyResults(kept, refused == ERROR_SUCCESS
                               ? std::wstring()
                               : FormatText(LookupText(refusal), {ErrorReasonText(refused)}));
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

void frmMain::mnuRegistry_Click()
{
    RegistryAnswer = StartRegistryEditor(hwnd_);
}

void frmMain::mnuMeasure_Click()
{
    // One item arms and disarms: its check mark says which the next logon will see.
    SetStatus(ChangeLogonWatch(LogonWatchArmed() ? std::nullopt : std::optional(WatchDefaultSeconds)).text);
    CheckMenuItem(GetMenu(hwnd_), IDM_MEASURE,
                  MF_BYCOMMAND | (LogonWatchArmed() ? MF_CHECKED : MF_UNCHECKED));
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
