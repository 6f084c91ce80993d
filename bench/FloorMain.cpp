// The same-controls floor of the fill benchmark: every control the main window shows at its start,
// made the plain way with no program logic. The menu bar, the heading and the note, the filter
// with its cue, a tab strip of three views, the owner-data list of eight columns over the rows the
// list-alone floor reads (FloorRows), the four buttons, the owner-draw language selector with the
// shipped flags, the two boxes that hide entries, the status bar of two parts; the message font on every
// control, each placed from the main window's design (780x462 at 96 DPI) in the window the system sizes, as
// the program does.
#include "FloorRows.h"
#include "i18n/Keys.h"
#include "platform/Names.h"

#include <commctrl.h>

#include <string>

namespace
{

constexpr int DesignWidth = 780, DesignHeight = 462;
constexpr int FlagWidth = 24, FlagHeight = 16;
enum Anchor : unsigned
{
    L = 1,
    T = 2,
    R = 4,
    B = 8
};
struct Control
{
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    unsigned anchors;
};
enum Id
{
    Heading = 1,
    Note,
    Filter,
    List,
    Tabs,
    Disable,
    Remove,
    Reset,
    AddTask,
    LanguageLabel,
    Combo,
    HideWindows,
    HideVerified,
    StatusBar
};
// In the program's order of making, which is its tab order.
constexpr Control Controls[] = {
    {WC_STATICW, keys::ProgramsLabel.text, SS_LEFT | SS_NOPREFIX, 0, 10, 10, 220, 18, L | T},
    {WC_STATICW, keys::NoteLabel.text, SS_RIGHT | SS_NOPREFIX, 0, 250, 10, 520, 18, R | T},
    {WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 32, 240, 22, L | T},
    {WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
     WS_EX_CLIENTEDGE, 10, 84, 760, 268, L | T | R | B},
    {WC_TABCONTROLW, L"", WS_TABSTOP | TCS_TABS, 0, 10, 60, 760, 24, L | T | R},
    {WC_BUTTONW, keys::DisableButton.text, WS_TABSTOP | BS_PUSHBUTTON, 0, 10, 362, 100, 26, L | B},
    {WC_BUTTONW, keys::RemoveButton.text, WS_TABSTOP | BS_PUSHBUTTON, 0, 116, 362, 100, 26, L | B},
    {WC_BUTTONW, keys::ResetButton.text, WS_TABSTOP | BS_PUSHBUTTON, 0, 222, 362, 100, 26, L | B},
    {WC_BUTTONW, keys::AddTaskButton.text, WS_TABSTOP | BS_PUSHBUTTON, 0, 328, 362, 100, 26, L | B},
    {WC_STATICW, keys::LanguageLabel.text, SS_LEFT | SS_NOPREFIX, 0, 10, 405, 110, 18, L | B},
    {WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
     124, 400, 180, 200, L | B},
    {WC_BUTTONW, keys::HideWindowsEntries.text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, 330, 403, 210, 20, L | B},
    {WC_BUTTONW, keys::HideVerifiedEntries.text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, 550, 403, 220, 20, L | B},
    {STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, 0, 440, 780, 22, L | R | B},
};
static_assert(std::size(Controls) == StatusBar, "a control for every id");

struct MenuItem
{
    UINT id; // 0 starts a menu of the bar
    const wchar_t* text;
    bool grayed = false;
};
constexpr MenuItem Menus[] = {
    {0, keys::EditMenu.text},       {1, keys::AutoexecItem.text},      {2, keys::ConfigItem.text},
    {3, keys::RegistryItem.text},   {4, keys::OpenLocation.text},      {5, keys::Properties.text},
    {0, keys::ProfileMenu.text},    {6, keys::SaveProfileItem.text},   {7, keys::LoadProfileItem.text},
    {0, keys::ApplyMenu.text},      {8, keys::ApplyRestartItem.text},  {9, keys::ApplyLogOffItem.text},
    {10, keys::ApplyExitItem.text}, {11, keys::JustApplyItem.text},    {0, keys::HelpMenu.text},
    {12, keys::HelpIndexItem.text}, {13, keys::UpdateItem.text, true}, {14, keys::VisitItem.text, true},
    {15, keys::AboutItem.text},
};

// The columns as the program has them: widths, and Impact, Publisher and Signer shown next to Status.
constexpr int ColumnWidths[] = {150, 130, 220, 90, 140, 320, 150, 160, 90};
constexpr int ColumnOrder[] = {0, 1, 8, 6, 7, 2, 3, 4, 5};
static_assert(std::size(ColumnWidths) == std::size(keys::ColumnHeaders));

std::vector<floors::Row> rows;
HIMAGELIST flags;
UINT dpi = 96;

int Scale(int value)
{
    return MulDiv(value, static_cast<int>(dpi), 96);
}

HMENU MakeMenuBar()
{
    HMENU bar = CreateMenu(), popup = nullptr;
    for (const MenuItem& item : Menus)
    {
        if (item.id == 0)
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup = CreatePopupMenu()),
                        item.text);
        else
            AppendMenuW(popup, MF_STRING | (item.grayed ? MF_GRAYED : 0), 100 + item.id, item.text);
    }
    return bar;
}

