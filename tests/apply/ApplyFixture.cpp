// The apply tests' places and list state.
#include "ApplyFixture.h"
#include "model/StartupSource.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shortcuts.h"
#include "staging/EntryStore.h"
#include "staging/StartupFill.h"

#include <sddl.h>

namespace applytest
{

const std::vector<Place>& Places()
{
    static const std::vector<Place> places = [] {
        std::vector<Place> all;
        for (const StartupSource& s : StartupSources)
        {
            const std::wstring key = s.key ? s.key : L"";
            const Place::Kind kind = s.kind == SourceKind::Registry  ? Place::Registry
                                     : s.kind == SourceKind::StartUp ? Place::StartUp
                                                                     : Place::WinIni;
            const std::wstring path =
                kind != Place::Registry ? L""
                : s.view                ? L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\" + key
                                        : RunBase + key;
            all.push_back({s.id, kind, s.root, key, s.csidl, path,
                           s.approved ? RunBase + L"Explorer\\StartupApproved\\" + s.approved : L"",
                           s.approvedRoot});
        }
        return all;
    }();
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
    const std::wstring winIni = testsupport::WinIniPath();
    std::wstring found = L"<missing>";
    if (place.kind == Place::Registry)
        return testsupport::RegStringValue(place.root, place.path, taskName);
    if (place.kind == Place::StartUp && platform::FileExists(Shortcut(place, taskName)))
        platform::ReadShortcutTarget(Shortcut(place, taskName), found);
    if (place.kind == Place::WinIni)
    {
        wchar_t buffer[512] = {};
        GetPrivateProfileStringW(L"Windows", place.name.c_str(), L"<missing>", buffer, 512, winIni.c_str());
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

void DenyWrites(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // Read, delete (so the scratch root can still be removed) and change the security again.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSDWD;;;WD)", SDDL_REVISION_1,
                                                                     &sd, nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    LocalFree(sd);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key), ERROR_ACCESS_DENIED);
}

EntryRecord Record(const std::wstring& taskName, const std::wstring& status, const std::wstring& loadFrom,
                   const std::wstring& location)
{
    return {taskName, status, loadFrom, L"All Users", L"Any User Logs On", location};
}

std::vector<EntryRecord> StoredRecords()
{
    std::vector<EntryRecord> records;
    for (const std::wstring& path : {UserStorePath(), StorePath()})
        if (platform::FileExists(path))
            for (EntryRecord& record : ReadEntryRecords(path).records)
                records.push_back(std::move(record));
    return records;
}

std::vector<std::wstring> StoredNames()
{
    std::vector<std::wstring> names;
    for (const EntryRecord& record : StoredRecords())
        names.push_back(record[TaskName]);
    return names;
}

MainState& ApplyTest::Start()
{
    state = std::make_unique<MainState>();
    FillStartupList(*state);
    return *state;
}

int ApplyTest::Position(const std::wstring& taskName) const
{
    for (int row = 1; row <= state->List.Count(); ++row)
        if (state->List.Text(row, TaskName) == taskName)
            return row;
    ADD_FAILURE() << "no row " << taskName;
    return 0;
}

void ApplyTest::Stage(const std::wstring& taskName, const std::wstring& status)
{
    if (int row = Position(taskName))
        state->List.SetSubItem(row, Status, status);
}

void ApplyTest::ExpectBaselinePaired(bool sameEntries) const
{
    ASSERT_EQ(state->BaselineCount, state->List.Count());
    ASSERT_EQ(state->BaselineEntries.size(), static_cast<size_t>(state->List.Count()));
    for (int row = 1; row <= state->List.Count(); ++row)
    {
        const EntryRecord& record = state->BaselineEntries[static_cast<size_t>(row - 1)];
        EXPECT_EQ(record[Status], state->List.Text(row, Status)) << row;
        if (sameEntries)
        {
            EXPECT_EQ(record, state->List.Row(row)) << row;
        }
    }
}

} // namespace applytest
