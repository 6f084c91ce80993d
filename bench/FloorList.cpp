// The floor of the fill benchmark: the least a program can do to show the five run keys, one
// RegEnumValueW pass per key for names and data, shown in an owner-data ListView.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

namespace {

std::vector<std::array<std::wstring, 2>> rows;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if ((info->item.mask & LVIF_TEXT) && info->item.iSubItem < 2)
            lstrcpynW(info->item.pszText, rows[info->item.iItem][info->item.iSubItem].c_str(), info->item.cchTextMax);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ReadKey(HKEY root, const wchar_t* path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    wchar_t name[261];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 261, size = sizeof(data), type;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        rows.push_back({std::wstring(name, nameLength), std::wstring(reinterpret_cast<wchar_t*>(data), size / 2)});
    }
    RegCloseKey(key);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{static_cast<DWORD>(sizeof(INITCOMMONCONTROLSEX)), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ReadKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    for (const wchar_t* key : {L"Run", L"RunOnce", L"RunOnceEx", L"RunServices"})
        ReadKey(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\") + key).c_str());

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"FloorList";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"FloorList", L"Floor", WS_OVERLAPPEDWINDOW, 0, 0, 800, 500, nullptr, nullptr,
                                instance, nullptr);
    HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 780, 460,
                              window, nullptr, instance, nullptr);
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(L"Column");
        column.cx = 120;
        ListView_InsertColumn(list, c, &column);
    }
    ListView_SetItemCountEx(list, static_cast<int>(rows.size()), 0);
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    wchar_t benchEvent[128];
    if (GetEnvironmentVariableW(L"RAVELIN_BENCH_PAINTED", benchEvent, 128) - 1 < 127) {
        HANDLE painted = OpenEventW(EVENT_MODIFY_STATE, FALSE, benchEvent);
        if (painted) SetEvent(painted), CloseHandle(painted);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
