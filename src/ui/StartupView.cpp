// The startup entries' view.
#include "ui/StartupView.h"
#include "i18n/DelayKeys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/StagingCommands.h"
#include "ui/FindControls.h"
#include "ui/Messages.h"
#include "ui/WindowLayout.h"
#include "ui/frmAddTask.h"
#include "ui/resource.h"

#include <algorithm>

namespace
{

// Status holds "Disabled", Load From "Registry(Machine RunOnce 32-bit)"; Status grows for a longer
// state of the rows (the note of a switch Windows does not honour, a delay), other long cells are cut.
constexpr ListColumn Columns[ShownColumnCount] = {
    {keys::TaskNameHeader, 150},  {keys::StatusHeader, 130}, {keys::LoadFromHeader, 220},
    {keys::UserHeader, 90},       {keys::WhenHeader, 140},   {keys::LocationHeader, 320},
    {keys::PublisherHeader, 150}, {keys::SignerHeader, 160}, {keys::ImpactHeader, 90}};
// Publisher, Signer and Impact stand next to Status, where they are seen without scrolling.
constexpr int ColumnOrder[ShownColumnCount] = {TaskName, Status, ImpactColumn, PublisherColumn, SignerColumn,
                                               LoadFrom, User,   When,         Location};

constexpr ControlDesign StartupListDesign{IDC_LISTSTARTUP, WC_LISTVIEWW, L"",
                                          WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                              LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                                          WS_EX_CLIENTEDGE};

} // namespace

void StartupView::CreateControls()
{
    if (!list_.Window())
        list_.Create(host_, StartupListDesign, Columns, 0, ColumnOrder);
}

void StartupView::Fill()
{
    words_ = LoadListWords();
    kind_.Fill();
    Refresh();
}

bool StartupView::Show(bool shown)
{
    CreateControls();
    ShowWindow(list_.Window(), shown ? SW_SHOW : SW_HIDE);
    if (shown)
        Refresh();
    return true;
}

bool StartupView::Owns(int controlId) const
{
    return controlId == IDC_LISTSTARTUP;
}

void StartupView::Refresh()
{
    StartupList& list = State().List;
    hiddenCount_ = list_.Display().Update(list, words_, host_.Facts(), host_.Hiding());
    list.Select(list_.Show(list.Selected()));
    std::vector<std::wstring> states;
    for (int row = 1; row <= list.Count(); ++row)
        if (std::wstring text = CellText(row, Status);
            std::find(states.begin(), states.end(), text) == states.end())
            states.push_back(std::move(text));
    list_.GrowColumnToFit(Status, states);
    host_.ViewChanged();
    host_.AskFacts(TakeUnasked(host_.Facts()));
}

std::wstring StartupView::RowCountText() const
{
    const std::wstring shown = platform::ToDecimal(list_.Display().Count()),
                       all = platform::ToDecimal(kind_.State().List.Count());
    return host_.Hiding().Any()
               ? FormatText(LookupText(keys::EntriesHidden), {shown, all, platform::ToDecimal(hiddenCount_)})
               : FormatText(LookupText(keys::RowsShown), {shown, all});
}

int StartupView::RowCount() const
{
    return kind_.State().List.Count();
}

std::wstring StartupView::CellText(int row, int column) const
{
    return ::CellText(kind_.State().List, words_, host_.Facts(), row, column);
}

RowMark StartupView::RowMarkOf(int row) const
{
    return MarkOf(FactsOfRow(kind_.State().List, host_.Facts(), row), host_.Facts());
}

void StartupView::RowSelected(int row)
{
    State().List.Select(row);
    if (!row)
        return;
    SyncButtonsToSelection(State());
    host_.ViewChanged();
    for (int id : {IDC_CMDDISABLE, IDC_CMDREMOVE, IDC_CMDRESET, IDC_CMDADDTASK})
        InvalidateRect(host_.Control(id), nullptr, TRUE);
}

