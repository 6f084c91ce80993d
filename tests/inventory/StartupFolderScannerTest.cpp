// The StartUp-folder scanner: which files give rows, their names and targets, the folder order.
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/Shortcuts.h"
#include "support/Fixtures.h"

using testsupport::RavelinTest;
using testsupport::RowTexts;

namespace {

class StartupFolderScannerTest : public RavelinTest {
  protected:
    void Scan()
    {
        LoadSourceNames(names);
        WindowsSwitches switches;
        LoadStartupFolderEntries(list, names, switches);
    }
    void Shortcut(const std::wstring& folder, const std::wstring& file, const std::wstring& target)
    {
        ASSERT_TRUE(SUCCEEDED(platform::WriteShortcut(folder + L"\\" + file, target)));
    }
    StartupList list;
    SourceNameTable names;
};

} // namespace

TEST_F(StartupFolderScannerTest, TaskNameRule)
{
    EXPECT_EQ(StartupTaskName(L"Tool.lnk"), L"Tool");
    EXPECT_EQ(StartupTaskName(L"Tool.LNK"), L"Tool.LNK");
    EXPECT_EQ(StartupTaskName(L".lnk"), L".lnk");
    EXPECT_EQ(StartupTaskName(L"a.lnk.bak"), L"a.lnk");
    EXPECT_EQ(StartupTaskName(L"Readme.txt"), L"Readme.txt");
    EXPECT_EQ(StartupTaskName(L".lnk.lnk"), L".lnk.lnk"); // the first match is at the start
}

TEST_F(StartupFolderScannerTest, EmptyFoldersAndHiddenFilesAndSubfoldersGiveNoRows)
{
    Scan();
    EXPECT_EQ(list.Count(), 0);
    testsupport::WriteBytes(UserStartup() + L"\\hidden.txt", "x");
    SetFileAttributesW((UserStartup() + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((UserStartup() + L"\\Sub").c_str(), nullptr);
    Shortcut(UserStartup() + L"\\Sub", L"Inner.lnk", L"C:\\inner.exe");
    Scan();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(StartupFolderScannerTest, AMissingFolderIsCreatedAndListsNothing)
{
    const std::wstring folder = UserStartup();
    testsupport::DeleteTree(folder);
    ASSERT_FALSE(platform::FolderExists(folder));
    Scan();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(platform::FolderExists(folder));
}

TEST_F(StartupFolderScannerTest, NamesAndTargetsOfEachKindOfFile)
{
    Shortcut(UserStartup(), L"Tool.lnk", L"C:\\Tools\\tool.exe");
    testsupport::WriteBytes(UserStartup() + L"\\Upper.LNK", "not a shortcut");
    testsupport::WriteBytes(UserStartup() + L"\\.lnk", "x");
    testsupport::WriteBytes(UserStartup() + L"\\a.lnk.bak", "x");
    testsupport::WriteBytes(UserStartup() + L"\\Readme.txt", "x");
    Scan();
    EXPECT_EQ(RowTexts(list, TaskName),
              (std::vector<std::wstring>{L".lnk", L"a.lnk", L"Readme.txt", L"Tool", L"Upper.LNK"}));
    EXPECT_EQ(RowTexts(list, Location), (std::vector<std::wstring>{L"", L"", L"", L"C:\\Tools\\tool.exe", L""}));
    EXPECT_EQ(list.Row(4), (StartupEntry{L"Tool", L"Enabled", L"StartUp (Current User)", L"Current User",
                                         L"Current User Logs On", L"C:\\Tools\\tool.exe"}));
}

TEST_F(StartupFolderScannerTest, AShortcutWithArgumentsShowsTheProgramOnly)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))));
    link->SetPath(L"C:\\Tools\\editor.exe");
    link->SetArguments(L"/restore C:\\notes.txt");
    Microsoft::WRL::ComPtr<IPersistFile> file;
    link.As(&file);
    ASSERT_TRUE(SUCCEEDED(file->Save((UserStartup() + L"\\Editor.lnk").c_str(), TRUE)));
    Scan();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(1, Location), L"C:\\Tools\\editor.exe");
}

TEST_F(StartupFolderScannerTest, UserRowsComeBeforeAllUsersRows)
{
    Shortcut(CommonStartup(), L"Alpha.lnk", L"C:\\alpha.exe");
    Shortcut(UserStartup(), L"Zulu.lnk", L"C:\\zulu.exe");
    Scan();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Row(1)[TaskName], L"Zulu");
    EXPECT_EQ(list.Row(2), (StartupEntry{L"Alpha", L"Enabled", L"StartUp (All Users)", L"All Users",
                                         L"Any User Logs On", L"C:\\alpha.exe"}));
}

TEST_F(StartupFolderScannerTest, ACorruptShortcutKeepsItsRowAndTheRestOfTheFolder)
{
    std::string noise;
    for (int i = 0; i < 512; ++i) noise += static_cast<char>((i * 73 + 11) & 0xFF);
    testsupport::WriteBytes(UserStartup() + L"\\Broken.lnk", noise);
    Shortcut(UserStartup(), L"Good.lnk", L"C:\\good.exe");
    Shortcut(CommonStartup(), L"Shared.lnk", L"C:\\shared.exe");
    Scan();
    EXPECT_EQ(RowTexts(list, TaskName), (std::vector<std::wstring>{L"Broken", L"Good", L"Shared"}));
    EXPECT_EQ(RowTexts(list, Location), (std::vector<std::wstring>{L"", L"C:\\good.exe", L"C:\\shared.exe"}));
}
