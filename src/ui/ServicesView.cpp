// The services view: its controls, the list's notifications, the commands on its rows.
#include "ui/ServicesView.h"
#include "find/ServiceDisplay.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/EntryFile.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"
#include "ui/Captions.h"
#include "ui/JumpToEntry.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

namespace
{

// Name holds "Windows Presentation Foundation Font Cache", Start type "Automatic (Delayed Start)".
constexpr int ColumnWidths[ServiceColumnCount] = {240, 80, 170, 80, 160, 360};

constexpr ControlDesign TabStrip{IDC_TABVIEWS, WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | TCS_TABS};
constexpr ControlDesign HideBox{IDC_CHKHIDEWINDOWS, WC_BUTTONW, keys::HideWindowsServices.text,
                                WS_TABSTOP | BS_AUTOCHECKBOX};
constexpr ControlDesign ServicesList{
    IDC_LISTSERVICES, WC_LISTVIEWW, L"",
    WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL, WS_EX_CLIENTEDGE};

void SetStatusText(HWND statusBar, int part, const std::wstring& text)
{
    SendMessageW(statusBar, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

void ServicesView::Create()
{
    main_.MakeControl(TabStrip);
    HWND tabs = main_.Control(IDC_TABVIEWS);
    for (const keys::KeyText* tab : {&keys::StartupTab, &keys::ServicesTab})
    {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(tab->text);
        TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &item);
    }
}

void ServicesView::MakeListControls()
{
    if (main_.Control(IDC_LISTSERVICES))
        return;
    // Each goes where the tab order wants it: the box after the filter, the list after the other list.
    auto make = [&](const ControlDesign& design, int after) {
        HWND control = main_.MakeControl(design);
        SetWindowPos(control, main_.Control(after), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return control;
    };
    HWND list = make(ServicesList, IDC_LISTVIEW1);
    main_.FitInControls({make(HideBox, IDC_TXTFILTER), list});
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER);
    const UINT dpi = GetDpiForWindow(main_.Handle());
    for (int c = 0; c < ServiceColumnCount; ++c)
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(ServiceColumnHeaders[c].text);
        column.cx = ScaleForDpi(ColumnWidths[c], dpi);
        column.iSubItem = c;
        ListView_InsertColumn(list, c, &column);
    }
    ApplyCaptions();
}

void ServicesView::Show(bool services)
{
    if (services && !EnsureLoaded())
        services = false;
    shown_ = services;
    TabCtrl_SetCurSel(main_.Control(IDC_TABVIEWS), services ? 1 : 0);
    HWND startupList = main_.Control(IDC_LISTVIEW1), servicesList = main_.Control(IDC_LISTSERVICES);
    const bool listHadFocus = GetFocus() == startupList || GetFocus() == servicesList;
    ShowWindow(servicesList, services ? SW_SHOW : SW_HIDE);
    ShowWindow(main_.Control(IDC_CHKHIDEWINDOWS), services ? SW_SHOW : SW_HIDE);
    ShowWindow(startupList, services ? SW_HIDE : SW_SHOW);
    if (listHadFocus)
        SetFocus(services ? servicesList : startupList);
    if (services)
        Refresh();
    else
        main_.RefreshList();
    main_.ShowButtons();
}

bool ServicesView::EnsureLoaded()
{
    if (state_.Loaded)
        return true;
    MakeListControls();
    Refill();
    return state_.Loaded;
}

void ServicesView::Refill()
{
    state_.List.Clear();
    FillServices(state_, main_.State());
    HWND statusBar = main_.Control(IDC_STATUSBAR);
    if (state_.ListError != ERROR_SUCCESS)
        SetStatusText(statusBar, 0,
                      FormatText(LookupText(keys::ServicesNotListed), {ErrorReasonText(state_.ListError)}));
    else if (!state_.StoreReadWhole())
        SetStatusText(statusBar, 0, StartsProblemText(state_));
    Refresh();
}

void ServicesView::Refresh()
{
    if (!state_.Loaded)
        return;
    main_.AskFileFacts();
    hiddenCount_ = UpdateServiceDisplay(display_, state_.List, main_.Facts(), hideWindows_);
    if (display_.IndexOf(state_.List.Selected()) < 0)
        state_.List.Select(0);
    HWND list = main_.Control(IDC_LISTSERVICES);
    syncingSelection_ = true;
    ListView_SetItemCountEx(list, display_.Count(), LVSICF_NOSCROLL);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (const int index = display_.IndexOf(state_.List.Selected()); index >= 0)
        ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(list, nullptr, FALSE);
    syncingSelection_ = false;
    ShowRowCount();
}

void ServicesView::ShowRowCount()
{
    if (!shown_)
        return;
    const std::wstring shown = platform::ToDecimal(display_.Count()),
                       all = platform::ToDecimal(state_.List.Count());
    SetStatusText(main_.Control(IDC_STATUSBAR), 1,
                  hideWindows_ ? FormatText(LookupText(keys::ServicesShown),
                                            {shown, all, platform::ToDecimal(hiddenCount_)})
                               : FormatText(LookupText(keys::RowsShown), {shown, all}));
}

void ServicesView::SetFilter(const std::wstring& filter)
{
    display_.filter = filter;
    if (shown_)
        Refresh();
}

std::vector<std::wstring> ServicesView::TakeUnasked(FileFactsTable& facts) const
{
    std::vector<std::wstring> unasked;
    for (int position = 1; position <= state_.List.Count(); ++position)
        if (const std::wstring& line = state_.List.Row(position).imagePath; facts.TakeUnasked(line))
            unasked.push_back(line);
    return unasked;
}

void ServicesView::FactsArrived()
{
    if (!shown_)
        return;
    if (hideWindows_ || display_.sort.column == ServicePublisher || !display_.filter.empty())
        Refresh();
    else
        InvalidateRect(main_.Control(IDC_LISTSERVICES), nullptr, FALSE);
}

void ServicesView::ApplyCaptions()
{
    HWND tabs = main_.Control(IDC_TABVIEWS);
    int index = 0;
    for (const keys::KeyText* tab : {&keys::StartupTab, &keys::ServicesTab})
        SetTabText(tabs, index++, LookupText(*tab));
    if (!main_.Control(IDC_LISTSERVICES))
        return;
    SetWindowTextW(main_.Control(IDC_CHKHIDEWINDOWS), LookupText(keys::HideWindowsServices).c_str());
    for (int c = 0; c < ServiceColumnCount; ++c)
        SetColumnHeader(main_.Control(IDC_LISTSERVICES), c, LookupText(ServiceColumnHeaders[c]));
}

LRESULT ServicesView::OnNotify(NMHDR* header)
{
    if (header->idFrom == IDC_TABVIEWS)
    {
        if (header->code == TCN_SELCHANGE)
            Show(TabCtrl_GetCurSel(header->hwndFrom) == 1);
        return 0;
    }
    switch (header->code)
    {
    case LVN_GETDISPINFOW: {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(header);
        const int row = display_.Position(info.item.iItem);
        AnswerCellText(info, row, state_.List.Count(), ServiceColumnCount,
                       [&] { return ServiceCellText(state_.List, main_.Facts(), row, info.item.iSubItem); });
        return 0;
    }
    case LVN_ODFINDITEMW:
        return AnswerFindItem(*reinterpret_cast<NMLVFINDITEMW*>(header), display_.Count(), [&](int index) {
            return ServiceCellText(state_.List, main_.Facts(), display_.Position(index), ServiceName);
        });
    case LVN_COLUMNCLICK:
        ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case NM_CUSTOMDRAW:
        return DrawMissingRows(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [this](int index) {
            const int row = display_.Position(index);
            const FileFacts* facts = row ? FactsOfRow(row) : nullptr;
            return facts && facts->state == FileFacts::State::Missing;
        });
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (!syncingSelection_ && (change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            SelectionChanged();
        return 0;
    }
    }
    return 0;
}

void ServicesView::SelectionChanged()
{
    const int selected = ListView_GetNextItem(main_.Control(IDC_LISTSERVICES), -1, LVNI_SELECTED);
    state_.List.Select(display_.Position(selected));
    if (selected < 0)
        return;
    SyncServiceButtons(state_, main_.State());
    main_.ShowButtons();
}

void ServicesView::ColumnClick(int column)
{
    display_.sort = NextSortOrder(display_.sort, column);
    SetSortArrow(main_.Control(IDC_LISTSERVICES), display_.sort);
    Refresh();
}

const FileFacts* ServicesView::FactsOfRow(int position) const
{
    return FactsOfService(state_.List, main_.Facts(), position);
}

void ServicesView::cmdDisable_Click()
{
    cmdServiceDisable_Click(state_, main_.State());
    Refresh();
    main_.ShowButtons();
}

void ServicesView::cmdReset_Click()
{
    ResetServices(state_);
    SyncServiceButtons(state_, main_.State());
    Refresh();
}

void ServicesView::chkHideWindows_Click()
{
    hideWindows_ = SendMessageW(main_.Control(IDC_CHKHIDEWINDOWS), BM_GETCHECK, 0, 0) == BST_CHECKED;
    Refresh();
}

void ServicesView::mnuServiceAutomatic_Click()
{
    const int position = state_.List.Selected();
    if (!position || !CanPickAutomatic(state_, position))
        return;
    // The pick is for an enable: choosing it stages one.
    ServiceRow& row = state_.List.Row(position);
    row.enableAutomatic = !row.enableAutomatic;
    if (row.enableAutomatic)
        StageService(state_, row.name, true);
    SyncServiceButtons(state_, main_.State());
    Refresh();
    main_.ShowButtons();
}

ServicesApplyResult ServicesView::mnuApply_Click()
{
    const ServicesApplyResult result = ApplyServices(state_);
    SetStatusText(main_.Control(IDC_STATUSBAR), 0, ServicesApplyText(result));
    SyncServiceButtons(state_, main_.State());
    Refresh();
    main_.ShowButtons();
    return result;
}

void ServicesView::mnuOpenLocation_Click()
{
    if (const int position = state_.List.Selected())
        OpenRegistryKey(main_.Handle(), HKEY_LOCAL_MACHINE,
                        platform::names::ServicesKey + state_.List.Row(position).name, main_.Jumps());
}

void ServicesView::mnuProperties_Click()
{
    if (const int position = state_.List.Selected())
        ShowProgramProperties(main_.Handle(), state_.List.Row(position).imagePath, main_.Jumps());
}

JumpChoices ServicesView::SelectedRowJumps() const
{
    const int position = state_.List.Selected();
    if (!position)
        return {};
    const FileFacts* facts = FactsOfRow(position);
    return {true, !facts || facts->state == FileFacts::State::Found};
}

void ServicesView::ShowRowMenu(LPARAM where)
{
    const int position = state_.List.Selected();
    if (!position)
        return;
    const RowMenuItem automatic{IDM_SERVICEAUTOMATIC, LookupText(keys::EnableAsAutomatic),
                                CanPickAutomatic(state_, position),
                                state_.List.Row(position).enableAutomatic};
    const int command = TrackJumpMenu(main_.Handle(), main_.Control(IDC_LISTSERVICES), where,
                                      SelectedRowJumps(), {&automatic, 1});
    if (command)
        SendMessageW(main_.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
