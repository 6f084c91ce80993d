// Reset All and profiles on the real main window, with real file dialogs and applies.
#include "app/frmMain.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "support/DialogAnswer.h"
#include "support/Fixtures.h"
#include "support/WindowFixture.h"

using testsupport::RavelinTest;
using testsupport::RowTexts;

namespace {

const std::wstring RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ResetAndProfilesTest : public testsupport::MainWindowFixture {
  protected:
    StartupList& List() { return window->State().List; }
    void Select(int row) { List().Select(row); }
    bool InRegistry(const wchar_t* name) { return testsupport::RegValueExists(HKEY_CURRENT_USER, RunKey, name); }
    std::wstring File(const wchar_t* name) { return programFolder + L"\\" + name; }

};

} // namespace

using ResetAllTest = ResetAndProfilesTest;

TEST_F(ResetAllTest, ADisabledRowComesBackEnabledOnce)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"A", L"a.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"B", L"b.exe");
    Open();
    Select(1);
    window->cmdDisable_Click();
    window->cmdReset_Click();
    EXPECT_EQ(RowTexts(List(), Status), (std::vector<std::wstring>{L"Enabled", L"Enabled"}));
    EXPECT_EQ(List().Count(), 2);
    EXPECT_TRUE(InRegistry(L"A"));
}

TEST_F(ResetAllTest, AnAppliedDisableComesBackFromTheStoreAndTheNextApplyActsOnTheChangedRowOnly)
{
    for (const wchar_t* name : {L"A", L"B", L"C"}) testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, L"x.exe");
    Open();
    const std::vector<std::wstring> names = RowTexts(List(), TaskName);
    Select(1);
    window->cmdDisable_Click();
    window->mnuApp_Just_Click();
    EXPECT_FALSE(InRegistry(names[0].c_str()));

    window->cmdReset_Click();
    // Listed once, at the end, from the store.
    ASSERT_EQ(List().Count(), 3);
    EXPECT_EQ(List().Text(3, TaskName), names[0]);
    EXPECT_EQ(List().Text(3, Status), L"Disabled");
    EXPECT_EQ(RowTexts(List(), TaskName), (std::vector<std::wstring>{names[1], names[2], names[0]}));

    // Disable the row now first; the apply takes out exactly that entry.
    Select(1);
    window->cmdDisable_Click();
    window->mnuApp_Just_Click();
    EXPECT_FALSE(InRegistry(names[1].c_str()));
    EXPECT_TRUE(InRegistry(names[2].c_str()));
    EXPECT_FALSE(InRegistry(names[0].c_str())); // still out, not written back
    EntryFileContent store = ReadEntryRecords(StorePath());
    ASSERT_EQ(store.records.size(), 2u);
    EXPECT_EQ(window->State().BaselineCount, 3);

    // And enabling the stored one writes exactly it back.
    Select(3);
    window->cmdDisable_Click();
    window->mnuApp_Just_Click();
    EXPECT_TRUE(InRegistry(names[0].c_str()));
    EXPECT_FALSE(InRegistry(names[1].c_str()));
}

TEST_F(ResetAllTest, AnAddedRowIsGoneAndAnEmptyBaselineGivesAnEmptyList)
{
    Open();
    EXPECT_EQ(List().Count(), 0);
    List().AppendRow({L"New", L"Enabled", L"Registry(User Run)", L"", L"", L"new.exe"});
    window->cmdReset_Click();
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(window->State().BaselineCount, 0);
    EXPECT_FALSE(InRegistry(L"New"));
}

using ProfilesTest = ResetAndProfilesTest;

TEST_F(ProfilesTest, SavingOffersThreeChoicesAddsTheProfileEndingAndWritesEveryRow)
{
    Open();
    {
        testsupport::FileDialogAnswer answer(File(L"empty"));
        window->mnuSaveProf_Click();
        EXPECT_EQ(answer.Shown(), 1);
        EXPECT_EQ(answer.FilterChoices(), L"Profiles (*.Pro)|Text Files (*.txt)|All Files (*.*)");
    }
    EXPECT_TRUE(platform::FileExists(File(L"empty.Pro")));
    EXPECT_EQ(testsupport::ReadBytes(File(L"empty.Pro")), "");
    EXPECT_EQ(window->State().ProfileFileName, File(L"empty.Pro"));

    // Under "All Files" no ending is added; the dialog opens on the name chosen last.
    List().AppendRow({L"Tool", L"Remove", L"Registry(User Run)", L"Current User", L"Current User logs On", L"t.exe"});
    {
        testsupport::FileDialogAnswer answer(File(L"plain"), 3);
        window->mnuSaveProf_Click();
        EXPECT_NE(answer.InitialName().find(L"empty.Pro"), std::wstring::npos);
        EXPECT_EQ(window->State().ProfileFileName, File(L"plain"));
    }
    EXPECT_EQ(testsupport::ReadBytes(File(L"plain")),
              "Tool\r\nRemove\r\nRegistry(User Run)\r\nCurrent User\r\nCurrent User logs On\r\nt.exe\r\n");
}

