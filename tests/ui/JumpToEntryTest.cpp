// Open location and Properties for each kind of source, through a launcher that records what
// would be started.
#include "ui/JumpToEntry.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Names.h"
#include "platform/Shortcuts.h"
#include "support/Fixtures.h"

using JumpToEntryTest = testsupport::RavelinTest;

TEST_F(JumpToEntryTest, EachSourceOpensItsOwnPlaceAndPropertiesShowTheProgramFile)
{
    std::vector<std::wstring> started, properties;
    const JumpLauncher launcher{[&](const std::wstring& program, const std::wstring& arguments) {
                                    started.push_back(platform::CommandLine(program, arguments));
                                    return DWORD(ERROR_SUCCESS);
                                },
                                [&](HWND, const std::wstring& file) {
                                    properties.push_back(file);
                                    return DWORD(ERROR_SUCCESS);
                                }};
    const std::wstring regedit = platform::GetWindowsFolder() + L"\\regedit.exe",
                       shortcut = CommonStartup() + L"\\Team Calendar.lnk";
    ASSERT_EQ(platform::WriteShortcut(shortcut, L"C:\\cal.exe"), DWORD(ERROR_SUCCESS));
    struct Case
    {
        std::wstring loadFrom, name, lastKeyBefore, started, lastKey; // no start: not a source
    } cases[] = {
        {L"Registry(User Run)", L"Tool", L"", regedit, L"HKEY_CURRENT_USER\\" + testsupport::RunKey},
        // The editor's own word for the computer, in the language of Windows, is kept.
        {L"Registry(Machine RunOnce)", L"Once", L"Ordinateur\\HKEY_USERS\\.DEFAULT", regedit,
         L"Ordinateur\\HKEY_LOCAL_MACHINE\\" + testsupport::RunBase + L"RunOnce"},
        {L"Registry(Machine Run 32-bit)", L"Old", L"", regedit,
         L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {L"StartUp (All Users)", L"Team Calendar", L"", L"explorer.exe /select,\"" + shortcut + L"\"", L""},
        // A shortcut that has gone since the list was read: its folder opens.
        {L"StartUp (Current User)", L"Gone", L"", L"explorer.exe \"" + UserStartup() + L"\"", L""},
        {L"Win.ini Load", L"Win.ini Load", L"", L"notepad.exe \"" + testsupport::WinIniPath() + L"\"", L""},
        {L"Somewhere Else", L"Odd", L"", L"", L""},
    };
    const std::wstring key = platform::names::RegistryEditorKey,
                       value = platform::names::RegistryEditorLastKey;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.loadFrom);
        started.clear();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str());
        if (!c.lastKeyBefore.empty())
            testsupport::SetRegString(HKEY_CURRENT_USER, key, value, c.lastKeyBefore);
        const EntryRecord row = {c.name, L"Enabled", c.loadFrom, L"", L"", L"x.exe"};
        EXPECT_EQ(CanOpenLocation(row), !c.started.empty());
        EXPECT_EQ(OpenLocation(nullptr, row, launcher), !c.started.empty());
        EXPECT_EQ(started, c.started.empty() ? std::vector<std::wstring>{} : std::vector{c.started});
        EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, key, value),
                  c.lastKey.empty() ? L"<missing>"
                                    : c.lastKey); // only a registry place is told to the editor
    }
    EXPECT_TRUE(properties.empty());

    ASSERT_TRUE(
        ShowProgramProperties(nullptr, L"\"%SystemRoot%\\system32\\notepad.exe\" C:\\x.txt", launcher));
    EXPECT_FALSE(ShowProgramProperties(nullptr, L"C:\\nowhere\\gone.exe", launcher));
    ASSERT_EQ(properties.size(), 1u);
    EXPECT_EQ(_wcsicmp(properties[0].c_str(), testsupport::SystemFile(L"notepad.exe").c_str()), 0)
        << properties[0];
}
