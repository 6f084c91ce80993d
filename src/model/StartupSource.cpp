// The source table and the per-source words of scanned rows.
#include "model/StartupSource.h"
#include "i18n/DelayKeys.h"
#include "model/StartupList.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/StartupSwitch.h"
#include "platform/Text.h"

#include <shlobj.h>

#include <algorithm>

using enum SourceKind;

const std::array<StartupSource, SourceCount> StartupSources = {{
    {.id = L"Registry(User Run)",
     .shortName = L"user-run",
     .kind = Registry,
     .root = HKEY_CURRENT_USER,
     .key = L"Run",
     .approved = L"Run",
     .nameKey = L"426",
     .words = sourcewords::UserRegistry,
     .addTask = true},
    {.id = L"Registry(Machine Run)",
     .shortName = L"machine-run",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"Run",
     .approved = L"Run",
     .nameKey = L"427",
     .machineKey = true,
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Registry(Machine RunOnce)",
     .shortName = L"machine-runonce",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"RunOnce",
     .nameKey = L"428",
     .machineKey = true,
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Registry(Machine RunOnceEx)",
     .shortName = L"machine-runonceex",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"RunOnceEx",
     .nameKey = L"429",
     .machineKey = true,
     .sections = true,
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Registry(Machine RunServices)",
     .shortName = L"machine-runservices",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"RunServices",
     .machineKey = true,
     .words = sourcewords::Machine},
    {.id = L"Registry(Machine Run 32-bit)",
     .shortName = L"machine-run32",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"Run",
     .view = KEY_WOW64_32KEY,
     .approved = L"Run32",
     .nameKey = L"434",
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Registry(Machine RunOnce 32-bit)",
     .shortName = L"machine-runonce32",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"RunOnce",
     .view = KEY_WOW64_32KEY,
     .nameKey = L"435",
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Registry(User RunOnce)",
     .shortName = L"user-runonce",
     .kind = Registry,
     .root = HKEY_CURRENT_USER,
     .key = L"RunOnce",
     .nameKey = L"436",
     .words = sourcewords::UserRegistry,
     .addTask = true},
    {.id = L"Registry(User Policies Run)",
     .shortName = L"user-policies-run",
     .kind = Registry,
     .root = HKEY_CURRENT_USER,
     .key = L"Policies\\Explorer\\Run",
     .nameKey = L"437",
     .words = sourcewords::UserRegistry,
     .addTask = true},
    {.id = L"Registry(Machine Policies Run)",
     .shortName = L"machine-policies-run",
     .kind = Registry,
     .root = HKEY_LOCAL_MACHINE,
     .key = L"Policies\\Explorer\\Run",
     .nameKey = L"438",
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"StartUp (Current User)",
     .shortName = L"user-startup",
     .kind = StartUp,
     .csidl = CSIDL_STARTUP,
     .approved = L"StartupFolder",
     .nameKey = L"430",
     .words = sourcewords::UserStartUp,
     .addTask = true},
    {.id = L"StartUp (All Users)",
     .shortName = L"common-startup",
     .kind = StartUp,
     .csidl = CSIDL_COMMON_STARTUP,
     .approved = L"StartupFolder",
     .nameKey = L"431",
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Win.ini Load",
     .shortName = L"winini-load",
     .kind = WinIni,
     .key = L"Load",
     .nameKey = L"432",
     .words = sourcewords::Machine,
     .addTask = true},
    {.id = L"Win.ini Run",
     .shortName = L"winini-run",
     .kind = WinIni,
     .key = L"Run",
     .nameKey = L"433",
     .words = sourcewords::WinIniRun,
     .addTask = true},
}};

void LoadSourceNames(SourceNameTable& table)
{
    for (size_t i = 0; i < SourceCount; ++i)
    {
        const StartupSource& source = StartupSources[i];
        table[i] = source.nameKey ? SetCaptionfromINI(source.nameKey, source.id) : source.id;
    }
}

std::wstring ScannedLoadFrom(size_t source, const SourceNameTable& names)
{
    const StartupSource& s = StartupSources[source];
    if (!s.machineKey)
        return names[source];
    return LookupText(keys::MachineRegistry) + L"(Machine " + s.key + L")";
}

