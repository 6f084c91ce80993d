// Paths from the Windows folder, the program folder and the names that are never translated.
#include "platform/Places.h"
#include "platform/Files.h"
#include "platform/Names.h"

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
