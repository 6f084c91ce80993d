// The apply tests' places and list state.
#include "ApplyFixture.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shortcuts.h"
#include "staging/EntryStore.h"
#include "staging/StagingCommands.h"
#include "staging/StartupFill.h"

#include <shlobj.h>

#include <algorithm>

namespace applytest
{

const std::vector<Place>& Places()
{
    const HKEY User = HKEY_CURRENT_USER, Machine = HKEY_LOCAL_MACHINE;
    const std::wstring wow = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";
    const std::wstring approved = RunBase + L"Explorer\\StartupApproved\\";
    auto reg = [&](const wchar_t* id, HKEY root, const std::wstring& key, bool wow32 = false,
                   const wchar_t* switches = nullptr) {
        const std::wstring path = (wow32 ? wow : RunBase) + key, own = switches ? approved + switches : L"";
        return Place{id, Place::Registry, root, key, 0, path, own, switches ? root : nullptr};
    };
    auto folder = [&](const wchar_t* id, int csidl, HKEY root) {
        return Place{id, Place::StartUp, nullptr, L"", csidl, L"", approved + L"StartupFolder", root};
    };
    auto ini = [](const wchar_t* id, const wchar_t* key) {
        return Place{id, Place::WinIni, nullptr, key, 0, L"", L"", nullptr};
    };
    static const std::vector<Place> places = {
        reg(L"Registry(User Run)", User, L"Run", false, L"Run"),
        reg(L"Registry(Machine Run)", Machine, L"Run", false, L"Run"),
        reg(L"Registry(Machine RunOnce)", Machine, L"RunOnce"),
        reg(L"Registry(Machine RunOnceEx)", Machine, L"RunOnceEx"),
        reg(L"Registry(Machine RunServices)", Machine, L"RunServices"),
        reg(L"Registry(Machine Run 32-bit)", Machine, L"Run", true, L"Run32"),
        reg(L"Registry(Machine RunOnce 32-bit)", Machine, L"RunOnce", true),
        reg(L"Registry(User RunOnce)", User, L"RunOnce"),
        reg(L"Registry(User Policies Run)", User, L"Policies\\Explorer\\Run"),
        reg(L"Registry(Machine Policies Run)", Machine, L"Policies\\Explorer\\Run"),
        folder(L"StartUp (Current User)", CSIDL_STARTUP, User),
        folder(L"StartUp (All Users)", CSIDL_COMMON_STARTUP, Machine),
        ini(L"Win.ini Load", L"Load"),
        ini(L"Win.ini Run", L"Run"),
    };
    return places;
}

const Place& PlaceOf(const std::wstring& loadFrom)
{
    for (const Place& place : Places())
        if (place.loadFrom == loadFrom)
            return place;
    ADD_FAILURE() << "no place";
    return Places().front();
}

static std::wstring Shortcut(const Place& place, const std::wstring& taskName)
{
    return platform::GetSpecialFolderPath(place.csidl) + L"\\" + taskName + L".lnk";
}

std::wstring ReadPlace(const Place& place, const std::wstring& taskName)
{
    std::wstring found = L"<missing>";
    if (place.kind == Place::Registry)
        return testsupport::RegStringValue(place.root, place.path, taskName);
    if (place.kind == Place::StartUp && platform::FileExists(Shortcut(place, taskName)))
        platform::ReadShortcutTarget(Shortcut(place, taskName), found);
    if (place.kind == Place::WinIni)
    {
        wchar_t buffer[512] = {};
        GetPrivateProfileStringW(L"Windows", place.name.c_str(), L"<missing>", buffer, 512,
                                 testsupport::WinIniPath().c_str());
        found = buffer;
    }
    return found;
}

void SeedPlace(const Place& place, const std::wstring& taskName, const std::wstring& location)
{
    if (place.kind == Place::Registry)
        testsupport::SetRegString(place.root, place.path, taskName, location);
    if (place.kind == Place::StartUp)
    {
        ASSERT_EQ(platform::WriteShortcut(Shortcut(place, taskName), location), DWORD(ERROR_SUCCESS));
    }
    if (place.kind == Place::WinIni)
        WritePrivateProfileStringW(L"Windows", place.name.c_str(), location.c_str(),
                                   testsupport::WinIniPath().c_str());
}

// A StartUp entry's switch is named after its file.
static std::wstring SwitchName(const Place& place, const std::wstring& taskName)
{
    return place.kind == Place::StartUp ? taskName + L".lnk" : taskName;
}

void SetSwitch(const Place& place, const std::wstring& taskName, const std::vector<BYTE>& bytes)
{
    testsupport::SetRegBinary(place.approvedRoot, place.approved, SwitchName(place, taskName), REG_BINARY,
                              bytes);
}

std::vector<BYTE> Switch(const Place& place, const std::wstring& taskName)
{
    platform::RegValue value;
    platform::ReadRegValue(place.approvedRoot, place.approved, SwitchName(place, taskName), value);
    return value.data;
}

EntryRecord Record(const std::wstring& taskName, const std::wstring& status, const std::wstring& loadFrom,
                   const std::wstring& location)
{
    FileWords words;
    return FromFileRecord({taskName, status, loadFrom, L"All Users", L"Any User Logs On", location}, words);
}

std::vector<FileRecord> FileRecords(const std::vector<EntryRecord>& entries)
{
    std::vector<FileRecord> records;
    for (const EntryRecord& entry : entries)
        records.push_back(ToFileRecord(entry));
    return records;
}

std::vector<FileRecord> Sorted(const std::vector<EntryRecord>& entries)
{
    std::vector<FileRecord> records = FileRecords(entries);
    std::sort(records.begin(), records.end());
    return records;
}

std::wstring Shown(const EntryRecord& row, int column)
{
    return RowText(row, column, LoadListWords());
}

std::vector<EntryRecord> StoredRecords()
{
    std::vector<EntryRecord> records;
    FileWords words;
    for (const std::wstring& path : {UserStorePath(), StorePath()}) // one that is not there holds none
        for (const FileRecord& record : ReadEntryRecords(path).records)
            records.push_back(FromFileRecord(record, words));
    return records;
}

std::vector<std::wstring> StoredNames()
{
    std::vector<std::wstring> names;
    for (const EntryRecord& record : StoredRecords())
        names.push_back(record.name);
    return names;
}

StartupState& ApplyTest::Start()
{
    state = std::make_unique<StartupState>();
    FillStartupList(*state);
    return *state;
}

int ApplyTest::Position(const std::wstring& taskName) const
{
    for (int row = 1; row <= state->List.Count(); ++row)
        if (state->List.Row(row).name == taskName)
            return row;
    ADD_FAILURE() << "no row " << taskName;
    return 0;
}

void ApplyTest::Stage(const std::wstring& taskName, EntryState status)
{
    if (int row = Position(taskName))
        state->List.SetState(row, status);
}

void ApplyTest::ExpectBaselinePaired(bool sameEntries) const
{
    ASSERT_EQ(state->BaselineEntries.size(), static_cast<size_t>(state->List.Count()));
    for (int row = 1; row <= state->List.Count(); ++row)
    {
        const EntryRecord& record = state->BaselineEntries[static_cast<size_t>(row - 1)];
        EXPECT_EQ(record.state, state->List.State(row)) << row;
        EXPECT_TRUE(!sameEntries || record == state->List.Row(row)) << row;
    }
}

void Delay(StartupState& state, int row, int seconds)
{
    FileFactsTable facts;
    state.List.Select(row);
    ASSERT_EQ(DelaySelected(state, seconds, facts), DelayRefusal::None);
}

} // namespace applytest
