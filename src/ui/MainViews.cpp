// The main window's views: the tab strip that chooses the one shown, what is handed to it, the
// buttons and counts it asks for, the filter, and the file facts worker all views share.
#include "inventory/LogonRecords.h"
#include "ui/frmMain.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <windowsx.h>

EntryView& frmMain::View(EntryKind kind) const
{
    for (const std::unique_ptr<EntryView>& view : views_)
        if (view->Entries().Id() == kind)
            return *view;
    return *views_.front();
}

bool frmMain::ShowView(EntryKind kind)
{
    size_t index = 0;
    while (index + 1 < views_.size() && views_[index]->Entries().Id() != kind)
        ++index;
    EntryView& view = *views_[index];
    HWND focus = GetFocus();
    const bool listHadFocus = focus && IsChild(hwnd_, focus) && Shown().Owns(GetDlgCtrlID(focus));
    if (index != shown_ && !view.Show(true))
    {
        // It could not be listed: the tab goes back to the view shown.
        TabCtrl_SetCurSel(Control(IDC_TABVIEWS), static_cast<int>(shown_));
        return false;
    }
    if (index != shown_)
        Shown().Show(false);
    shown_ = index;
    TabCtrl_SetCurSel(Control(IDC_TABVIEWS), static_cast<int>(shown_));
    if (listHadFocus)
        SetFocus(GetNextDlgTabItem(hwnd_, Control(IDC_TABVIEWS), FALSE));
    ShowHeading();
    ViewChanged();
    return true;
}

void frmMain::mnuNextView_Click()
{
    // Round the views in order, passing over one that cannot be shown.
    for (size_t step = 1; step < views_.size(); ++step)
        if (ShowView(views_[(shown_ + step) % views_.size()]->Entries().Id()))
            return;
}

void frmMain::ViewChanged()
{
    ShowButtons();
    ShowRowCount();
}

void frmMain::ShowButtons()
{
    const ViewButtons buttons = Shown().Buttons();
    SetControlText(Control(IDC_CMDDISABLE), buttons.row.offersEnable ? captions_.enable : captions_.disable);
    EnableWindow(Control(IDC_CMDREMOVE), buttons.removes && buttons.row.removeEnabled);
    EnableWindow(Control(IDC_CMDADDTASK), buttons.addsTasks);
}

void frmMain::ShowRowCount()
{
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 1,
                 reinterpret_cast<LPARAM>(Shown().RowCountText().c_str()));
}

