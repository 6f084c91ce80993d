// The list-alone floor of the fill benchmark: the least a program can do to show the startup
// places (FloorRows), a window holding an owner-data ListView and nothing else.
#include "FloorRows.h"

#include <commctrl.h>

namespace
{

std::vector<floors::Row> rows;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW)
    {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        const floors::Row& row = rows[info->item.iItem];
        if ((info->item.mask & LVIF_TEXT) && info->item.iSubItem < 2)
            lstrcpynW(info->item.pszText, (info->item.iSubItem ? row.command : row.name).c_str(),
                      info->item.cchTextMax);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{static_cast<DWORD>(sizeof(INITCOMMONCONTROLSEX)), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    rows = floors::ReadRows();

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"FloorList";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"FloorList", L"Floor", WS_OVERLAPPEDWINDOW, 0, 0, 800, 500, nullptr, nullptr,
                                instance, nullptr);
    HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                              780, 460, window, nullptr, instance, nullptr);
    for (int c = 0; c < 6; ++c)
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(L"Column");
        column.cx = 120;
        ListView_InsertColumn(list, c, &column);
    }
    ListView_SetItemCountEx(list, static_cast<int>(rows.size()), 0);
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    floors::TellBench();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