void StartupView::RowInView(int row)
{
    // A row comes into view: its file is looked at now.
    if (const std::wstring& location = kind_.State().List.Row(row).location;
        host_.Facts().TakeUnasked(location))
        host_.AskFacts({location});
}

LRESULT StartupView::OnNotify(NMHDR* header)
{
    bool sorted = false;
    const LRESULT result = list_.OnNotify(header, *this, sorted);
    if (sorted)
        Refresh();
    return result;
}

void StartupView::ApplyCaptions()
{
    words_ = LoadListWords();
    for (int column : {PublisherColumn, SignerColumn, ImpactColumn})
        SetColumnHeader(list_.Window(), column, LookupText(keys::ColumnHeaders[column]));
    InvalidateRect(list_.Window(), nullptr, FALSE);
}

ViewButtons StartupView::Buttons() const
{
    return {kind_.State().Buttons, true, true};
}

void StartupView::cmdDisable_Click()
{
    // Enabling an entry of a program since uninstalled is asked first, No the default; the row
    // whose facts were just found turns red either way.
    if (EnablesMissingProgram(State(), host_.Facts()))
    {
        const StartupEntry& row = State().List.Row(State().List.Selected());
        if (ShowMessage(host_.Handle(), keys::ProgramGoneQuestion,
                        {std::wstring(platform::Trim(row.name)), row.location},
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return Refresh();
    }
    ToggleDisable(State());
    Refresh();
}

void StartupView::cmdRemove_Click()
{
    MarkForRemoval(State());
    Refresh();
}

void StartupView::cmdAddTask_Click()
{
    // The dialog appends its row itself; the buttons follow the next row click.
    frmAddTask::Show(host_.Handle(), State().List);
    Refresh();
}

JumpChoices StartupView::SelectedRowJumps() const
{
    const int row = kind_.State().List.Selected();
    if (row == 0)
        return {};
    const FileFacts* facts = FactsOfRow(kind_.State().List, host_.Facts(), row);
    // Facts not known yet are found when Properties is chosen.
    return {CanOpenLocation(kind_.State().List.Row(row)), !facts || facts->state == FileFacts::State::Found};
}

namespace
{

struct DelayItem
{
    UINT id;
    const keys::KeyText& words;
    int seconds;
};
const DelayItem DelayItems[] = {{IDM_DELAY10, keys::DelayTenSeconds, 10},
                                {IDM_DELAY30, keys::DelayThirtySeconds, 30},
                                {IDM_DELAY60, keys::DelayOneMinute, 60},
                                {IDM_DELAY120, keys::DelayTwoMinutes, 120}};

} // namespace

void StartupView::ShowRowMenu(LPARAM where)
{
    const int row = kind_.State().List.Selected();
    if (row == 0)
        return;
    // The delays, the row's own checked; a refused one says why when chosen.
    const StartupEntry& entry = kind_.State().List.Row(row);
    const bool delayed = entry.state == EntryState::Delayed;
    std::vector<RowMenuItem> more;
    for (const DelayItem& item : DelayItems)
        more.push_back({item.id, LookupText(keys::DelayMenu) + L": " + LookupText(item.words), true,
                        delayed && entry.delaySeconds == item.seconds});
    more.push_back({IDM_STARTATONCE, LookupText(keys::StartAtOnceItem), delayed, false});
    if (const int command = TrackJumpMenu(host_.Handle(), list_.Window(), where, SelectedRowJumps(), more))
        SendMessageW(host_.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void StartupView::OnCommand(int id, int)
{
    for (const DelayItem& item : DelayItems)
        if (static_cast<UINT>(id) == item.id)
            return mnuDelay_Click(item.seconds);
    if (id == IDM_STARTATONCE)
        mnuStartAtOnce_Click();
}

void StartupView::mnuDelay_Click(int seconds)
{
    const DelayRefusal refusal = DelaySelected(State(), seconds, host_.Facts());
    if (refusal != DelayRefusal::None && refusal != DelayRefusal::NoRow)
        ShowText(host_.Handle(), DelayRefusalText(refusal, State().List.Row(State().List.Selected())),
                 MB_OK | MB_ICONINFORMATION);
    Refresh();
}

void StartupView::mnuStartAtOnce_Click()
{
    const int row = State().List.Selected();
    if (row && State().List.State(row) == EntryState::Delayed)
        ToggleDisable(State());
    Refresh();
}

void StartupView::mnuOpenLocation_Click()
{
    if (const int row = kind_.State().List.Selected())
        OpenLocation(host_.Handle(), kind_.State().List.Row(row), host_.Jumps());
}

void StartupView::mnuProperties_Click()
{
    if (const int row = kind_.State().List.Selected())
    {
        const StartupList& list = kind_.State().List;
        const FileFacts* facts = FactsOfRow(list, host_.Facts(), row);
        WarnOfSigner(host_.Handle(), facts, host_.Facts());
        // What the entry cost the last logon, and from which record, before the file's own page.
        const bool disabled = list.State(row) == EntryState::Disabled;
        const EntryImpact impact = ImpactOfRow(list, host_.Facts(), row).value_or(EntryImpact{});
        ShowText(host_.Handle(),
                 ImpactDetailText(host_.Facts().Impact(), impact,
                                  facts && facts->state == FileFacts::State::Found, disabled),
                 MB_OK | MB_ICONINFORMATION);
        ShowProgramProperties(host_.Handle(), list.Row(row).location, host_.Jumps());
    }
}

bool StartupView::NeedsEveryFact() const
{
    const int sorted = list_.Display().sort.column;
    return sorted == PublisherColumn || sorted == SignerColumn || sorted == ImpactColumn ||
           !list_.Display().filter.empty() || host_.Hiding().Any();
}

std::vector<std::wstring> StartupView::TakeUnasked(FileFactsTable& facts)
{
    const StartupList& list = kind_.State().List;
    // Otherwise the rows in view need their answers, and each other row when it comes into view: a
    // long list is not read whole while the user waits for the window.
    if (NeedsEveryFact())
        return facts.TakeUnasked(list);
    std::vector<std::wstring> unasked;
    const auto [first, end] = list_.RowsInView();
    for (int index = first; index < end; ++index)
        if (const std::wstring& location = list.Row(list_.Display().Position(index)).location;
            facts.TakeUnasked(location))
            unasked.push_back(location);
    return unasked;
}

void StartupView::FactsArrived(const std::vector<std::wstring>& answered)
{
    // A publisher or a signer can move a row when the list is sorted, filtered or hidden by it.
    if (NeedsEveryFact())
        return Refresh();
    // Only the rows in view that were answered are painted again, not the header or the rest.
    const StartupList& list = kind_.State().List;
    list_.RedrawAnswered(answered, [&](int row) -> const std::wstring& { return list.Row(row).location; });
}

void StartupView::SetFilter(const std::wstring& filter)
{
    list_.Display().filter = filter;
    Refresh();
}

void StartupView::ReportProblems()
{
    const StartupState& state = kind_.State();
    // The realigned store is read whole and nothing needs an answer: said once, in the status bar,
    // so that a start with such a store opens no window but the main one.
    if (state.Store.Realigned && state.Store.ReadWhole() && !realignShown_)
    {
        realignShown_ = true;
        host_.SetStatus(FormatText(LookupText(keys::StoreRealigned), {StorePath(), StoreBackupPath()}));
    }
    // Once for as long as the store stays unreadable; again if it fails anew after a good read.
    if (state.Store.ReadWhole())
    {
        problemShown_ = false;
        return;
    }
    if (problemShown_)
        return;
    problemShown_ = true;
    const std::wstring text = StoreProblemText(state) + L"\r\n\r\n" + LookupText(keys::StoreLeftAlone);
    ShowText(host_.Handle(), text, MB_OK | MB_ICONWARNING);
}
