// The registry run-key scanner: rows, their order and their six texts.
#include "app/MainState.h"
#include "i18n/Globals.h"
#include "inventory/Scanners.h"
#include "support/Fixtures.h"

#include <map>

using testsupport::RavelinTest;
using testsupport::RowTexts;

namespace {

const std::wstring Base = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring Base32 = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";

class RegistryScannerTest : public RavelinTest {
  protected:
    void Scan(const std::wstring& id)
    {
        LoadSourceNames(names);
        for (size_t source = 0; source < SourceCount; ++source)
            if (id == StartupSources[source].id) return SetRegRunIntoList(list, reg, names, source, switches);
        ADD_FAILURE() << "no source";
    }
    StartupList list;
    platform::Reg reg;
    SourceNameTable names;
    WindowsSwitches switches;
};

} // namespace

TEST_F(RegistryScannerTest, UserRowsCarryTheUserWords)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"Sync", L"C:\\sync.exe /b");
    Scan(L"Registry(User Run)");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Row(1), (StartupEntry{L"Sync", L"Enabled", L"Registry(User Run)", L"Current User",
                                         L"Current User logs On", L"C:\\sync.exe /b"}));
}

TEST_F(RegistryScannerTest, MachineRowsNameTheirKey)
{
    for (const wchar_t* key : {L"Run", L"RunOnce", L"RunOnceEx", L"RunServices"}) {
        testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + key, L"V", key);
        Scan(L"Registry(Machine " + std::wstring(key) + L")");
    }
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(RowTexts(list, LoadFrom), (std::vector<std::wstring>{L"Registry(Machine Run)", L"Registry(Machine RunOnce)",
                                                                    L"Registry(Machine RunOnceEx)",
                                                                    L"Registry(Machine RunServices)"}));
    EXPECT_EQ(list.Row(1), (StartupEntry{L"V", L"Enabled", L"Registry(Machine Run)", L"All Users", L"Any User Logs On",
                                         L"Run"}));
}

TEST_F(RegistryScannerTest, EmptyAndMissingKeysAddNothingAndSubkeysAreNotVisited)
{
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (Base + L"Run").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &empty,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(empty);
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"RunOnceEx\\0001", L"Step", L"C:\\step.exe");
    Scan(L"Registry(Machine Run)");
    Scan(L"Registry(Machine RunServices)");
    Scan(L"Registry(Machine RunOnceEx)");
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(RegistryScannerTest, RowsKeepTheExactNameShowItTrimmedAndReadTheDataByIt)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"  Padded  ", L"C:\\padded.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"", L"C:\\default.exe"); // the default value
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"One", L"C:\\same.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"Two", L"C:\\same.exe");
    Scan(L"Registry(User Run)");
    ASSERT_EQ(list.Count(), 4);
    std::map<std::wstring, std::wstring> location;
    for (int row = 1; row <= 4; ++row) {
        location[list.Text(row, TaskName)] = list.Text(row, Location);
        if (list.Text(row, TaskName) == L"  Padded  ") {
            EXPECT_EQ(list.Shown(row, TaskName), L"Padded");
        }
    }
    EXPECT_EQ(location.at(L"  Padded  "), L"C:\\padded.exe");
    EXPECT_EQ(location.at(L""), L"C:\\default.exe");
    EXPECT_EQ(location.at(L"One"), L"C:\\same.exe");
    EXPECT_EQ(location.at(L"Two"), L"C:\\same.exe");
}

TEST_F(RegistryScannerTest, RowsFollowTheRegistryEnumerationOrder)
{
    for (const wchar_t* name : {L"zeta", L"Alpha", L"mid"})
        testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", name, L"x");
    std::vector<std::wstring> expected;
    platform::UniqueHKey key = platform::OpenRegKey(HKEY_CURRENT_USER, Base + L"Run");
    for (DWORD i = 0; i < 3; ++i) expected.push_back(platform::EnumRegValueName(key.get(), i));
    Scan(L"Registry(User Run)");
    EXPECT_EQ(RowTexts(list, TaskName), expected);
}

