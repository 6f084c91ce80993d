// The source writers: each source of the table.
#include "apply/SourceWriters.h"
#include "model/StartupSource.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Shortcuts.h"
#include "platform/StartupSwitch.h"

#include "inventory/Scanners.h"
#include "platform/Registry.h"
#include "platform/Text.h"

#include <shlobj.h>

#include <unordered_set>

namespace
{

WriteResult FromError(DWORD error)
{
    return error == ERROR_SUCCESS ? WriteResult{} : WriteResult{WriteResult::Failed, error};
}

// A setting of a place (RunOnceEx's Flags and Title) is no entry: it is never written or taken out.
WriteResult PlaceSetting()
{
    return {WriteResult::PlaceSetting};
}

// A removal that finds nothing to remove leaves the place as it should be.
WriteResult FromRemoval(DWORD error)
{
    if (platform::IsMissing(error))
        return {WriteResult::Absent, error};
    return FromError(error);
}

using enum SourceKind;
using Source = StartupSource;

// Empty when the folder cannot be found.
std::wstring ShortcutPath(const Source& source, const std::wstring& taskName)
{
    const std::wstring folder = platform::GetSpecialFolderPath(source.csidl);
    return folder.empty() ? folder : folder + L"\\" + taskName + L".lnk";
}

std::wstring WinIniValue(const Source& source)
{
    return platform::ReadProfileValue(platform::names::WinIniSection, source.key, platform::WinIniPath(),
                                      32767);
}

// Whether a row's text stands for an entry whose own text is shown: the same, or the same but for
// how its lines end, or its first line alone (as an older build's store cut it).
bool StandsFor(const std::wstring& location, const std::wstring& shown)
{
    if (location == shown || platform::NormalizeLineBreaks(location) == platform::NormalizeLineBreaks(shown))
        return true;
    const size_t end = shown.find_first_of(L"\r\n");
    return end != std::wstring::npos && shown.compare(0, end, location) == 0;
}

// The copy of a value, when there is one and the row's text stands for it: it goes back whole,
// type and bytes, where the text could not show it.
bool CopiedValue(platform::Reg& copies, const Source& source, const EntryRecord& record,
                 platform::RegValue& copy)
{
    if (ReadExactCopy(source, record.name, copy, copies) != ERROR_SUCCESS)
        return false;
    const std::wstring text = platform::RenderRegData(copy.type, copy.data.data(), copy.data.size());
    return StandsFor(record.location, source.kind == Registry ? text : text.substr(0, WinIniReadSize - 1));
}

DWORD CopyFileBytes(const std::wstring& from, const std::wstring& to)
{
    std::string bytes;
    if (const DWORD error = platform::ReadWholeFile(from, bytes))
        return error;
    return platform::ReplaceFileAtomically(to, bytes);
}

size_t IndexOf(const Source& source)
{
    return static_cast<size_t>(&source - StartupSources.data());
}

} // namespace

// The key of the source that holds the entry, and its name there.
void SourceWriter::SelectValue(const Source& source, const std::wstring& taskName)
{
    reg_.RootKey(source.root);
    reg_.View(source.view);
    if (source.sections)
    {
        const RegistryAddress address = AddressOf(source, taskName);
        reg_.KeyPath(address.keyPath);
        reg_.ValueName(address.valueName);
        return;
    }
    std::wstring& keyPath = runKeys_[IndexOf(source)];
    if (keyPath.empty())
        keyPath = AddressOf(source, taskName).keyPath;
    reg_.KeyPath(keyPath);
    reg_.ValueName(taskName);
}

void SourceWriter::SelectCopy(const Source& source, const std::wstring& name, bool older)
{
    CopyKey& copy = copyKeys_[IndexOf(source)][older];
    if (copy.key.empty())
    {
        CopyPlace place = ExactCopyPlace(source, older);
        copy = {place.root, std::move(place.key)};
    }
    copies_.RootKey(copy.root);
    copies_.View(0);
    copies_.KeyPath(copy.key);
    copies_.ValueName(name);
}

