// The apply tests' places and list state.
#include "ApplyFixture.h"
#include "app/StartupSource.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shortcuts.h"
#include "staging/EntryStore.h"

#include <sddl.h>
#include <shlobj.h>

namespace applytest {

const std::vector<Place>& Places()
{
    static const std::vector<Place> places = [] {
        std::vector<Place> all;
        for (const StartupSource& source : StartupSources) {
            const Place::Kind kind = source.kind == SourceKind::Registry ? Place::Registry
                                     : source.kind == SourceKind::StartUp ? Place::StartUp
                                                                          : Place::WinIni;
            const std::wstring key = source.key ? source.key : L"";
            const std::wstring path = source.view ? L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\" + key
                                                  : RunBase + key;
            all.push_back({source.id, kind, source.root, key, source.csidl, kind == Place::Registry ? path : L"",
                           source.approved ? RunBase + L"Explorer\\StartupApproved\\" + source.approved : L""});
        }
        return all;
    }();
    return places;
}

const Place& PlaceOf(const std::wstring& loadFrom)
{
    for (const Place& place : Places())
        if (place.loadFrom == loadFrom) return place;
    ADD_FAILURE() << "no place";
    return Places().front();
}

static std::wstring WinIniValue(const std::wstring& key)
{
    wchar_t buffer[512] = {};
    const std::wstring file = platform::GetWindowsFolder() + L"\\win.ini";
    GetPrivateProfileStringW(L"Windows", key.c_str(), L"<missing>", buffer, 512, file.c_str());
    return buffer;
}

std::wstring ReadPlace(const Place& place, const std::wstring& taskName)
{
    switch (place.kind) {
    case Place::Registry:
        return testsupport::RegStringValue(place.root, place.path, taskName);
    case Place::StartUp: {
        std::wstring target;
        const std::wstring path = platform::GetSpecialFolderPath(place.csidl) + L"\\" + taskName + L".lnk";
        if (!platform::FileExists(path)) return L"<missing>";
        platform::ReadShortcutTarget(path, target);
        return target;
    }
    case Place::WinIni:
        return WinIniValue(place.name);
    }
    return L"<missing>";
}

void SeedPlace(const Place& place, const std::wstring& taskName, const std::wstring& location)
{
    switch (place.kind) {
    case Place::Registry:
        testsupport::SetRegString(place.root, place.path, taskName, location);
        break;
    case Place::StartUp:
        ASSERT_HRESULT_SUCCEEDED(platform::WriteShortcut(
            platform::GetSpecialFolderPath(place.csidl) + L"\\" + taskName + L".lnk", location));
        break;
    case Place::WinIni:
        WritePrivateProfileStringW(L"Windows", place.name.c_str(), location.c_str(),
                                   (platform::GetWindowsFolder() + L"\\win.ini").c_str());
        break;
    }
}

// A StartUp entry's switch is named after its file.
std::wstring SwitchName(const Place& place, const std::wstring& taskName)
{
    return place.kind == Place::StartUp ? taskName + L".lnk" : taskName;
}

void SetSwitch(const Place& place, const std::wstring& taskName, const std::vector<BYTE>& bytes)
{
    testsupport::SetRegBinary(HKEY_CURRENT_USER, place.approved, SwitchName(place, taskName), REG_BINARY, bytes);
}

std::vector<BYTE> Switch(const Place& place, const std::wstring& taskName)
{
    platform::RegValue value;
    platform::ReadRegValue(HKEY_CURRENT_USER, place.approved, SwitchName(place, taskName), value);
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
    return platform::FileExists(StorePath()) ? ReadEntryRecords(StorePath()).records : std::vector<EntryRecord>{};
}

std::vector<std::wstring> StoredNames()
{
    std::vector<std::wstring> names;
    for (const EntryRecord& record : StoredRecords()) names.push_back(record[TaskName]);
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
        if (state->List.Text(row, TaskName) == taskName) return row;
    ADD_FAILURE() << "no row " << std::string(taskName.begin(), taskName.end());
    return 0;
}

void ApplyTest::Stage(const std::wstring& taskName, const std::wstring& status)
{
    if (int row = Position(taskName)) state->List.SetSubItem(row, Status, status);
}

void ApplyTest::ExpectBaselinePaired(bool sameEntries) const
{
    ASSERT_EQ(state->BaselineCount, state->List.Count());
    ASSERT_EQ(state->BaselineEntries.size(), static_cast<size_t>(state->List.Count()));
    for (int row = 1; row <= state->List.Count(); ++row) {
        const EntryRecord& record = state->BaselineEntries[static_cast<size_t>(row - 1)];
        if (sameEntries)
            EXPECT_EQ(record, state->List.Row(row)) << "row " << row;
        else
            EXPECT_EQ(record[Status], state->List.Text(row, Status)) << "row " << row;
    }
}

} // namespace applytest