TEST_F(RegistryScannerTest, EveryValueTypeIsListed)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"Run", L"Expand", L"%ProgramFiles%\\a.exe", REG_EXPAND_SZ);
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, Base + L"Run", L"Number", REG_DWORD, {0x20, 0, 0, 0});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, Base + L"Run", L"Bytes", REG_BINARY, {0xDE, 0xAD});
    const wchar_t multi[] = L"a.exe\0b.exe\0";
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, Base + L"Run", L"Multi", REG_MULTI_SZ,
                              std::vector<BYTE>(reinterpret_cast<const BYTE*>(multi),
                                                reinterpret_cast<const BYTE*>(multi) + sizeof(multi)));
    Scan(L"Registry(Machine Run)");
    std::map<std::wstring, std::wstring> location;
    for (int row = 1; row <= list.Count(); ++row) location[list.Text(row, TaskName)] = list.Text(row, Location);
    EXPECT_EQ(location.at(L"Expand"), L"%ProgramFiles%\\a.exe");
    EXPECT_EQ(location.at(L"Number"), L"32");
    EXPECT_EQ(location.at(L"Bytes"), L"DE AD");
    EXPECT_EQ(location.at(L"Multi"), L"a.exe b.exe");
}

TEST_F(RegistryScannerTest, APackTranslatesTheWordsOfTheRows)
{
    WritePack(L"English.ini", L"413=Aktiv\r\n419=Registrierung\r\n416=Alle\r\n426=Registrierung(Benutzer)\r\n");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"Run", L"M", L"m.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"U", L"u.exe");
    Scan(L"Registry(Machine Run)");
    Scan(L"Registry(User Run)");
    EXPECT_EQ(list.Row(1), (StartupEntry{L"M", L"Aktiv", L"Registrierung(Machine Run)", L"Alle", L"Any User Logs On",
                                         L"m.exe"}));
    EXPECT_EQ(list.Text(2, LoadFrom), L"Registrierung(Benutzer)");
}

TEST_F(RegistryScannerTest, TheFillOrdersAllSources)
{
    // Seeded back to front; the 32-bit programs' keys through their own place, as the system keeps them.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"Policies\\Explorer\\Run", L"MachinePolicy", L"mp.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Policies\\Explorer\\Run", L"UserPolicy", L"up.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"RunOnce", L"UserOnce", L"uo.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base32 + L"RunOnce", L"Once32", L"o32.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base32 + L"Run", L"Run32", L"r32.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"RunServices", L"Svc", L"s.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"RunOnce", L"Once", L"o.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"RunOnceEx", L"OnceEx", L"x.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, Base + L"Run", L"Same", L"same.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, Base + L"Run", L"Same", L"same.exe");
    MainState state;
    FillStartupList(state);
    EXPECT_EQ(RowTexts(state.List, TaskName),
              (std::vector<std::wstring>{L"Same", L"Same", L"Once", L"OnceEx", L"Svc", L"Run32", L"Once32", L"UserOnce",
                                         L"UserPolicy", L"MachinePolicy"}));
    EXPECT_EQ(RowTexts(state.List, LoadFrom),
              (std::vector<std::wstring>{L"Registry(User Run)", L"Registry(Machine Run)", L"Registry(Machine RunOnce)",
                                         L"Registry(Machine RunOnceEx)", L"Registry(Machine RunServices)",
                                         L"Registry(Machine Run 32-bit)", L"Registry(Machine RunOnce 32-bit)",
                                         L"Registry(User RunOnce)", L"Registry(User Policies Run)",
                                         L"Registry(Machine Policies Run)"}));
    // The user's keys carry the user's words, the machine's the machine's.
    EXPECT_EQ(RowTexts(state.List, User),
              (std::vector<std::wstring>{L"Current User", L"All Users", L"All Users", L"All Users", L"All Users",
                                         L"All Users", L"All Users", L"Current User", L"Current User", L"All Users"}));
    EXPECT_EQ(state.List.Text(6, Location), L"r32.exe");
    EXPECT_EQ(state.BaselineCount, 10);
    EXPECT_EQ(state.BaselineEntries[9], state.List.Row(10));
}