RegistryAddress AddressOf(const StartupSource& source, const std::wstring& taskName)
{
    RegistryAddress address{platform::RunKeyPath(source.key), taskName};
    // A subkey's name has no backslash; a value's may.
    const size_t slash = source.sections ? taskName.find(L'\\') : std::wstring::npos;
    if (slash != std::wstring::npos && slash > 0)
    {
        address.keyPath += L'\\' + taskName.substr(0, slash);
        address.valueName = taskName.substr(slash + 1);
    }
    return address;
}

bool IsPlaceSetting(const StartupSource& source, const std::wstring& valueName)
{
    return source.sections &&
           (platform::EqualsNoCase(valueName, L"Flags") || platform::EqualsNoCase(valueName, L"Title"));
}

bool OfTheUser(const StartupSource& source)
{
    return source.kind == SourceKind::Registry
               ? source.root == HKEY_CURRENT_USER
               : source.kind == SourceKind::StartUp && source.csidl == CSIDL_STARTUP;
}

HKEY OwnerRoot(const StartupSource& source)
{
    return OfTheUser(source) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

CopyPlace ExactCopyPlace(const StartupSource& source, bool older)
{
    const bool user = older || OfTheUser(source);
    CopyPlace place{older ? HKEY_CURRENT_USER : OwnerRoot(source),
                    platform::names::CopiesKey + std::wstring(source.id),
                    {}};
    // Only shortcuts are copied to a folder; asking the shell for it at every value costs.
    if (source.kind == SourceKind::StartUp)
        place.folder = (older || !user ? platform::GetWindowsFolder() : platform::UserDataFolder()) +
                       platform::names::CopiesFolder + source.id;
    return place;
}

DWORD ReadExactCopy(const StartupSource& source, const std::wstring& taskName, platform::RegValue& copy,
                    platform::Reg& reg)
{
    DWORD error = ERROR_FILE_NOT_FOUND;
    for (const bool older : {false, true})
    {
        const CopyPlace place = ExactCopyPlace(source, older);
        if (older && place.root == ExactCopyPlace(source).root)
            break;
        reg.RootKey(place.root);
        reg.View(0);
        reg.KeyPath(place.key);
        reg.ValueName(taskName);
        if ((error = reg.ReadRaw(copy)) == ERROR_SUCCESS)
            break;
    }
    return error;
}

int SourceIndexOf(const std::wstring& loadFrom, const SourceNameTable& names)
{
    for (size_t i = 0; i < SourceCount; ++i)
        if (loadFrom == StartupSources[i].id || loadFrom == names[i])
            return static_cast<int>(i);
    return -1;
}

StartupEntry ScannedEntry(size_t source, std::wstring name, std::wstring location)
{
    StartupEntry row;
    row.name = std::move(name);
    row.location = std::move(location);
    row.source = static_cast<int>(source);
    return row;
}

ListWords LoadListWords(bool english)
{
    auto word = [english](const keys::KeyText& key) { return english ? key.text : LookupText(key); };
    ListWords words;
    for (size_t state = 0; state < StateCount; ++state)
        words.states[state] = word(StateKey(static_cast<EntryState>(state)));
    words.switchIgnored = !english && !platform::WindowsHonoursStartupSwitch();
    const std::wstring& enabled = words.states[static_cast<size_t>(EntryState::Enabled)];
    words.offButStarts = english ? enabled : FormatText(LookupText(keys::SwitchOffIgnored), {enabled});
    words.delayedFormat = word(keys::DelayedStatusText);
    words.launcherMissingFormat = word(keys::LauncherMissing);
    SourceNameTable names;
    if (!english)
        LoadSourceNames(names);
    for (size_t i = 0; i < SourceCount; ++i)
    {
        const StartupSource& source = StartupSources[i];
        words.loadFrom[i] = english ? source.id : ScannedLoadFrom(i, names);
        words.user[i] = word(source.words.user);
        words.when[i] = word(source.words.when);
    }
    // Without a pack an added row's User and When? stay empty, as its pack would leave them.
    auto caption = [english](const keys::KeyText& key) { return english ? key.text : CaptionText(key); };
    words.addedUser = caption(keys::CurrentUser);
    words.addedAllUsers = caption(keys::AllUsers);
    words.addedWhen = caption(keys::AddedWhen);
    return words;
}

std::wstring RowText(const StartupEntry& row, int column, const ListWords& words)
{
    const bool known = row.source >= 0 && row.source < static_cast<int>(SourceCount);
    const size_t source = known ? static_cast<size_t>(row.source) : 0;
    auto unknown = [&](size_t field) {
        return row.unknownPlace ? (*row.unknownPlace)[field] : std::wstring();
    };
    switch (column)
    {
    case TaskName:
        return std::wstring(platform::Trim(row.name));
    case Status:
        if (row.switchOffIgnored && row.state == EntryState::Enabled && words.switchIgnored)
            return words.offButStarts;
        if (row.state == EntryState::Delayed && !words.delayedFormat.empty())
        {
            std::wstring text = FormatText(words.delayedFormat, {words.states[static_cast<size_t>(row.state)],
                                                                 platform::ToDecimal(row.delaySeconds),
                                                                 platform::ToDecimal(row.delayOrder)});
            return row.launcherMissing ? FormatText(words.launcherMissingFormat, {text}) : text;
        }
        return words.states[static_cast<size_t>(row.state)];
    case LoadFrom:
        return known ? words.loadFrom[source] : unknown(0);
    case User:
        // Of the places Add Task offers, only the user's own Run key is the current user's.
        if (row.added)
            return known && std::wstring_view(StartupSources[source].id) == L"Registry(User Run)"
                       ? words.addedUser
                       : words.addedAllUsers;
        return known ? words.user[source] : unknown(1);
    case When:
        if (row.added)
            return words.addedWhen;
        return known ? words.when[source] : unknown(2);
    case Location:
        return row.location;
    }
    return {};
}

namespace
{
constexpr size_t SwitchSize = 12; // a four-byte state, then the time it was switched off
constexpr BYTE OffBit = 1;
constexpr BYTE OffState = 3;
} // namespace

bool SwitchedOffByWindows(const std::vector<BYTE>& flag)
{
    return flag.size() >= SwitchSize && (flag[0] & OffBit);
}

std::vector<BYTE> SwitchedOn(std::vector<BYTE> flag)
{
    flag.resize(SwitchSize);
    flag[0] = static_cast<BYTE>(flag[0] & ~OffBit);
    std::fill(flag.begin() + 4, flag.end(), BYTE{0});
    return flag;
}

std::vector<BYTE> SwitchedOff(FILETIME when)
{
    std::vector<BYTE> flag(SwitchSize, 0);
    flag[0] = OffState;
    const ULONGLONG time = platform::FileTimeTicks(when);
    for (size_t i = 0; i < 8; ++i)
        flag[4 + i] = static_cast<BYTE>(time >> (8 * i));
    return flag;
}

std::wstring SwitchName(const StartupSource& source, const std::wstring& taskName)
{
    return source.kind == StartUp ? taskName + L".lnk" : taskName;
}

bool WindowsSwitches::Off(const StartupSource& source, const std::wstring& switchName)
{
    if (!source.approved)
        return false;
    auto [it, unread] =
        off_.try_emplace((OfTheUser(source) ? L"U\\" : L"M\\") + std::wstring(source.approved));
    if (unread)
    {
        platform::UniqueHKey key =
            platform::OpenRegKey(OwnerRoot(source), platform::ApprovedKeyPath(source.approved));
        for (const platform::RegValue& value : platform::ReadRegValues(key.get()))
            if (SwitchedOffByWindows(value.data))
                it->second.insert(platform::FoldCase(value.name));
    }
    return !it->second.empty() && it->second.contains(platform::FoldCase(switchName));
}

void WindowsSwitches::Mark(StartupEntry& row, const StartupSource& source, const std::wstring& switchName)
{
    if (!Off(source, switchName))
        return;
    // Where the start ignores the switch, the entry is as enabled as any other.
    if (!platform::WindowsHonoursStartupSwitch())
    {
        row.switchOffIgnored = true;
        return;
    }
    row.state = EntryState::Disabled;
    row.disabledByWindows = true;
}
