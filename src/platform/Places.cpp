// Paths from the Windows folder, the program folder and the names that are never translated.
#include "platform/Places.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Registry.h"
#include "platform/Text.h"

#include <shlobj.h>

namespace platform
{

namespace
{
std::wstring& UserDataOverride()
{
    static std::wstring folder;
    return folder;
}
} // namespace

std::wstring UserDataFolder()
{
    return UserDataOverride().empty() ? GetSpecialFolderPath(CSIDL_APPDATA) + names::UserDataFolder
                                      : UserDataOverride();
}

void OverrideUserDataFolder(const std::wstring& folder)
{
    UserDataOverride() = folder;
}

std::wstring WinIniPath()
{
    return GetWindowsFolder() + names::WinIniFile;
}

std::wstring LangFolder()
{
    return ProgramFolder() + names::LangFolder;
}

std::wstring LangFile(std::wstring_view fileName)
{
    return LangFolder() + L"\\" + std::wstring(fileName);
}

std::wstring RunKeyPath(std::wstring_view key)
{
    return names::RunKeyBase + std::wstring(key);
}

std::wstring OwnRunValue(HKEY root, const wchar_t* name)
{
    RegValue value;
    if (ReadRegValue(root, RunKeyPath(L"Run"), name, value) != ERROR_SUCCESS)
        return {};
    return RenderRegData(value.type, value.data.data(), value.data.size());
}

DWORD SetOwnRunValue(HKEY root, const wchar_t* name, const std::wstring& line)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(line.c_str());
    return WriteRegValue(root, RunKeyPath(L"Run"),
                         {name, REG_SZ, {bytes, bytes + (line.size() + 1) * sizeof(wchar_t)}});
}

DWORD DeleteOwnRunValue(HKEY root, const wchar_t* name)
{
    const DWORD error = DeleteRegValue(root, RunKeyPath(L"Run"), name);
    return IsMissing(error) ? ERROR_SUCCESS : error;
}

bool IsOwnRunValue(HKEY root, std::wstring_view key, REGSAM view, std::wstring_view name)
{
    return view == 0 && key == L"Run" &&
           (EqualsNoCase(name, names::LauncherValue) ||
            (root == HKEY_CURRENT_USER && EqualsNoCase(name, names::WatchRunValue)));
}

std::wstring StoredRunKeyPath(std::wstring_view key, REGSAM view)
{
    std::wstring path = RunKeyPath(key);
    if (view == KEY_WOW64_32KEY)
        path.insert(path.find(L'\\') + 1, L"Wow6432Node\\");
    return path;
}

std::wstring ApprovedKeyPath(std::wstring_view subkey)
{
    return names::ApprovedKey + std::wstring(subkey);
}

} // namespace platform
