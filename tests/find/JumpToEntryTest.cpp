// Open location and Properties for each kind of source, through a launcher that records what
// would be started.
#include "find/JumpToEntry.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Names.h"
#include "platform/Shortcuts.h"
#include "support/Fixtures.h"

namespace {

class JumpToEntryTest : public testsupport::RavelinTest {
  protected:
    JumpToEntryTest()
    {
        launcher.startProgram = [this](const std::wstring& program, const std::wstring& arguments) {
            started.push_back(platform::CommandLine(program, arguments));
            return DWORD(ERROR_SUCCESS);
        };
        launcher.showProperties = [this](HWND, const std::wstring& file) {
            properties.push_back(file);
            return true;
        };
    }
    static EntryRecord Row(const std::wstring& name, const std::wstring& loadFrom,
                           const std::wstring& location)
    {
        return {name, L"Enabled", loadFrom, L"", L"", location};
    }
    static std::wstring LastKey()
    {
        return testsupport::RegStringValue(HKEY_CURRENT_USER, platform::names::RegistryEditorKey,
                                           platform::names::RegistryEditorLastKey);
    }

    JumpLauncher launcher;
    std::vector<std::wstring> started, properties;
};

const std::wstring RunKeys = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

} // namespace

TEST_F(JumpToEntryTest, EachSourceOpensItsOwnPlace)
{
    const std::wstring regedit = platform::GetWindowsFolder() + L"\\regedit.exe";
    ASSERT_TRUE(OpenLocation(nullptr, Row(L"Tool", L"Registry(User Run)", L"tool.exe"), launcher));
    EXPECT_EQ(started.back(), regedit);
    EXPECT_EQ(LastKey(), L"HKEY_CURRENT_USER\\" + RunKeys + L"Run");

    // The editor's own word for the computer, in the language of Windows, is kept.
    testsupport::SetRegString(HKEY_CURRENT_USER, platform::names::RegistryEditorKey,
                              platform::names::RegistryEditorLastKey, L"Ordinateur\\HKEY_USERS\\.DEFAULT");
    ASSERT_TRUE(OpenLocation(nullptr, Row(L"Once", L"Registry(Machine RunOnce)", L"once.exe"), launcher));
    EXPECT_EQ(LastKey(), L"Ordinateur\\HKEY_LOCAL_MACHINE\\" + RunKeys + L"RunOnce");
    EXPECT_EQ(started.size(), 2u);

    const std::wstring shortcut = CommonStartup() + L"\\Team Calendar.lnk";
    ASSERT_TRUE(SUCCEEDED(platform::WriteShortcut(shortcut, L"C:\\cal.exe")));
    ASSERT_TRUE(
        OpenLocation(nullptr, Row(L"Team Calendar", L"StartUp (All Users)", L"C:\\cal.exe"), launcher));
    EXPECT_EQ(started.back(), L"explorer.exe /select,\"" + shortcut + L"\"");
    // A shortcut that has gone since the list was read: its folder opens.
    ASSERT_TRUE(OpenLocation(nullptr, Row(L"Gone", L"StartUp (Current User)", L"C:\\gone.exe"), launcher));
    EXPECT_EQ(started.back(), L"explorer.exe \"" + UserStartup() + L"\"");

    ASSERT_TRUE(OpenLocation(nullptr, Row(L"Win.ini Load", L"Win.ini Load", L"clock.exe"), launcher));
    EXPECT_EQ(started.back(), L"notepad.exe \"" + WinIniPath() + L"\"");

    EXPECT_FALSE(OpenLocation(nullptr, Row(L"Odd", L"Somewhere Else", L"odd.exe"), launcher));
    EXPECT_FALSE(CanOpenLocation(Row(L"Odd", L"Somewhere Else", L"odd.exe")));
    EXPECT_EQ(started.size(), 5u);
    EXPECT_TRUE(properties.empty());
}

TEST_F(JumpToEntryTest, PropertiesShowTheProgramFileAndNothingForAMissingOne)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(
        ShowProgramProperties(nullptr, L"\"%SystemRoot%\\system32\\notepad.exe\" C:\\x.txt", launcher));
    ASSERT_EQ(properties.size(), 1u);
    EXPECT_EQ(_wcsicmp(properties[0].c_str(), (std::wstring(system) + L"\\notepad.exe").c_str()), 0)
        << properties[0];
    EXPECT_FALSE(ShowProgramProperties(nullptr, L"C:\\nowhere\\gone.exe", launcher));
    EXPECT_EQ(properties.size(), 1u);
    EXPECT_TRUE(started.empty());
}
