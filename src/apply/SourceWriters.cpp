// The source writers: the nine sources in the order their Load From texts are matched.
#include "apply/SourceWriters.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Shortcuts.h"

#include <shlobj.h>

namespace {

enum class Kind { Registry, StartUp, WinIni };
struct Source {
    Kind kind;
    HKEY root;           // registry
    const wchar_t* name; // the run key, or the win.ini key
    int csidl;           // StartUp folder
};

// The first whose Load From text matches wins.
const Source Sources[9] = {
    {Kind::Registry, HKEY_CURRENT_USER, L"Run", 0},
    {Kind::Registry, HKEY_LOCAL_MACHINE, L"Run", 0},
    {Kind::Registry, HKEY_LOCAL_MACHINE, L"RunOnce", 0},
    {Kind::Registry, HKEY_LOCAL_MACHINE, L"RunOnceEx", 0},
    {Kind::Registry, HKEY_LOCAL_MACHINE, L"RunServices", 0},
    {Kind::StartUp, nullptr, nullptr, CSIDL_STARTUP},
    {Kind::StartUp, nullptr, nullptr, CSIDL_COMMON_STARTUP},
    {Kind::WinIni, nullptr, L"Load", 0},
    {Kind::WinIni, nullptr, L"Run", 0},
};
constexpr wchar_t WinIniSection[] = L"Windows";

WriteResult FromError(DWORD error)
{
    return error == ERROR_SUCCESS ? WriteResult{} : WriteResult{WriteResult::Failed, error};
}

// A removal that finds nothing to remove leaves the place as it should be.
WriteResult FromRemoval(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {WriteResult::Absent, error};
    return FromError(error);
}

void SelectValue(platform::Reg& reg, const Source& source, const std::wstring& taskName)
{
    reg.RootKey(source.root);
    reg.KeyPath(platform::names::RunKeyBase + std::wstring(source.name));
    reg.ValueName(taskName);
}

std::wstring WinIniPath()
{
    return platform::GetWindowsFolder() + platform::names::WinIniFile;
}

// Empty when the folder cannot be found.
std::wstring ShortcutPath(const Source& source, const std::wstring& taskName)
{
    const std::wstring folder = platform::GetSpecialFolderPath(source.csidl);
    return folder.empty() ? folder : folder + L"\\" + taskName + L".lnk";
}

} // namespace

SourceWriter::SourceWriter(platform::Reg& reg) : reg_(reg)
{
    SourceNameTable names;
    LoadSourceNames(names);
    loadFromTexts_[0] = names[0];
    // Machine rows are known by their English names whatever the language.
    for (size_t i = 1; i <= 4; ++i)
        loadFromTexts_[i] = std::wstring(keys::MachineRegistry.text) + L"(Machine " + Sources[i].name + L")";
    for (size_t i = 5; i < 9; ++i) loadFromTexts_[i] = names[i - 1];
}

int SourceWriter::FindSource(const std::wstring& loadFrom) const
{
    for (size_t i = 0; i < loadFromTexts_.size(); ++i)
        if (loadFrom == loadFromTexts_[i]) return static_cast<int>(i);
    return -1;
}

WriteResult SourceWriter::RemoveFromSource(const EntryRecord& record)
{
    const int found = FindSource(record[LoadFrom]);
    if (found < 0) return {WriteResult::NoSource};
    const Source& source = Sources[found];
    switch (source.kind) {
    case Kind::Registry:
        SelectValue(reg_, source, record[TaskName]);
        return FromRemoval(static_cast<DWORD>(reg_.DeleteValue()));
    case Kind::StartUp: {
        const std::wstring path = ShortcutPath(source, record[TaskName]);
        if (path.empty()) return {WriteResult::Failed, ERROR_PATH_NOT_FOUND};
        // Not forced: a read-only shortcut stays where it is.
        return FromRemoval(platform::RemoveFile(path, false));
    }
    case Kind::WinIni:
        return FromError(ClearIniValue(WinIniSection, source.name, WinIniPath()));
    }
    return {WriteResult::NoSource};
}

WriteResult SourceWriter::WriteToSource(const EntryRecord& record)
{
    const int found = FindSource(record[LoadFrom]);
    if (found < 0) return {WriteResult::NoSource};
    const Source& source = Sources[found];
    switch (source.kind) {
    case Kind::Registry:
        SelectValue(reg_, source, record[TaskName]);
        reg_.ValueData(record[Location]);
        return FromError(static_cast<DWORD>(reg_.WriteValue()));
    case Kind::StartUp: {
        const std::wstring path = ShortcutPath(source, record[TaskName]);
        if (path.empty()) return {WriteResult::Failed, ERROR_PATH_NOT_FOUND};
        return FromError(CreateShortcutFile(path, record[Location]));
    }
    case Kind::WinIni:
        return FromError(WriteIniValue(WinIniSection, source.name, WinIniPath(), record[Location]));
    }
    return {WriteResult::NoSource};
}

WriteResult RemoveFromSource(const EntryRecord& record, platform::Reg& reg)
{
    return SourceWriter(reg).RemoveFromSource(record);
}

WriteResult WriteToSource(const EntryRecord& record, platform::Reg& reg)
{
    return SourceWriter(reg).WriteToSource(record);
}

DWORD ClearIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName)
{
    return platform::WriteProfileValue(section, key, L"", fileName);
}

DWORD WriteIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName,
                    const std::wstring& value)
{
    return platform::WriteProfileValue(section, key, value, fileName);
}

DWORD CreateShortcutFile(const std::wstring& shortcutPath, const std::wstring& target)
{
    const HRESULT hr = platform::WriteShortcut(shortcutPath, target);
    if (SUCCEEDED(hr)) return ERROR_SUCCESS;
    return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
}
