// The scheduled tasks' view: its controls, the list's answers, the commands on its rows.
#include "ui/TasksView.h"
#include "find/TaskDisplay.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"
#include "staging/TaskStaging.h"
#include "ui/Captions.h"
#include "ui/FindControls.h"
#include "ui/WindowLayout.h"
#include "ui/resource.h"

namespace
{

// Name holds "Daily Notes at Logon", Folder "\Microsoft\Windows\UpdateOrchestrator".
constexpr int ColumnWidths[TaskColumnCount] = {200, 70, 70, 110, 180, 150, 160, 320, 90};
const ListColumn Columns[TaskColumnCount] = {
    {TaskColumnHeaders[0], ColumnWidths[0]}, {TaskColumnHeaders[1], ColumnWidths[1]},
    {TaskColumnHeaders[2], ColumnWidths[2]}, {TaskColumnHeaders[3], ColumnWidths[3]},
    {TaskColumnHeaders[4], ColumnWidths[4]}, {TaskColumnHeaders[5], ColumnWidths[5]},
    {TaskColumnHeaders[6], ColumnWidths[6]}, {TaskColumnHeaders[7], ColumnWidths[7]},
    {TaskColumnHeaders[8], ColumnWidths[8]}};

constexpr ControlDesign AllBox{IDC_CHKALLTASKS, WC_BUTTONW, keys::ShowAllTasks.text,
                               WS_TABSTOP | BS_AUTOCHECKBOX};
constexpr ControlDesign TasksList{IDC_LISTTASKS, WC_LISTVIEWW, L"",
                                  WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                                  WS_EX_CLIENTEDGE};

} // namespace

void TasksView::CreateControls()
{
    if (list_.Window())
        return;
    HWND list = list_.Create(host_, TasksList, Columns, IDC_LISTSTARTUP);
    host_.FitInControls({host_.MakeControl(AllBox, IDC_TXTFILTER), list});
    list_.Display().filter = filter_;
    ApplyCaptions();
}

bool TasksView::Show(bool shown)
{
    if (shown)
    {
        CreateControls();
        if (!kind_.Filled())
        {
            kind_.Fill();
            ReportProblems();
        }
    }
    shown_ = shown;
    ShowWindow(list_.Window(), shown ? SW_SHOW : SW_HIDE);
    ShowWindow(host_.Control(IDC_CHKALLTASKS), shown ? SW_SHOW : SW_HIDE);
    if (shown)
        Refresh();
    return true;
}

bool TasksView::Owns(int controlId) const
{
    return controlId == IDC_LISTTASKS || controlId == IDC_CHKALLTASKS;
}

void TasksView::ReportProblems()
{
    const TasksState& state = kind_.State();
    if (!kind_.Filled() || state.FolderErrors.empty())
        return;
    const platform::TaskFolderError& first = state.FolderErrors.front();
    host_.SetStatus(
        FormatText(LookupText(keys::TasksNotListed), {first.folder, ErrorReasonText(first.error)}));
}

void TasksView::Refresh()
{
    if (!kind_.Filled() || !list_.Window())
        return;
    host_.AskFacts(TakeUnasked(host_.Facts()));
    TasksState& state = State();
    leftOut_ =
        UpdateTaskDisplay(list_.Display(), state.List, host_.Facts(), all_, host_.Hiding(), &hiddenCount_);
    state.List.Select(list_.Show(state.List.Selected()));
    host_.ViewChanged();
}

std::wstring TasksView::RowCountText() const
{
    const std::wstring shown = platform::ToDecimal(list_.Display().Count()),
                       all = platform::ToDecimal(kind_.State().List.Count());
    const std::wstring left = platform::ToDecimal(leftOut_), hidden = platform::ToDecimal(hiddenCount_);
    if (host_.Hiding().Any())
        return leftOut_ ? FormatText(LookupText(keys::TasksHidden), {shown, all, left, hidden})
                        : FormatText(LookupText(keys::EntriesHidden), {shown, all, hidden});
    return leftOut_ ? FormatText(LookupText(keys::TasksShown), {shown, all, left})
                    : FormatText(LookupText(keys::RowsShown), {shown, all});
}

