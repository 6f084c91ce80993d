// The floor of the fill benchmark: the least a program can do to show the five run keys, one
// RegEnumValueW pass per key for names and data, shown in an owner-data ListView. With
// RAVELIN_FLOOR_PLACES=nine it also shows win.ini and the StartUp folders' targets, the nine places
// of builds before the 32-bit keys; with =all every place: the other run keys (the machine's
// through its 32-bit view too) and Windows' own flags besides.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <array>
#include <string>
#include <vector>

namespace
{

std::vector<std::array<std::wstring, 2>> rows;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW)
    {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if ((info->item.mask & LVIF_TEXT) && info->item.iSubItem < 2)
            lstrcpynW(info->item.pszText, rows[info->item.iItem][info->item.iSubItem].c_str(),
                      info->item.cchTextMax);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ReadKey(HKEY root, const wchar_t* path, REGSAM view = 0)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return;
    wchar_t name[261];
    BYTE data[4096];
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = 261, size = sizeof(data), type;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        rows.push_back(
            {std::wstring(name, nameLength), std::wstring(reinterpret_cast<wchar_t*>(data), size / 2)});
    }
    RegCloseKey(key);
}

void ReadOtherPlaces(bool all)
{
    const std::wstring base = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
    if (all)
    {
        for (const wchar_t* key : {L"Run", L"RunOnce"})
            ReadKey(HKEY_LOCAL_MACHINE, (base + key).c_str(), KEY_WOW64_32KEY);
        ReadKey(HKEY_CURRENT_USER, (base + L"RunOnce").c_str());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            ReadKey(root, (base + L"Policies\\Explorer\\Run").c_str());
        const size_t entries = rows.size();
        for (const wchar_t* key : {L"Run", L"StartupFolder"})
            ReadKey(HKEY_CURRENT_USER, (base + L"Explorer\\StartupApproved\\" + key).c_str());
        for (const wchar_t* key : {L"Run", L"Run32", L"StartupFolder"})
            ReadKey(HKEY_LOCAL_MACHINE, (base + L"Explorer\\StartupApproved\\" + key).c_str());
        rows.resize(entries); // the flags only mark rows
    }

    wchar_t windows[MAX_PATH], value[128];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring winIni = std::wstring(windows) + L"\\win.ini";
    for (const wchar_t* key : {L"Load", L"Run"})
        if (GetPrivateProfileStringW(L"Windows", key, L"", value, 128, winIni.c_str()) >= 2)
            rows.push_back({key, value});

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)))
        return;
    for (int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP})
    {
        wchar_t folder[MAX_PATH];
        if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, folder)))
            continue;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((std::wstring(folder) + L"\\*.*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            wchar_t target[MAX_PATH] = {};
            if (SUCCEEDED(file->Load((std::wstring(folder) + L"\\" + data.cFileName).c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            rows.push_back({data.cFileName, target});
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{static_cast<DWORD>(sizeof(INITCOMMONCONTROLSEX)), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ReadKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    for (const wchar_t* key : {L"Run", L"RunOnce", L"RunOnceEx", L"RunServices"})
        ReadKey(HKEY_LOCAL_MACHINE,
                (std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\") + key).c_str());
    wchar_t places[8] = {};
    GetEnvironmentVariableW(L"RAVELIN_FLOOR_PLACES", places, 8);
    if (lstrcmpW(places, L"nine") == 0 || lstrcmpW(places, L"all") == 0)
        ReadOtherPlaces(places[0] == L'a');

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
    // Painted, and with no start work left: both of the benchmark's events at once.
    for (const wchar_t* variable : {L"RAVELIN_BENCH_PAINTED", L"RAVELIN_BENCH_READY"})
    {
        wchar_t benchEvent[128];
        if (GetEnvironmentVariableW(variable, benchEvent, 128) - 1 >= 127)
            continue;
        HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, benchEvent);
        if (event)
            SetEvent(event), CloseHandle(event);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