DWORD SourceWriter::KeepValueCopy(const Source& source, const std::wstring& name, DWORD type,
                                  const std::vector<BYTE>& data)
{
    SelectCopy(source, name);
    return copies_.WriteRaw(type, data);
}

// An entry in its place starts only while Windows' own switch for it, if it has one, is on. The
// place's switches are read once an apply; only one that is off is read again and written.
DWORD SourceWriter::SwitchOnInWindows(const Source& source, const std::wstring& taskName)
{
    if (!switches_.Off(source, SwitchName(source, taskName)))
        return ERROR_SUCCESS;
    const std::wstring key = platform::ApprovedKeyPath(source.approved);
    platform::RegValue flag;
    if (platform::ReadRegValue(OwnerRoot(source), key, SwitchName(source, taskName), flag) != ERROR_SUCCESS ||
        !SwitchedOffByWindows(flag.data))
        return ERROR_SUCCESS;
    flag.data = SwitchedOn(std::move(flag.data));
    return platform::WriteRegValue(OwnerRoot(source), key, flag);
}

SourceWriter::SourceWriter(platform::Reg& reg) : reg_(reg) {}

namespace
{

// The row's source; -1 when it names none.
int FindSource(const EntryRecord& record)
{
    return record.source >= 0 && record.source < static_cast<int>(SourceCount) ? record.source : -1;
}

} // namespace

WriteResult SourceWriter::RemoveFromSource(const EntryRecord& record, bool keepCopy)
{
    const int found = FindSource(record);
    if (found < 0)
        return {WriteResult::NoSource};
    const Source& source = StartupSources[found];
    // Each entry to be kept is copied exactly before it goes; without the copy it stays.
    switch (source.kind)
    {
    case Registry: {
        if (IsPlaceSetting(source, record.name))
            return PlaceSetting();
        SelectValue(source, record.name);
        if (keepCopy && reg_.ReadRaw(value_) == ERROR_SUCCESS)
            if (DWORD error = KeepValueCopy(source, record.name, value_.type, value_.data))
                return FromError(error);
        return FromRemoval(reg_.DeleteValue());
    }
    case StartUp: {
        const std::wstring path = ShortcutPath(source, record.name);
        if (path.empty())
            return {WriteResult::Failed, ERROR_PATH_NOT_FOUND};
        if (keepCopy && platform::FileExists(path))
        {
            const std::wstring folder = ExactCopyPlace(source).folder;
            DWORD error = platform::CreateFolderPath(folder);
            if (!error)
                error = CopyFileBytes(path, folder + L"\\" + record.name + L".lnk");
            if (error)
                return FromError(error);
        }
        // Not forced: a read-only shortcut stays where it is.
        return FromRemoval(platform::RemoveFile(path, false));
    }
    case WinIni: {
        const std::wstring value = keepCopy ? WinIniValue(source) : std::wstring();
        const BYTE* bytes = reinterpret_cast<const BYTE*>(value.c_str());
        if (!value.empty())
            if (DWORD error = KeepValueCopy(source, record.name, REG_SZ,
                                            {bytes, bytes + (value.size() + 1) * sizeof(wchar_t)}))
                return FromError(error);
        return FromError(ClearIniValue(platform::names::WinIniSection, source.key, platform::WinIniPath()));
    }
    }
    return {WriteResult::NoSource};
}

WriteResult SourceWriter::WriteToSource(const EntryRecord& record)
{
    const int found = FindSource(record);
    if (found < 0)
        return {WriteResult::NoSource};
    const Source& source = StartupSources[found];
    // An entry Windows switched off is still in its place, and stays as it is there.
    WriteResult result =
        record.disabledByWindows && InSource(source, record.name) ? WriteResult{} : PutBack(source, record);
    // Where the start ignores the switch, it is left as it was: the entry comes back exactly.
    if (result.outcome == WriteResult::Done && source.approved && platform::WindowsHonoursStartupSwitch())
        result = FromError(SwitchOnInWindows(source, record.name));
    return result;
}

