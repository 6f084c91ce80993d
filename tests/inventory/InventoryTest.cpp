// What the scanners list: a row per entry of every source in the order of the fill, each value
// under its exact name, and nothing (but no failure) from missing or broken places.
#include "staging/StartupFill.h"
#include "inventory/Scanners.h"
#include "platform/Shortcuts.h"
#include "support/Fixtures.h"

using namespace testsupport;
using InventoryTest = RavelinTest;

namespace
{

const std::wstring Base32 = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";

std::vector<std::wstring> Fill()
{
    StartupState state;
    FillStartupList(state);
    EXPECT_EQ(static_cast<int>(state.BaselineEntries.size()), state.List.Count());
    const ListWords words = LoadListWords();
    std::vector<std::wstring> rows;
    for (int row = 1; row <= state.List.Count(); ++row)
    {
        rows.emplace_back(state.List.Row(row).name + L"|");
        for (int column = Status; column < ColumnCount; ++column)
            rows.back() += RowText(state.List.Row(row), column, words) + L"|";
    }
    return rows;
}

} // namespace

TEST_F(InventoryTest, EverySourceGivesItsRowsInTheOrderOfTheFill)
{
    // Seeded back to front, so that the order is the fill's own.
    const std::wstring user = UserStartup(), common = CommonStartup();
    ASSERT_EQ(platform::WriteShortcut(common + L"\\Shared.lnk", L"C:\\shared.exe"), DWORD(ERROR_SUCCESS));
    ASSERT_EQ(platform::WriteShortcut(user + L"\\Tool.lnk", L"C:\\Tools\\tool.exe"), DWORD(ERROR_SUCCESS));
    WritePrivateProfileStringW(L"Windows", L"Run", L"C:\\a.exe C:\\b.exe", WinIniPath().c_str());
    WritePrivateProfileStringW(L"WINDOWS", L"LOAD", L"C:\\clock.exe", WinIniPath().c_str());
    const struct
    {
        HKEY root;
        std::wstring key, name;
    } values[] = {{HKEY_LOCAL_MACHINE, RunBase + L"Policies\\Explorer\\Run", L"MachinePolicy"},
                  {HKEY_CURRENT_USER, RunBase + L"Policies\\Explorer\\Run", L"UserPolicy"},
                  {HKEY_CURRENT_USER, RunBase + L"RunOnce", L"UserOnce"},
                  {HKEY_LOCAL_MACHINE, Base32 + L"RunOnce", L"Once32"}, // where the system keeps them
                  {HKEY_LOCAL_MACHINE, Base32 + L"Run", L"Run32"},
                  {HKEY_LOCAL_MACHINE, RunBase + L"RunServices", L"  Svc  "}, // kept with its blanks
                  {HKEY_LOCAL_MACHINE, RunBase + L"RunOnceEx", L""},          // the key's default value
                  {HKEY_LOCAL_MACHINE, RunBase + L"RunOnce", L"Once"},
                  {HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Same"},
                  {HKEY_CURRENT_USER, RunBase + L"Run", L"Same"}};
    for (const auto& v : values)
        SetRegString(v.root, v.key, v.name, v.name + L".exe");
    // RunOnceEx runs its sections' commands; its Flags and Title, a section's title (its unnamed
    // value) and values that are no text are settings, not rows.
    const std::wstring ex = RunBase + L"RunOnceEx";
    SetRegString(HKEY_LOCAL_MACHINE, ex + L"\\0001", L"Step", L"C:\\step.exe");
    SetRegString(HKEY_LOCAL_MACHINE, ex + L"\\0001", L"", L"Section title");
    SetRegBinary(HKEY_LOCAL_MACHINE, ex + L"\\0001", L"Number", REG_DWORD, {1, 0, 0, 0});
    SetRegString(HKEY_LOCAL_MACHINE, ex + L"\\0002", L"a\\b", L"C:\\ab.exe");
    SetRegString(HKEY_LOCAL_MACHINE, ex + L"\\0001\\Depend", L"x", L"C:\\x.exe");
    SetRegString(HKEY_LOCAL_MACHINE, ex, L"Title", L"Setting up");
    SetRegBinary(HKEY_LOCAL_MACHINE, ex, L"Flags", REG_DWORD, {0x20, 0, 0, 0});
    SetRegBinary(HKEY_LOCAL_MACHINE, ex, L"Other", REG_DWORD, {2, 0, 0, 0});
    const std::wstring machine = L"|Enabled|Registry(Machine ", anyUser = L"|All Users|Any User Logs On|";
    EXPECT_EQ(
        Fill(),
        (std::vector<std::wstring>{
            L"Same|Enabled|Registry(User Run)|Current User|Current User logs On|Same.exe|",
            L"Same" + machine + L"Run)" + anyUser + L"Same.exe|",
            L"Once" + machine + L"RunOnce)" + anyUser + L"Once.exe|",
            machine + L"RunOnceEx)" + anyUser + L".exe|",
            L"0001\\Step" + machine + L"RunOnceEx)" + anyUser + L"C:\\step.exe|",
            L"0002\\a\\b" + machine + L"RunOnceEx)" + anyUser + L"C:\\ab.exe|",
            L"  Svc  " + machine + L"RunServices)" + anyUser + L"  Svc  .exe|",
            L"Run32" + machine + L"Run 32-bit)" + anyUser + L"Run32.exe|",
            L"Once32" + machine + L"RunOnce 32-bit)" + anyUser + L"Once32.exe|",
            L"UserOnce|Enabled|Registry(User RunOnce)|Current User|Current User logs On|UserOnce.exe|",
            L"UserPolicy|Enabled|Registry(User Policies Run)|Current User|Current User logs On|"
            L"UserPolicy.exe|",
            L"MachinePolicy" + machine + L"Policies Run)" + anyUser + L"MachinePolicy.exe|",
            L"Win.ini Load|Enabled|Win.ini Load" + anyUser + L"C:\\clock.exe|",
            // One row for the whole value; "All users" with a small u.
            L"Win.ini Run|Enabled|Win.ini Run|All users|Any User Logs On|C:\\a.exe C:\\b.exe|",
            L"Tool|Enabled|StartUp (Current User)|Current User|Current User Logs On|C:\\Tools\\tool.exe|",
            L"Shared|Enabled|StartUp (All Users)" + anyUser + L"C:\\shared.exe|"}));
}

TEST_F(InventoryTest, MissingPlacesAndBrokenFilesListNothingOrKeepTheirRow)
{
    // A StartUp folder that is gone, or that the shell cannot find, lists nothing.
    const std::wstring user = UserStartup();
    RemoveDirectoryW(user.c_str());
    EXPECT_EQ(Fill(), std::vector<std::wstring>{});
    const std::wstring shellFolders = RunBase + L"Explorer\\User Shell Folders";
    SetRegString(HKEY_CURRENT_USER, shellFolders, L"Startup", L"Q:\\Nowhere");
    EXPECT_EQ(UserStartup(), L"");
    EXPECT_EQ(Fill(), std::vector<std::wstring>{});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, shellFolders.c_str(), L"Startup");
    // Hidden and system files and subfolders give no rows; a file that is not a readable shortcut
    // keeps its row, and the rest of the folder is listed, without regard to case.
    for (const wchar_t* name : {L"hidden.txt", L"system.txt", L"Broken.lnk", L"Upper.LNK", L"a.lnk.bak"})
        WriteBytes(user + L"\\" + name, std::string(512, '\x5A'));
    SetFileAttributesW((user + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((user + L"\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((user + L"\\Sub").c_str(), nullptr);
    ASSERT_EQ(platform::WriteShortcut(user + L"\\Sub\\Inner.lnk", L"C:\\inner.exe"), DWORD(ERROR_SUCCESS));
    ASSERT_EQ(platform::WriteShortcut(user + L"\\Good.lnk", L"C:\\good.exe"), DWORD(ERROR_SUCCESS));
    // Win.ini values of fewer than two characters count as empty; longer ones are cut to 126.
    WritePrivateProfileStringW(L"Windows", L"Load", L"a", WinIniPath().c_str());
    WritePrivateProfileStringW(L"Windows", L"Run", std::wstring(200, L'r').c_str(), WinIniPath().c_str());
    const std::wstring winIniRun = L"Win.ini Run|Enabled|Win.ini Run|All users|Any User Logs On|",
                       startup = L"|Enabled|StartUp (Current User)|Current User|Current User Logs On|";
    EXPECT_EQ(Fill(), (std::vector<std::wstring>{winIniRun + std::wstring(126, L'r') + L"|",
                                                 L"a.lnk" + startup + L"|", L"Broken" + startup + L"|",
                                                 L"Good" + startup + L"C:\\good.exe|",
                                                 L"Upper.LNK" + startup + L"|"}));
    EXPECT_EQ(StartupTaskName(L".lnk.lnk"), L".lnk.lnk"); // the first match is at the start
}