TEST_F(ProfilesTest, ReplacingAFileIsAskedFirst)
{
    testsupport::WriteBytes(File(L"keep.Pro"), "old");
    Open();
    List().AppendRow({L"Tool", L"Enabled", L"Registry(User Run)", L"", L"", L"t.exe"});
    {
        testsupport::FileDialogAnswer answer(File(L"keep.Pro"));
        testsupport::MessageBoxAnswer no(IDNO);
        window->mnuSaveProf_Click();
        EXPECT_EQ(no.Shown(), 1);
        EXPECT_NE(no.Text().find(L"keep.Pro"), std::wstring::npos);
    }
    EXPECT_EQ(testsupport::ReadBytes(File(L"keep.Pro")), "old");
    {
        testsupport::FileDialogAnswer answer(File(L"keep.Pro"));
        testsupport::MessageBoxAnswer yes(IDYES);
        window->mnuSaveProf_Click();
    }
    EXPECT_EQ(ReadEntryRecords(File(L"keep.Pro")).records.size(), 1u);
}

TEST_F(ProfilesTest, SaveThenLoadGivesTheSameRowsAlsoWithUnicodeNames)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9", L"C:\\caf\u00e9.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"\u540c\u6b65", L"C:\\\u540c\u6b65.exe");
    Open();
    Select(2);
    window->cmdRemove_Click(); // a staged Remove travels too
    const std::vector<StartupEntry> before = {List().Row(1), List().Row(2)};
    {
        testsupport::FileDialogAnswer answer(File(L"round.Pro"));
        window->mnuSaveProf_Click();
    }
    List().Clear();
    {
        testsupport::FileDialogAnswer answer(File(L"round.Pro"));
        window->mnuLoadProf_Click();
    }
    ASSERT_EQ(List().Count(), 2);
    EXPECT_EQ(List().Row(1), before[0]);
    EXPECT_EQ(List().Row(2), before[1]);
    EXPECT_EQ(List().Text(2, Status), L"Remove");
}

TEST_F(ProfilesTest, AnyTextFileLoadsSixLinesARow)
{
    Open();
    List().AppendRow({L"Old", L"Enabled", L"", L"", L"", L""});
    testsupport::WriteBytes(File(L"twelve.txt"), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nl\r\n");
    {
        testsupport::FileDialogAnswer answer(File(L"twelve.txt"));
        window->mnuLoadProf_Click();
    }
    ASSERT_EQ(List().Count(), 2);
    EXPECT_EQ(List().Row(2), (StartupEntry{L"g", L"h", L"i", L"j", L"k", L"l"}));

    // An empty first line is an empty Task Name, as a key's unnamed value has.
    testsupport::WriteBytes(File(L"blank.txt"), "\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
    {
        testsupport::FileDialogAnswer answer(File(L"blank.txt"));
        window->mnuLoadProf_Click();
    }
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1), (StartupEntry{L"", L"b", L"c", L"d", L"e", L"f"}));
}

TEST_F(ProfilesTest, AMissingOrTruncatedFileIsReportedAndLosesNothing)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"A", L"a.exe");
    Open();
    {
        testsupport::FileDialogAnswer answer(File(L"missing.Pro"));
        testsupport::MessageBoxAnswer ok(IDOK);
        window->mnuLoadProf_Click();
        EXPECT_EQ(ok.Shown(), 1);
        EXPECT_NE(ok.Text().find(L"missing.Pro"), std::wstring::npos);
    }
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Text(1, TaskName), L"A");

    testsupport::WriteBytes(File(L"cut.Pro"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    {
        testsupport::FileDialogAnswer answer(File(L"cut.Pro"));
        testsupport::MessageBoxAnswer ok(IDOK);
        window->mnuLoadProf_Click();
        EXPECT_EQ(ok.Shown(), 1);
        EXPECT_NE(ok.Text().find(L"incomplete"), std::wstring::npos);
    }
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Text(1, TaskName), L"1");
    EXPECT_TRUE(InRegistry(L"A")); // loading stages only
}

TEST_F(ProfilesTest, CancelledDialogsUseTheNameChosenLast)
{
    Open();
    {
        testsupport::FileDialogAnswer cancel(L"");
        window->mnuLoadProf_Click();
        EXPECT_EQ(cancel.Shown(), 1);
    }
    EXPECT_EQ(window->State().ProfileFileName, L"");
    testsupport::WriteBytes(File(L"p.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    {
        testsupport::FileDialogAnswer answer(File(L"p.txt"));
        window->mnuLoadProf_Click();
    }
    List().Clear();
    {
        testsupport::FileDialogAnswer cancel(L"");
        window->mnuLoadProf_Click(); // reloads the same file
    }
    EXPECT_EQ(List().Count(), 1);
}

TEST_F(ProfilesTest, AProfileOfFewerRowsAppliedLeavesTheDroppedEntriesAlone)
{
    for (const wchar_t* name : {L"A", L"B", L"C"}) testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, L"x.exe");
    Open();
    std::vector<StartupEntry> rows = {List().Row(1)};
    rows[0][Status] = L"Disabled";
    WriteEntryFile(rows, File(L"one.Pro"), 1);
    {
        testsupport::FileDialogAnswer answer(File(L"one.Pro"));
        window->mnuLoadProf_Click();
    }
    window->mnuApp_Just_Click();
    EXPECT_FALSE(InRegistry(rows[0][TaskName].c_str()));
    int present = 0;
    for (const wchar_t* name : {L"A", L"B", L"C"}) present += InRegistry(name);
    EXPECT_EQ(present, 2);
    EXPECT_EQ(window->State().BaselineCount, 1);
}