// Each control at its design place, moved or stretched by the growth of the client area over the
// design on the sides it is anchored to.
void MakeControls(HWND window, HINSTANCE instance)
{
    RECT client;
    GetClientRect(window, &client);
    const int growX = MulDiv(client.right, 96, static_cast<int>(dpi)) - DesignWidth;
    const int growY = MulDiv(client.bottom, 96, static_cast<int>(dpi)) - DesignHeight;
    for (int id = Heading; id <= StatusBar; ++id)
    {
        const Control& c = Controls[id - 1];
        int x = c.x, y = c.y, w = c.width, h = c.height;
        if (c.anchors & R)
            (c.anchors & L ? w : x) += growX;
        if (c.anchors & B)
            (c.anchors & T ? h : y) += growY;
        CreateWindowExW(c.exStyle, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, Scale(x), Scale(y),
                        Scale(w), Scale(h), window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        instance, nullptr);
    }
}

void FillList(HWND list)
{
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER);
    for (int c = 0; c < static_cast<int>(std::size(ColumnWidths)); ++c)
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(keys::ColumnHeaders[c].text);
        column.cx = Scale(ColumnWidths[c]);
        column.iSubItem = c;
        ListView_InsertColumn(list, c, &column);
    }
    ListView_SetColumnOrderArray(list, static_cast<int>(std::size(ColumnOrder)),
                                 const_cast<int*>(ColumnOrder));
    ListView_SetItemCountEx(list, static_cast<int>(rows.size()), 0);
}

const wchar_t* CellText(const floors::Row& row, int column)
{
    switch (column)
    {
    case 0:
        return row.name.c_str();
    case 1:
        return keys::Enabled.text;
    case 2:
        return row.place ? row.place->loadFrom : L"";
    case 3:
        return row.place ? row.place->user : L"";
    case 4:
        return row.place ? row.place->when : L"";
    case 5:
        return row.command.c_str();
    }
    return L""; // the publisher is found later
}

// The packs of the program folder's Lang folder, each with the flag of its name, as the program
// shows them; the program's pack chosen.
void FillLanguages(HWND combo)
{
    wchar_t exe[MAX_PATH];
    std::wstring folder(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    folder = folder.substr(0, folder.find_last_of(L'\\')) + L"\\Ravelin\\Lang\\";
    flags = ImageList_Create(Scale(FlagWidth), Scale(FlagHeight), ILC_COLOR32, 4, 4);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.ini").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        std::wstring name = found.cFileName;
        name.resize(name.size() - 4);
        auto* bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, (folder + name + L".bmp").c_str(),
                                                       IMAGE_BITMAP, Scale(FlagWidth), Scale(FlagHeight),
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        const int image = bitmap ? ImageList_Add(flags, bitmap, nullptr) : -1;
        DeleteObject(bitmap);
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(combo, CB_SETITEMDATA, at, image);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    SendMessageW(combo, CB_SETMINVISIBLE, 10, 0);
    SendMessageW(combo, CB_SETCURSEL,
                 SendMessageW(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"English")), 0);
}

void DrawLanguage(const DRAWITEMSTRUCT& item)
{
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(item.itemID) < 0)
        return;
    RECT text = item.rcItem;
    text.left += 2;
    if (static_cast<int>(item.itemData) >= 0)
    {
        ImageList_Draw(flags, static_cast<int>(item.itemData), item.hDC, text.left,
                       (item.rcItem.top + item.rcItem.bottom - Scale(FlagHeight)) / 2, ILD_NORMAL);
        text.left += Scale(FlagWidth) + 4;
    }
    wchar_t name[64] = {};
    if (SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0) < 64)
        SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(name));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NOTIFY:
        if (auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT))
            lstrcpynW(info->item.pszText, CellText(rows[info->item.iItem], info->item.iSubItem),
                      info->item.cchTextMax);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = Scale(FlagHeight + 4);
        return TRUE;
    case WM_DRAWITEM:
        DrawLanguage(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{static_cast<DWORD>(sizeof(INITCOMMONCONTROLSEX)),
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                      ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    rows = floors::ReadRows();

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = L"FloorMain";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"FloorMain", platform::names::AppTitle,
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, MakeMenuBar(), instance, nullptr);
    dpi = GetDpiForWindow(window);
    MakeControls(window, instance);

    FillList(GetDlgItem(window, List));
    for (const wchar_t* tab : {keys::StartupTab.text, keys::ServicesTab.text, L"Scheduled tasks"})
    {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(tab);
        TabCtrl_InsertItem(GetDlgItem(window, Tabs), TabCtrl_GetItemCount(GetDlgItem(window, Tabs)), &item);
    }
    SendMessageW(GetDlgItem(window, Filter), EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(keys::FilterCue.text));
    FillLanguages(GetDlgItem(window, Combo));

    RECT client;
    GetClientRect(window, &client);
    HWND status = GetDlgItem(window, StatusBar);
    int parts[2] = {client.right - Scale(170), -1};
    SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    const std::wstring count = std::to_wstring(rows.size());
    std::wstring shown = keys::RowsShown.text;
    for (const wchar_t* mark : {L"%1", L"%2"})
        shown.replace(shown.find(mark), 2, count);
    SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(shown.c_str()));

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    EnumChildWindows(
        window,
        [](HWND child, LPARAM font) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));

    ShowWindow(window, showCommand);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    floors::TellBench();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (IsDialogMessageW(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
