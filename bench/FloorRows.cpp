// The floors' reading of the startup places, as plain as a program can do it.
#include "FloorRows.h"

#include <shlobj.h>
#include <wrl/client.h>

namespace floors
{

namespace
{

constexpr PlaceWords UserRun{L"Registry(User Run)", L"Current User", L"Current User Logs On"};
constexpr PlaceWords MachineRun{L"Registry(Machine Run)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords MachineRunOnce{L"Registry(Machine RunOnce)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords MachineRunOnceEx{L"Registry(Machine RunOnceEx)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords MachineRunServices{L"Registry(Machine RunServices)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords MachineRun32{L"Registry(Machine Run 32-bit)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords MachineRunOnce32{L"Registry(Machine RunOnce 32-bit)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords UserRunOnce{L"Registry(User RunOnce)", L"Current User", L"Current User Logs On"};
constexpr PlaceWords UserPolicies{L"Registry(User Policies Run)", L"Current User", L"Current User Logs On"};
constexpr PlaceWords MachinePolicies{L"Registry(Machine Policies Run)", L"All Users", L"Any User Logs On"};
constexpr PlaceWords WinIniLoad{L"Win.ini Load", L"All users", L"Any User Logs On"};
constexpr PlaceWords WinIniRun{L"Win.ini Run", L"All users", L"Any User Logs On"};
constexpr PlaceWords UserStartUp{L"StartUp (Current User)", L"Current User", L"Current User Logs On"};
constexpr PlaceWords CommonStartUp{L"StartUp (All Users)", L"All Users", L"Any User Logs On"};

const std::wstring Base = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

void ReadKey(std::vector<Row>& rows, HKEY root, const std::wstring& path, const PlaceWords* place,
             REGSAM view = 0)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return;
    wchar_t name[261];
    BYTE data[4096];
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = 261, size = sizeof(data), type;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        rows.push_back({std::wstring(name, nameLength),
                        std::wstring(reinterpret_cast<wchar_t*>(data), size / 2), place});
    }
    RegCloseKey(key);
}

void ReadOtherPlaces(std::vector<Row>& rows, bool all)
{
    if (all)
    {
        ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"Run", &MachineRun32, KEY_WOW64_32KEY);
        ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"RunOnce", &MachineRunOnce32, KEY_WOW64_32KEY);
        ReadKey(rows, HKEY_CURRENT_USER, Base + L"RunOnce", &UserRunOnce);
        ReadKey(rows, HKEY_CURRENT_USER, Base + L"Policies\\Explorer\\Run", &UserPolicies);
        ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"Policies\\Explorer\\Run", &MachinePolicies);
        const size_t entries = rows.size();
        for (const wchar_t* key : {L"Run", L"StartupFolder"})
            ReadKey(rows, HKEY_CURRENT_USER, Base + L"Explorer\\StartupApproved\\" + key, nullptr);
        for (const wchar_t* key : {L"Run", L"Run32", L"StartupFolder"})
            ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"Explorer\\StartupApproved\\" + key, nullptr);
        rows.resize(entries); // the flags only mark rows
    }

    wchar_t windows[MAX_PATH], value[128];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring winIni = std::wstring(windows) + L"\\win.ini";
    for (const wchar_t* key : {L"Load", L"Run"})
        if (GetPrivateProfileStringW(L"Windows", key, L"", value, 128, winIni.c_str()) >= 2)
            rows.push_back({key, value, key[0] == L'L' ? &WinIniLoad : &WinIniRun});

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
            rows.push_back({data.cFileName, target, csidl == CSIDL_STARTUP ? &UserStartUp : &CommonStartUp});
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
}

} // namespace

std::vector<Row> ReadRows()
{
    std::vector<Row> rows;
    ReadKey(rows, HKEY_CURRENT_USER, Base + L"Run", &UserRun);
    ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"Run", &MachineRun);
    ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"RunOnce", &MachineRunOnce);
    ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"RunOnceEx", &MachineRunOnceEx);
    ReadKey(rows, HKEY_LOCAL_MACHINE, Base + L"RunServices", &MachineRunServices);
    wchar_t places[8] = {};
    GetEnvironmentVariableW(L"RAVELIN_FLOOR_PLACES", places, 8);
    if (lstrcmpW(places, L"nine") == 0 || lstrcmpW(places, L"all") == 0)
        ReadOtherPlaces(rows, places[0] == L'a');
    return rows;
}

void TellBench()
{
    for (const wchar_t* variable : {L"RAVELIN_BENCH_PAINTED", L"RAVELIN_BENCH_READY"})
    {
        wchar_t benchEvent[128];
        if (GetEnvironmentVariableW(variable, benchEvent, 128) - 1 >= 127)
            continue;
        HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, benchEvent);
        if (event)
            SetEvent(event), CloseHandle(event);
    }
}

} // namespace floors