void frmMain::SetStatus(const std::wstring& text)
{
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void frmMain::ShowHeading()
{
    // As the captions do: a pack in use gives the words, or none.
    const keys::KeyText& heading = Shown().Heading();
    SetControlText(Control(IDC_LBLHEADING), LanguagePacksFound ? CaptionText(heading) : heading.text);
}

void frmMain::RefreshViews()
{
    for (const std::unique_ptr<EntryView>& view : views_)
        view->Refresh();
    ViewChanged();
}

LRESULT frmMain::OnNotify(NMHDR* header)
{
    if (header->idFrom == IDC_TABVIEWS)
    {
        if (header->code == TCN_SELCHANGE)
        {
            const int index = TabCtrl_GetCurSel(header->hwndFrom);
            if (index >= 0 && static_cast<size_t>(index) < views_.size())
                ShowView(views_[static_cast<size_t>(index)]->Entries().Id());
        }
        return 0;
    }
    for (const std::unique_ptr<EntryView>& view : views_)
        if (view->Owns(static_cast<int>(header->idFrom)))
            return view->OnNotify(header);
    return 0;
}

void frmMain::txtFilter_Change()
{
    const std::wstring filter = WindowText(Control(IDC_TXTFILTER));
    for (const std::unique_ptr<EntryView>& view : views_)
        view->SetFilter(filter);
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

void frmMain::mnuOpenLocation_Click()
{
    Shown().mnuOpenLocation_Click();
}

void frmMain::mnuProperties_Click()
{
    Shown().mnuProperties_Click();
}

void frmMain::chkHideTrusted_Click()
{
    const auto checked = [&](int id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    hiding_ = {checked(IDC_CHKHIDEWINDOWS), checked(IDC_CHKHIDEVERIFIED)};
    platform::SaveViewSwitch(platform::names::HideWindowsSetting, hiding_.windows);
    platform::SaveViewSwitch(platform::names::HideVerifiedSetting, hiding_.verified);
    RefreshViews();
}

void frmMain::LoadHiding()
{
    hiding_ = {platform::LoadViewSwitch(platform::names::HideWindowsSetting),
               platform::LoadViewSwitch(platform::names::HideVerifiedSetting)};
    SendMessageW(Control(IDC_CHKHIDEWINDOWS), BM_SETCHECK, hiding_.windows ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(Control(IDC_CHKHIDEVERIFIED), BM_SETCHECK, hiding_.verified ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void frmMain::StartFileFacts()
{
    if (factsWorker_)
        return;
    HWND window = hwnd_;
    factsWorker_ = std::make_unique<FactsWorker>([window] { PostMessageW(window, WM_FILEFACTS, 0, 0); },
                                                 std::wstring(), [] { return ReadLogonImpact(); });
    factsWorker_->Ask(std::move(factsWaiting_));
    for (const std::unique_ptr<EntryView>& view : views_)
        AskFacts(view->TakeUnasked(facts_));
}

void frmMain::AskFacts(std::vector<std::wstring> commandLines)
{
    if (commandLines.empty())
        return;
    if (factsWorker_)
        factsWorker_->Ask(std::move(commandLines));
    else
        factsWaiting_.insert(factsWaiting_.end(), std::make_move_iterator(commandLines.begin()),
                             std::make_move_iterator(commandLines.end()));
}

void frmMain::TakeFileFacts()
{
    if (!factsWorker_)
        return;
    FactsAnswers answers = factsWorker_->TakeAnswers();
    std::vector<std::wstring> answered, signed_;
    for (auto& [commandLine, facts] : answers.facts)
    {
        facts_.Store(commandLine, std::move(facts));
        answered.push_back(std::move(commandLine));
    }
    for (auto& [file, signature] : answers.signatures)
    {
        signed_.push_back(platform::FoldCase(file));
        facts_.StoreSignature(file, std::move(signature));
    }
    // A file's signature is shown in the row of every command line that names it.
    std::ranges::sort(signed_);
    for (std::wstring& line : facts_.LinesNaming(signed_))
        answered.push_back(std::move(line));
    std::ranges::sort(answered);
    answered.erase(std::unique(answered.begin(), answered.end()), answered.end());
    // The logon record gives every row its Impact at once.
    if (answers.impact)
    {
        facts_.StoreImpact(std::move(*answers.impact));
        RefreshViews();
    }
    for (const std::unique_ptr<EntryView>& view : views_)
        view->FactsArrived(answered);
}

void frmMain::ShowFindTexts()
{
    HMENU bar = GetMenu(hwnd_);
    SetMenuText(bar, IDM_OPENLOCATION, FALSE, LookupText(keys::OpenLocation));
    SetMenuText(bar, IDM_PROPERTIES, FALSE, LookupText(keys::Properties));
    SetControlText(Control(IDC_CHKHIDEWINDOWS), LookupText(keys::HideWindowsEntries));
    SetControlText(Control(IDC_CHKHIDEVERIFIED), LookupText(keys::HideVerifiedEntries));
    const std::wstring cue = LookupText(keys::FilterCue);
    SendMessageW(Control(IDC_TXTFILTER), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
    HWND tabs = Control(IDC_TABVIEWS);
    for (size_t index = 0; index < views_.size(); ++index)
        SetTabText(tabs, static_cast<int>(index), LookupText(views_[index]->Title()));
    for (const std::unique_ptr<EntryView>& view : views_)
        view->ApplyCaptions();
    ShowHeading();
    ShowRowCount();
}
