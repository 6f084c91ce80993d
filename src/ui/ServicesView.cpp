// The services' view: its controls, the list's answers, the commands on its rows.
#include "ui/ServicesView.h"
#include "find/ServiceDisplay.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

namespace
{

// Name holds "Windows Presentation Foundation Font Cache", Start type "Automatic (Delayed Start)".
constexpr int ColumnWidths[ServiceColumnCount] = {240, 80, 170, 80, 160, 160, 360};
const ListColumn Columns[ServiceColumnCount] = {
    {ServiceColumnHeaders[0], ColumnWidths[0]}, {ServiceColumnHeaders[1], ColumnWidths[1]},
    {ServiceColumnHeaders[2], ColumnWidths[2]}, {ServiceColumnHeaders[3], ColumnWidths[3]},
    {ServiceColumnHeaders[4], ColumnWidths[4]}, {ServiceColumnHeaders[5], ColumnWidths[5]},
    {ServiceColumnHeaders[6], ColumnWidths[6]}};

constexpr ControlDesign ServicesList{
    IDC_LISTSERVICES, WC_LISTVIEWW, L"",
    WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL, WS_EX_CLIENTEDGE};

} // namespace

void ServicesView::CreateControls()
{
    if (list_.Window())
        return;
    // Where the tab order wants it: after the first list.
    HWND list = list_.Create(host_, ServicesList, Columns, IDC_LISTSTARTUP);
    host_.FitInControls({list});
    list_.Display().filter = filter_;
    ApplyCaptions();
}

bool ServicesView::Show(bool shown)
{
    if (shown)
    {
        CreateControls();
        if (!kind_.Filled())
        {
            kind_.Fill();
            ReportProblems();
        }
        if (!kind_.Filled())
            return false;
    }
    shown_ = shown;
    ShowWindow(list_.Window(), shown ? SW_SHOW : SW_HIDE);
    if (shown)
        Refresh();
    return true;
}

bool ServicesView::Owns(int controlId) const
{
    return controlId == IDC_LISTSERVICES;
}

void ServicesView::ReportProblems()
{
    if (!kind_.Filled())
        return;
    const ServicesState& state = kind_.State();
    if (state.ListError != ERROR_SUCCESS)
        host_.SetStatus(FormatText(LookupText(keys::ServicesNotListed), {ErrorReasonText(state.ListError)}));
    else if (!state.StartsReadWhole())
        host_.SetStatus(StartsProblemText(state));
}

void ServicesView::Refresh()
{
    if (!kind_.Filled() || !list_.Window())
        return;
    host_.AskFacts(TakeUnasked(host_.Facts()));
    ServicesState& state = State();
    hiddenCount_ = UpdateServiceDisplay(list_.Display(), state.List, host_.Facts(), host_.Hiding());
    state.List.Select(list_.Show(state.List.Selected()));
    host_.ViewChanged();
}

std::wstring ServicesView::RowCountText() const
{
    const std::wstring shown = platform::ToDecimal(list_.Display().Count()),
                       all = platform::ToDecimal(kind_.State().List.Count());
    return host_.Hiding().Any()
               ? FormatText(LookupText(keys::EntriesHidden), {shown, all, platform::ToDecimal(hiddenCount_)})
               : FormatText(LookupText(keys::RowsShown), {shown, all});
}

void ServicesView::SetFilter(const std::wstring& filter)
{
    filter_ = filter;
    list_.Display().filter = filter;
    if (shown_)
        Refresh();
}

std::vector<std::wstring> ServicesView::TakeUnasked(FileFactsTable& facts)
{
    // All of its rows: they are few, and hiding Windows' own needs them.
    std::vector<std::wstring> unasked;
    const ServiceList& list = kind_.State().List;
    for (int position = 1; position <= list.Count(); ++position)
        if (std::wstring question = ServiceQuestion(list.Row(position)); facts.TakeUnasked(question))
            unasked.push_back(std::move(question));
    return unasked;
}

