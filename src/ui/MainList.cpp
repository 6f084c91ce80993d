// The main window's owner-data list: what it shows of the model, its notifications, sorting,
// the filter, the files' facts from the worker, and the row's menu with its jumps.
#include "ui/frmMain.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"
#include "staging/StagingCommands.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <windowsx.h>

namespace
{

// The list's rows [first, end) in view, with the one partly shown below them.
std::pair<int, int> RowsInView(HWND list, int count)
{
    const int top = ListView_GetTopIndex(list);
    return {top, std::min(count, top + ListView_GetCountPerPage(list) + 1)};
}

} // namespace

void frmMain::RefreshList()
{
    HWND list = Control(IDC_LISTVIEW1);
    display_.Update(state_.List, words_, facts_);
    // A row the filter hides is not selected: the buttons would act on a row out of sight.
    if (display_.IndexOf(state_.List.Selected()) < 0)
        state_.List.Select(0);
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
    if (services_.Shown())
        return services_.ShowRowCount();
    const std::wstring shown = platform::ToDecimal(display_.Count());
    const std::wstring text =
        FormatText(LookupText(keys::RowsShown), {shown, platform::ToDecimal(state_.List.Count())});
    SendMessageW(Control(IDC_STATUSBAR), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT frmMain::OnNotify(NMHDR* header)
{
    if (header->idFrom == IDC_LISTSERVICES || header->idFrom == IDC_TABVIEWS)
        return services_.OnNotify(header);
    if (header->idFrom != IDC_LISTVIEW1)
        return 0;
    switch (header->code)
    {
    case LVN_GETDISPINFOW: {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(header);
        const int row = display_.Position(info.item.iItem);
        const bool answered = AnswerCellText(info, row, state_.List.Count(), ShownColumnCount, [&] {
            return CellText(state_.List, words_, facts_, row, info.item.iSubItem);
        });
        // A row comes into view: its file is looked at now.
        if (const std::wstring* location = answered ? &state_.List.Row(row).location : nullptr;
            location && info.item.iSubItem == 0 && factsWorker_ && facts_.TakeUnasked(*location))
            factsWorker_->Ask({*location});
        return 0;
    }
    case LVN_COLUMNCLICK:
        ListView1_ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case LVN_ODFINDITEMW:
        return AnswerFindItem(*reinterpret_cast<NMLVFINDITEMW*>(header), display_.Count(), [&](int index) {
            return CellText(state_.List, words_, facts_, display_.Position(index), TaskName);
        });
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
        if (selected >= 0)
            ListView1_ItemClick();
        return 0;
    }
    }
    return 0;
}

void frmMain::ListView1_ItemClick()
{
    SyncButtonsToSelection(state_);
    ShowButtons();
    for (int id : {IDC_CMDDISABLE, IDC_CMDREMOVE, IDC_CMDRESET, IDC_CMDADDTASK})
        InvalidateRect(Control(id), nullptr, TRUE);
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
    services_.SetFilter(display_.filter);
    RefreshList();
}

void frmMain::chkHideWindows_Click()
{
    services_.chkHideWindows_Click();
}

void frmMain::mnuServiceAutomatic_Click()
{
    services_.mnuServiceAutomatic_Click();
}

void frmMain::mnuNextView_Click()
{
    services_.Show(!services_.Shown());
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
    if (row == 0)
        return {};
    const FileFacts* facts = FactsOfRow(state_.List, facts_, row);
    // Facts not known yet are found when Properties is chosen.
    return {CanOpenLocation(state_.List.Row(row)), !facts || facts->state == FileFacts::State::Found};
}

void frmMain::ShowListContextMenu(LPARAM where)
{
    if (state_.List.Selected() == 0)
        return;
    const int command = TrackJumpMenu(hwnd_, Control(IDC_LISTVIEW1), where, SelectedRowJumps());
    if (command)
        OnCommand(command);
}

void frmMain::mnuOpenLocation_Click()
{
    if (services_.Shown())
        return services_.mnuOpenLocation_Click();
    if (int row = state_.List.Selected())
        OpenLocation(hwnd_, state_.List.Row(row), Launcher);
}

void frmMain::mnuProperties_Click()
{
    if (services_.Shown())
        return services_.mnuProperties_Click();
    if (int row = state_.List.Selected())
        ShowProgramProperties(hwnd_, state_.List.Row(row).location, Launcher);
}

void frmMain::StartFileFacts()
{
    if (factsWorker_)
        return;
    HWND window = hwnd_;
    factsWorker_ = std::make_unique<FactsWorker>([window] { PostMessageW(window, WM_FILEFACTS, 0, 0); });
    AskFileFacts();
}

void frmMain::AskFileFacts()
{
    if (!factsWorker_)
        return;
    // The services view asks for all of its rows: they are few, and hiding Windows' own needs them.
    factsWorker_->Ask(services_.TakeUnasked(facts_));
    // Sorted or filtered by what the files say, every row needs its answer now. Otherwise the
    // rows in view do, and each other row when it comes into view: a long list is not read
    // whole while the user waits for the window.
    if (display_.sort.column == PublisherColumn || !display_.filter.empty())
    {
        factsWorker_->Ask(facts_.TakeUnasked(state_.List));
        return;
    }
    const auto [first, end] = RowsInView(Control(IDC_LISTVIEW1), display_.Count());
    std::vector<std::wstring> unasked;
    for (int index = first; index < end; ++index)
        if (const std::wstring& location = state_.List.Row(display_.Position(index)).location;
            facts_.TakeUnasked(location))
            unasked.push_back(location);
    factsWorker_->Ask(std::move(unasked));
}

void frmMain::TakeFileFacts()
{
    if (!factsWorker_)
        return;
    std::vector<std::wstring> answered;
    for (auto& [commandLine, facts] : factsWorker_->TakeAnswers())
    {
        facts_.Store(commandLine, std::move(facts));
        answered.push_back(std::move(commandLine));
    }
    services_.FactsArrived();
    // A publisher can move a row when the list is sorted or filtered by it.
    if (display_.sort.column == PublisherColumn || !display_.filter.empty())
    {
        RefreshList();
        return;
    }
    // Only the rows in view that were answered are painted again, not the header or the rest.
    std::ranges::sort(answered);
    HWND list = Control(IDC_LISTVIEW1);
    const auto [first, end] = RowsInView(list, display_.Count());
    int low = end, high = -1;
    for (int index = first; index < end; ++index)
        if (std::ranges::binary_search(answered, state_.List.Row(display_.Position(index)).location))
            low = std::min(low, index), high = index;
    if (high >= 0)
        ListView_RedrawItems(list, low, high);
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
    services_.ApplyCaptions();
    ShowRowCount();
}