const StartupSource* SourceWriter::SwitchedSource(const EntryRecord& record) const
{
    const int found = FindSource(record);
    return found >= 0 && StartupSources[found].approved ? &StartupSources[found] : nullptr;
}

bool SourceWriter::DisablesBySwitch(const EntryRecord& record)
{
    const Source* source = SwitchedSource(record);
    return source && platform::WindowsHonoursStartupSwitch() && InSource(*source, record.name);
}

WriteResult SourceWriter::SwitchOff(const EntryRecord& record)
{
    const Source* source = SwitchedSource(record);
    if (!source)
        return {WriteResult::NoSource};
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FromError(
        platform::WriteRegValue(OwnerRoot(*source), platform::ApprovedKeyPath(source->approved),
                                {SwitchName(*source, record.name), REG_BINARY, SwitchedOff(now)}));
}

DWORD SourceWriter::ForgetSwitch(const EntryRecord& record)
{
    const Source* source = SwitchedSource(record);
    if (!source)
        return ERROR_SUCCESS;
    const DWORD error = platform::DeleteRegValue(
        OwnerRoot(*source), platform::ApprovedKeyPath(source->approved), SwitchName(*source, record.name));
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

bool SourceWriter::InPlace(const EntryRecord& record)
{
    const int found = FindSource(record);
    return found >= 0 && InSource(StartupSources[found], record.name);
}

bool SourceWriter::InPlaceAsShown(const EntryRecord& record)
{
    const int found = FindSource(record);
    if (found < 0)
        return false;
    const std::optional<WriteResult> there = AlreadyThere(StartupSources[found], record);
    return there && there->outcome == WriteResult::Done;
}

bool SourceWriter::InSource(const StartupSource& source, const std::wstring& taskName)
{
    if (source.kind == StartUp)
        return platform::FileExists(ShortcutPath(source, taskName));
    if (source.kind != Registry)
        return false;
    SelectValue(source, taskName);
    return reg_.ReadRaw(value_) == ERROR_SUCCESS;
}

// What writing the row would do to an entry of its name already in the place: nothing when that
// entry is the row's (written back by someone else, or added twice), and it is never replaced by
// another, which would be lost.
std::optional<WriteResult> SourceWriter::AlreadyThere(const StartupSource& source, const EntryRecord& record)
{
    std::wstring there;
    switch (source.kind)
    {
    case Registry: {
        SelectValue(source, record.name);
        if (reg_.ReadRaw(value_) != ERROR_SUCCESS)
            return std::nullopt;
        there = platform::RenderRegData(value_.type, value_.data.data(), value_.data.size());
        break;
    }
    case StartUp: {
        const std::wstring path = ShortcutPath(source, record.name);
        if (path.empty() || !platform::FileExists(path))
            return std::nullopt;
        platform::ReadShortcutTarget(path, there);
        break;
    }
    case WinIni:
        there = WinIniValue(source);
        if (there.empty())
            return std::nullopt;
        there = there.substr(0, WinIniReadSize - 1);
        break;
    }
    if (platform::NormalizeLineBreaks(there) == platform::NormalizeLineBreaks(record.location))
        return WriteResult{};
    return WriteResult{WriteResult::Occupied};
}

WriteResult SourceWriter::PutBack(const StartupSource& source, const EntryRecord& record)
{
    if (source.kind == Registry && IsPlaceSetting(source, record.name))
        return PlaceSetting();
    if (const std::optional<WriteResult> there = AlreadyThere(source, record))
        return *there;
    // The exact copy goes back when it still stands for the row; otherwise the row's text.
    platform::RegValue& copy = value_;
    switch (source.kind)
    {
    case Registry:
        SelectValue(source, record.name);
        if (CopiedValue(copies_, source, record, copy))
            return FromError(reg_.WriteRaw(copy.type, copy.data));
        reg_.ValueData(record.location);
        return FromError(reg_.WriteValue());
    case StartUp: {
        const std::wstring path = ShortcutPath(source, record.name);
        if (path.empty())
            return {WriteResult::Failed, ERROR_PATH_NOT_FOUND};
        for (const bool older : {false, true})
        {
            const std::wstring kept = ExactCopyPlace(source, older).folder + L"\\" + record.name + L".lnk";
            std::wstring target;
            if (platform::ReadShortcutTarget(kept, target) && target == record.location)
                return FromError(CopyFileBytes(kept, path));
        }
        return FromError(CreateShortcutFile(path, record.location));
    }
    case WinIni: {
        const bool copied = CopiedValue(copies_, source, record, copy);
        return FromError(
            WriteIniValue(platform::names::WinIniSection, source.key, platform::WinIniPath(),
                          copied ? platform::RenderRegData(copy.type, copy.data.data(), copy.data.size())
                                 : record.location));
    }
    }
    return {WriteResult::NoSource};
}

void SourceWriter::ForgetCopies(const std::vector<const EntryRecord*>& gone,
                                const std::vector<EntryRecord>& stored)
{
    if (gone.empty())
        return;
    // Kept while any stored entry has the name in any case: a copy too many costs nothing, one too
    // few loses.
    std::unordered_set<std::wstring> names;
    for (const EntryRecord& record : stored)
        names.insert(platform::FoldCase(record.name));
    // The shortcut copies' folders a copy left, and the folder that holds them, go once they are
    // empty, so that nothing is left behind when the last copy goes.
    std::unordered_set<std::wstring> folders;
    for (const EntryRecord* entry : gone)
    {
        const EntryRecord& record = *entry;
        const int found = FindSource(record);
        if (found < 0 || names.contains(platform::FoldCase(record.name)))
            continue;
        const Source& source = StartupSources[static_cast<size_t>(found)];
        for (const bool older : {false, true})
        {
            if (older && !OlderCopiesThere(static_cast<size_t>(found)))
                continue;
            if (source.kind == StartUp)
            {
                const std::wstring folder = ExactCopyPlace(source, older).folder;
                // The folder is there, with the copy or without it: it may be empty now.
                if (const DWORD error = platform::RemoveFile(folder + L"\\" + record.name + L".lnk", true);
                    error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND)
                    folders.insert(folder);
                continue;
            }
            SelectCopy(source, record.name, older);
            copies_.DeleteValue();
        }
    }
    for (const std::wstring& folder : folders)
        if (!platform::RemoveEmptyFolder(folder))
            platform::RemoveEmptyFolder(folder.substr(0, folder.rfind(L'\\')));
}

bool SourceWriter::OlderCopiesThere(size_t source)
{
    if (olderCopies_[source] < 0)
    {
        const Source& place = StartupSources[source];
        const CopyPlace now = ExactCopyPlace(place), older = ExactCopyPlace(place, true);
        olderCopies_[source] = place.kind == StartUp
                                   ? older.folder != now.folder && platform::FolderExists(older.folder)
                                   : older.root != now.root && platform::OpenRegKey(older.root, older.key);
    }
    return olderCopies_[source] > 0;
}

std::optional<SourcePlace> FindSourcePlace(int found)
{
    if (found < 0 || found >= static_cast<int>(SourceCount))
        return std::nullopt;
    const Source& source = StartupSources[static_cast<size_t>(found)];
    SourcePlace place;
    place.kind = source.kind;
    if (source.kind == Registry)
    {
        place.root = source.root;
        // The registry editor shows the keys of 32-bit programs where they are stored.
        place.keyPath = platform::StoredRunKeyPath(source.key, source.view);
    }
    if (source.kind == StartUp)
        place.csidl = source.csidl;
    if (source.kind == WinIni)
        place.iniKey = source.key;
    return place;
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
    return platform::WriteShortcut(shortcutPath, target);
}