void ServicesView::FactsArrived(const std::vector<std::wstring>&)
{
    if (!shown_)
        return;
    const int sorted = list_.Display().sort.column;
    if (host_.Hiding().Any() || sorted == ServicePublisher || sorted == ServiceSigner ||
        !list_.Display().filter.empty())
        Refresh();
    else
        InvalidateRect(list_.Window(), nullptr, FALSE);
}

void ServicesView::ApplyCaptions()
{
    if (!list_.Window())
        return;
    list_.SetHeaders(Columns);
}

int ServicesView::RowCount() const
{
    return kind_.State().List.Count();
}

std::wstring ServicesView::CellText(int row, int column) const
{
    return ServiceCellText(kind_.State().List, host_.Facts(), row, column);
}

RowMark ServicesView::RowMarkOf(int row) const
{
    return MarkOf(FactsOfService(kind_.State().List, host_.Facts(), row), host_.Facts());
}

void ServicesView::RowSelected(int row)
{
    State().List.Select(row);
    if (!row)
        return;
    SyncServiceButtons(State());
    host_.ViewChanged();
}

LRESULT ServicesView::OnNotify(NMHDR* header)
{
    if (header->idFrom != IDC_LISTSERVICES)
        return 0;
    bool sorted = false;
    const LRESULT result = list_.OnNotify(header, *this, sorted);
    if (sorted)
        Refresh();
    return result;
}

void ServicesView::OnCommand(int id, int)
{
    if (id == IDM_SERVICEAUTOMATIC)
        mnuServiceAutomatic_Click();
}

ViewButtons ServicesView::Buttons() const
{
    // Services are neither removed nor added.
    return {kind_.State().Buttons, false, false};
}

void ServicesView::cmdDisable_Click()
{
    ToggleServiceDisable(State());
    Refresh();
}

void ServicesView::mnuServiceAutomatic_Click()
{
    ServicesState& state = State();
    const int position = state.List.Selected();
    if (!position || !CanPickAutomatic(state, position))
        return;
    // The pick is for an enable: choosing it stages one.
    ServiceRow& row = state.List.Row(position);
    row.enableAutomatic = !row.enableAutomatic;
    if (row.enableAutomatic)
        StageService(state, row.name, true);
    SyncServiceButtons(state);
    Refresh();
}

void ServicesView::mnuOpenLocation_Click()
{
    if (const int position = kind_.State().List.Selected())
        OpenRegistryKey(host_.Handle(), HKEY_LOCAL_MACHINE,
                        platform::names::ServicesKey + kind_.State().List.Row(position).name, host_.Jumps());
}

void ServicesView::mnuProperties_Click()
{
    if (const int position = kind_.State().List.Selected())
    {
        const ServiceList& list = kind_.State().List;
        WarnOfSigner(host_.Handle(), FactsOfService(list, host_.Facts(), position), host_.Facts());
        ShowProgramProperties(host_.Handle(), ServiceQuestion(list.Row(position)), host_.Jumps());
    }
}

JumpChoices ServicesView::SelectedRowJumps() const
{
    const int position = kind_.State().List.Selected();
    if (!position)
        return {};
    const FileFacts* facts = FactsOfService(kind_.State().List, host_.Facts(), position);
    return {true, !facts || facts->state == FileFacts::State::Found};
}

void ServicesView::ShowRowMenu(LPARAM where)
{
    const ServicesState& state = kind_.State();
    const int position = state.List.Selected();
    if (!position)
        return;
    const RowMenuItem automatic{IDM_SERVICEAUTOMATIC, LookupText(keys::EnableAsAutomatic),
                                CanPickAutomatic(state, position), state.List.Row(position).enableAutomatic};
    const int command =
        TrackJumpMenu(host_.Handle(), list_.Window(), where, SelectedRowJumps(), {&automatic, 1});
    if (command)
        SendMessageW(host_.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
