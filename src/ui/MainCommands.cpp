// The main window's menus and commands: the menu bar, the table from command id to handler, and
// the handlers of the buttons, the Profile, Apply, Edit and Help menus.
#include "ui/frmMain.h"
#include "apply/ApplyMenu.h"
#include "apply/ApplyReport.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/FileDialog.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/Profiles.h"
#include "staging/ResetAll.h"
#include "staging/ServiceStaging.h"
#include "staging/StagingCommands.h"
#include "ui/EditHelpMenus.h"
#include "ui/Messages.h"
#include "ui/frmAbout.h"
#include "ui/frmAddTask.h"
#include "ui/resource.h"

#include <commctrl.h>

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
    {IDM_REGISTRY, &frmMain::mnyRegistry_Click},
    {IDM_OPENLOCATION, &frmMain::mnuOpenLocation_Click},
    {IDM_PROPERTIES, &frmMain::mnuProperties_Click},
    {IDM_FIND, &frmMain::mnuFind_Click},
    {IDC_CHKHIDEWINDOWS, &frmMain::chkHideWindows_Click},
    {IDM_SERVICEAUTOMATIC, &frmMain::mnuServiceAutomatic_Click},
    {IDM_NEXTVIEW, &frmMain::mnuNextView_Click},
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
            AppendMenuW(popup, MF_STRING | (item.grayed ? MF_GRAYED : 0), item.id, item.caption);
        }
    }
    return bar;
}

void frmMain::OnCommand(int id)
{
    for (const Command& command : Commands)
        if (command.id == static_cast<UINT>(id))
        {
            (this->*command.handler)();
            return;
        }
}

void frmMain::ShowButtons()
{
    // Services are neither removed nor added.
    const bool services = services_.Shown();
    SetWindowTextW(Control(IDC_CMDDISABLE),
                   (services ? services_.State().DisableButtonCaption : state_.DisableButtonCaption).c_str());
    EnableWindow(Control(IDC_CMDREMOVE), !services && state_.RemoveButtonEnabled);
    EnableWindow(Control(IDC_CMDADDTASK), !services);
}