void TasksView::SetFilter(const std::wstring& filter)
{
    filter_ = filter;
    list_.Display().filter = filter;
    if (shown_)
        Refresh();
}

std::vector<std::wstring> TasksView::TakeUnasked(FileFactsTable& facts)
{
    // All of its rows: they are few.
    std::vector<std::wstring> unasked;
    const TaskList& list = kind_.State().List;
    for (int position = 1; position <= list.Count(); ++position)
        if (const std::wstring& command = list.Row(position).command;
            !command.empty() && facts.TakeUnasked(command))
            unasked.push_back(command);
    return unasked;
}

void TasksView::FactsArrived(const std::vector<std::wstring>&)
{
    if (!shown_)
        return;
    const int sorted = list_.Display().sort.column;
    if (host_.Hiding().Any() || sorted == TaskPublisher || sorted == TaskSigner ||
        !list_.Display().filter.empty())
        Refresh();
    else
        InvalidateRect(list_.Window(), nullptr, FALSE);
}

void TasksView::ApplyCaptions()
{
    if (!list_.Window())
        return;
    SetWindowTextW(host_.Control(IDC_CHKALLTASKS), LookupText(keys::ShowAllTasks).c_str());
    list_.SetHeaders(Columns);
}

int TasksView::RowCount() const
{
    return kind_.State().List.Count();
}

std::wstring TasksView::CellText(int row, int column) const
{
    return TaskCellText(kind_.State().List, host_.Facts(), row, column);
}

RowMark TasksView::RowMarkOf(int row) const
{
    return MarkOf(FactsOfTask(kind_.State().List, host_.Facts(), row), host_.Facts());
}

void TasksView::RowSelected(int row)
{
    State().List.Select(row);
    if (!row)
        return;
    SyncTaskButtons(State());
    host_.ViewChanged();
}

LRESULT TasksView::OnNotify(NMHDR* header)
{
    if (header->idFrom != IDC_LISTTASKS)
        return 0;
    bool sorted = false;
    const LRESULT result = list_.OnNotify(header, *this, sorted);
    if (sorted)
        Refresh();
    return result;
}

void TasksView::OnCommand(int id, int)
{
    if (id != IDC_CHKALLTASKS)
        return;
    all_ = SendMessageW(host_.Control(IDC_CHKALLTASKS), BM_GETCHECK, 0, 0) == BST_CHECKED;
    Refresh();
}

ViewButtons TasksView::Buttons() const
{
    // Tasks are neither removed nor added here.
    return {kind_.State().Buttons, false, false};
}

void TasksView::cmdDisable_Click()
{
    ToggleTaskDisable(State());
    Refresh();
}

void TasksView::mnuOpenLocation_Click()
{
    if (const int position = kind_.State().List.Selected())
    {
        const platform::TaskInfo& task = kind_.State().List.Row(position).task;
        const std::wstring folder = platform::TaskFilesFolder() + (task.folder == L"\\" ? L"" : task.folder);
        OpenFileLocation(host_.Handle(), folder, task.name, host_.Jumps());
    }
}

void TasksView::mnuProperties_Click()
{
    if (const int position = kind_.State().List.Selected())
    {
        WarnOfSigner(host_.Handle(), FactsOfTask(kind_.State().List, host_.Facts(), position), host_.Facts());
        ShowProgramProperties(host_.Handle(), kind_.State().List.Row(position).command, host_.Jumps());
    }
}

JumpChoices TasksView::SelectedRowJumps() const
{
    const int position = kind_.State().List.Selected();
    if (!position)
        return {};
    const FileFacts* facts = FactsOfTask(kind_.State().List, host_.Facts(), position);
    return {true, !kind_.State().List.Row(position).command.empty() &&
                      (!facts || facts->state == FileFacts::State::Found)};
}

void TasksView::ShowRowMenu(LPARAM where)
{
    if (!kind_.State().List.Selected())
        return;
    if (const int command = TrackJumpMenu(host_.Handle(), list_.Window(), where, SelectedRowJumps()))
        SendMessageW(host_.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
