// Open location and Properties: the place comes from the source writers' table, so every source
// they know can be jumped to.
#include "ui/JumpToEntry.h"
#include "apply/SourceWriters.h"
#include "ui/EditHelpMenus.h"
#include "find/FileFacts.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace
{

std::wstring RootKeyName(HKEY root)
{
    if (root == HKEY_CURRENT_USER)
        return L"HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE)
        return L"HKEY_LOCAL_MACHINE";
    if (root == HKEY_USERS)
        return L"HKEY_USERS";
    return L"HKEY_CLASSES_ROOT";
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

// Explorer's arguments for a StartUp row: its shortcut selected, or a file of that very name,
// or else its folder.
std::wstring ExplorerArguments(const std::wstring& folder, const std::wstring& taskName)
{
    for (const std::wstring& file : {folder + L"\\" + taskName + L".lnk", folder + L"\\" + taskName})
        if (platform::FileExists(file))
            return L"/select," + Quoted(file);
    return Quoted(folder);
}

bool Start(HWND owner, const std::wstring& program, const std::wstring& arguments,
           const JumpLauncher& launcher)
{
    const DWORD error = launcher.startProgram(program, arguments);
    if (error != ERROR_SUCCESS)
        ExplainStartFailure(owner, program, arguments, error);
    return true;
}

} // namespace

JumpLauncher SystemLauncher()
{
    return {[](const std::wstring& program, const std::wstring& arguments) {
                return platform::StartProgram(program, arguments).error;
            },
            platform::ShowFileProperties};
}

std::wstring RegistryEditorPath(const std::wstring& lastKey, HKEY root, const std::wstring& keyPath)
{
    // The editor of Windows keeps "Computer\" (in the language of Windows) before the root, and
    // reads it back; Wine's keeps no such word and finds no key behind one. So the last key's own
    // form is kept, and without one the key stands alone.
    const size_t rootAt = platform::FindNoCase(lastKey, L"HKEY_");
    const std::wstring computer = rootAt != std::wstring::npos ? lastKey.substr(0, rootAt) : std::wstring();
    return computer + RootKeyName(root) + L"\\" + keyPath;
}

bool CanOpenLocation(const EntryRecord& row)
{
    return FindSourcePlace(row.source).has_value();
}

bool OpenLocation(HWND owner, const EntryRecord& row, const JumpLauncher& launcher)
{
    const std::optional<SourcePlace> place = FindSourcePlace(row.source);
    if (!place)
        return false;
    switch (place->kind)
    {
    case SourceKind::Registry:
        return OpenRegistryKey(owner, place->root, place->keyPath, launcher);
    case SourceKind::StartUp: {
        const std::wstring folder = platform::GetSpecialFolderPath(place->csidl);
        if (folder.empty())
            return false;
        return Start(owner, L"explorer.exe", ExplorerArguments(folder, row.name), launcher);
    }
    case SourceKind::WinIni:
        return Start(owner, L"notepad.exe", Quoted(platform::WinIniPath()), launcher);
    }
    return false;
}

bool OpenFileLocation(HWND owner, const std::wstring& folder, const std::wstring& fileName,
                      const JumpLauncher& launcher)
{
    return Start(owner, L"explorer.exe", ExplorerArguments(folder, fileName), launcher);
}

bool OpenRegistryKey(HWND owner, HKEY root, const std::wstring& keyPath, const JumpLauncher& launcher)
{
    platform::Reg settings;
    settings.RootKey(HKEY_CURRENT_USER);
    settings.KeyPath(platform::names::RegistryEditorKey);
    settings.ValueName(platform::names::RegistryEditorLastKey);
    settings.ValueData(RegistryEditorPath(settings.ReadValue(), root, keyPath));
    settings.WriteValue();
    return Start(owner, platform::GetWindowsFolder() + platform::names::RegistryEditorFile, {}, launcher);
}

bool ShowProgramProperties(HWND owner, const std::wstring& commandLine, const JumpLauncher& launcher)
{
    const FileFacts facts = ResolveFileFacts(commandLine);
    if (facts.state != FileFacts::State::Found)
        return false;
    return launcher.showProperties(owner, facts.file) == ERROR_SUCCESS;
}