void frmMain::cmdDisable_Click()
{
    if (services_.Shown())
        return services_.cmdDisable_Click();
    ::cmdDisable_Click(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::cmdRemove_Click()
{
    if (services_.Shown())
        return;
    ::cmdRemove_Click(state_);
    RefreshList();
    ShowButtons();
}

void frmMain::cmdReset_Click()
{
    ::cmdReset_Click(state_);
    services_.cmdReset_Click();
    RefreshList();
    ShowButtons();
    ReportStoreProblem();
}

void frmMain::ReportStoreProblem()
{
    // The realigned store is read whole; said once, when the copy of the old file was made.
    if (state_.StoreRealigned && state_.StoreReadWhole() && !storeRealignShown_)
    {
        storeRealignShown_ = true;
        ShowMessage(hwnd_, keys::StoreRealigned, {StorePath(), StoreBackupPath()},
                    MB_OK | MB_ICONINFORMATION);
    }
    // Once for as long as the store stays unreadable; again if it fails anew after a good read.
    if (state_.StoreReadWhole())
    {
        storeProblemShown_ = false;
        return;
    }
    if (storeProblemShown_)
        return;
    storeProblemShown_ = true;
    const std::wstring text = StoreProblemText(state_) + L"\r\n\r\n" + LookupText(keys::StoreLeftAlone);
    ShowText(hwnd_, text, MB_OK | MB_ICONWARNING);
}

void frmMain::mnuSaveProf_Click()
{
    platform::FileDialogResult chosen =
        platform::ShowFileDialog(hwnd_, true, ProfileFilter(), state_.ProfileFileName);
    // A cancelled dialog gives back the name chosen last, which is used again.
    if (chosen.chosen)
        state_.ProfileFileName = ProfileNameWithExtension(chosen.fileName, chosen.filterIndex);
    const std::wstring& name = state_.ProfileFileName;
    if (name.empty())
        return;
    if (platform::FileExists(name) && ShowMessage(hwnd_, keys::ProfileExists, {name},
                                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    services_.EnsureLoaded();
    if (DWORD error = SaveProfile(state_.List, name, ServiceProfileRecords(services_.State())))
        ShowMessage(hwnd_, keys::ProfileNotSaved, {name, platform::SystemErrorText(error)},
                    MB_OK | MB_ICONERROR);
}

void frmMain::mnuLoadProf_Click()
{
    platform::FileDialogResult chosen =
        platform::ShowFileDialog(hwnd_, false, ProfileFilter(), state_.ProfileFileName);
    if (chosen.chosen)
        state_.ProfileFileName = chosen.fileName;
    const std::wstring& name = state_.ProfileFileName;
    if (name.empty())
        return;
    ProfileLoad outcome = LoadProfile(state_.List, name);
    if (outcome.error)
    {
        ShowMessage(hwnd_, keys::ProfileNotOpened, {name, platform::SystemErrorText(outcome.error)},
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (!outcome.services.empty() && services_.EnsureLoaded())
    {
        LoadServiceProfileRecords(services_.State(), outcome.services);
        services_.Refresh();
    }
    RefreshList();
    if (outcome.incomplete)
        ShowMessage(hwnd_, keys::ProfileIncomplete, {name}, MB_OK | MB_ICONWARNING);
}

void frmMain::cmdAddTask_Click()
{
    // The dialog appends its row itself; the buttons follow the next row click.
    if (services_.Shown())
        return;
    frmAddTask::Show(hwnd_, state_.List);
    RefreshList();
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
    if (services_.Shown())
        services_.mnuApply_Click();
    else
        ShowApplyResult(::ApplyNow(state_));
}

void frmMain::ApplyThenEnd(AfterApply after)
{
    // The view shown is applied.
    ApplyResult result;
    std::wstring resultText;
    bool failed = false;
    if (services_.Shown())
    {
        const ServicesApplyResult applied = services_.mnuApply_Click();
        resultText = ServicesApplyText(applied);
        failed = !applied.failures.empty() || applied.storeError != ERROR_SUCCESS ||
                 applied.lockError != ERROR_SUCCESS;
    }
    else
    {
        result = ::ApplyNow(state_);
        ShowApplyResult(result);
        resultText = ApplyResultText(result);
        failed = !result.failures.empty() || result.storeError != ERROR_SUCCESS ||
                 result.lockError != ERROR_SUCCESS;
    }
    // Nothing ends behind the user's back while something was not applied.
    if (failed)
    {
        const std::wstring text = resultText + L"\r\n\r\n" + LookupText(GoOnAfterFailures(after));
        if (ShowText(hwnd_, text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // The close step: the language is stored and the program ends.
    if (after == AfterApply::ExitProgram)
    {
        DestroyWindow(hwnd_);
        return;
    }
    // A services apply leaves the store of disabled entries as it is.
    const SessionEnd end = services_.Shown() ? EndSession(after) : EndSessionAfterApply(state_, after);
    if (end.storeError == ERROR_SUCCESS && end.refused == ERROR_SUCCESS)
        return;
    ApplyResult stored = result;
    if (end.storeError != ERROR_SUCCESS)
        stored.storeError = end.storeError;
    // Windows may refuse, for want of the right to end the session: the user is told so.
    const keys::KeyText& refusal = after == AfterApply::LogOff ? keys::LogOffRefused : keys::RestartRefused;
    const std::wstring refused = end.refused == ERROR_SUCCESS
                                     ? std::wstring()
                                     : FormatText(LookupText(refusal), {ErrorReasonText(end.refused)});
    if (services_.Shown())
        SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 0,
                     reinterpret_cast<LPARAM>((resultText + L" " + refused).c_str()));
    else
        ShowApplyResult(stored, refused);
}

void frmMain::ShowApplyResult(const ApplyResult& result, const std::wstring& more)
{
    const std::wstring text = ApplyResultText(result) + (more.empty() ? L"" : L" " + more);
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    RefreshList();
    ShowButtons();
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
