// Emptying the benchmark prefix's startup places, the store and its copies.
#include "PrefixState.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "staging/EntryStore.h"

#include <shellapi.h>
#include <shlobj.h>

namespace bench
{

const std::wstring RunKeyBase = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

const Place AllPlaces[14] = {
    {HKEY_CURRENT_USER, L"Run", 0, L"Run", 0, nullptr, HKEY_CURRENT_USER},
    {HKEY_LOCAL_MACHINE, L"Run", 0, L"Run", 0, nullptr, HKEY_LOCAL_MACHINE},
    {HKEY_LOCAL_MACHINE, L"RunOnce", 0, nullptr, 0, nullptr},
    {HKEY_LOCAL_MACHINE, L"RunOnceEx", 0, nullptr, 0, nullptr},
    {HKEY_LOCAL_MACHINE, L"RunServices", 0, nullptr, 0, nullptr},
    {HKEY_LOCAL_MACHINE, L"Run", KEY_WOW64_32KEY, L"Run32", 0, nullptr, HKEY_LOCAL_MACHINE},
    {HKEY_LOCAL_MACHINE, L"RunOnce", KEY_WOW64_32KEY, nullptr, 0, nullptr},
    {HKEY_CURRENT_USER, L"RunOnce", 0, nullptr, 0, nullptr},
    {HKEY_CURRENT_USER, L"Policies\\Explorer\\Run", 0, nullptr, 0, nullptr},
    {HKEY_LOCAL_MACHINE, L"Policies\\Explorer\\Run", 0, nullptr, 0, nullptr},
    {nullptr, nullptr, 0, nullptr, 0, L"Load"},
    {nullptr, nullptr, 0, nullptr, 0, L"Run"},
    {nullptr, nullptr, 0, L"StartupFolder", CSIDL_STARTUP, nullptr, HKEY_CURRENT_USER},
    {nullptr, nullptr, 0, L"StartupFolder", CSIDL_COMMON_STARTUP, nullptr, HKEY_LOCAL_MACHINE},
};

namespace
{

void RemoveTree(const std::wstring& path)
{
    if (!platform::FolderExists(path))
        return;
    std::wstring from = path + L'\0'; // the list ends with a second null
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

} // namespace

void ResetPrefixState()
{
    const std::wstring winIni = platform::GetWindowsFolder() + platform::names::WinIniFile;
    for (const Place& place : AllPlaces)
    {
        if (place.root)
        {
            HKEY key;
            if (RegOpenKeyExW(place.root, (RunKeyBase + place.key).c_str(), 0, KEY_ALL_ACCESS | place.view,
                              &key) == ERROR_SUCCESS)
            {
                RegDeleteTreeW(key, nullptr);
                RegCloseKey(key);
            }
        }
        else if (place.iniKey)
        {
            WritePrivateProfileStringW(L"Windows", place.iniKey, nullptr, winIni.c_str());
        }
        else
        {
            const std::wstring folder = platform::GetSpecialFolderPath(place.csidl);
            for (const std::wstring& name : platform::ListFolderFiles(folder).names)
                platform::RemoveFile(folder + L"\\" + name, true);
        }
        if (place.approved)
            RegDeleteTreeW(place.approvedRoot,
                           (std::wstring(platform::names::ApprovedKey) + place.approved).c_str());
    }
    platform::RemoveFile(StorePath(), true);
    RemoveTree(platform::UserDataFolder());
    std::wstring copies = platform::GetWindowsFolder() + platform::names::CopiesFolder;
    copies.pop_back(); // the trailing separator
    RemoveTree(copies);
    std::wstring copiesKey = platform::names::CopiesKey;
    copiesKey.pop_back();
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        RegDeleteTreeW(root, copiesKey.c_str());
}

} // namespace bench
