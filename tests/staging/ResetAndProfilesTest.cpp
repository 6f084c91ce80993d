// Reset All on the list model, and profiles through the real Profile menu and file dialogs.
#include "apply/ApplyEngine.h"
#include "apply/ApplyFixture.h"
#include "staging/ResetAll.h"
#include "support/DialogAnswer.h"
#include "support/Fixtures.h"
#include "support/WindowFixture.h"

using namespace applytest;
using testsupport::RegValueExists;
using testsupport::RowTexts;
using Names = std::vector<std::wstring>;

TEST_F(ApplyTest, ResetAllListsTheSystemAndTheStoreAgainAndTheNextApplyActsOnChangedRowsOnly)
{
    for (const wchar_t* name : {L"A", L"B", L"C"})
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, L"x.exe");
    Start();
    const Names names = RowTexts(state->List, TaskName);
    Stage(names[0], L"Disabled");
    ApplyNow(*state);
    Stage(names[1], L"Disabled");
    Stage(names[2], L"Remove");
    state->List.AppendRow(Record(L"New", L"Enabled", L"Registry(User Run)", L"new.exe"));
    cmdReset_Click(*state);
    // The staged rows are as their entries are; the applied one is listed once, at the end, from the store.
    EXPECT_EQ(RowTexts(state->List, TaskName), (Names{names[1], names[2], names[0]}));
    EXPECT_EQ(RowTexts(state->List, Status), (Names{L"Enabled", L"Enabled", L"Disabled"}));
    EXPECT_EQ(state->BaselineCount, 3);

    Stage(names[1], L"Disabled");
    ApplyNow(*state);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[1]));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[2]));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[0])); // still out, not written back
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"New"));
    EXPECT_EQ(StoredNames(), (Names{names[1], names[0]}));
}

TEST_F(ApplyTest, ProfilesAreSavedAndLoadedThroughTheMenuAndABadFileLosesNothing)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9", L"C:\\caf\u00e9.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"\u540c\u6b65", L"C:\\\u540c\u6b65.exe");
    frmMain window;
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    testsupport::PumpMessages();
    StartupList& list = window.State().List;
    const std::wstring file = programFolder + L"\\round";
    {
        // Cancelled before any name was ever chosen: nothing to load, nothing to tell.
        testsupport::DialogAnswer cancel(std::wstring{}), ok(IDOK);
        window.mnuLoadProf_Click();
        EXPECT_EQ(cancel.Shown(), 1);
        EXPECT_EQ(ok.Shown(), 0);
    }
    ASSERT_EQ(list.Count(), 2);
    window.cmdRemove_Click(); // a staged Remove travels too
    const std::vector<StartupEntry> before = {list.Row(1), list.Row(2)};
    {
        testsupport::DialogAnswer answer(file);
        window.mnuSaveProf_Click();
        EXPECT_EQ(answer.FilterChoices(), L"Profiles (*.Pro)|Text Files (*.txt)|All Files (*.*)");
    }
    EXPECT_EQ(window.State().ProfileFileName, file + L".Pro");
    {
        testsupport::DialogAnswer answer(file + L".Pro");
        testsupport::DialogAnswer no(IDNO); // replacing is asked first
        window.mnuSaveProf_Click();
        EXPECT_NE(no.Text().find(L"round.Pro"), std::wstring::npos);
    }
    list.Clear();
    {
        testsupport::DialogAnswer answer(file + L".Pro");
        window.mnuLoadProf_Click();
    }
    EXPECT_EQ((std::vector<StartupEntry>{list.Row(1), list.Row(2)}), before);
    EXPECT_EQ(list.Count(), 2);

    // A missing file and one that ends inside a record are told; only whole records are loaded.
    testsupport::WriteBytes(file + L".txt", "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    for (const wchar_t* name : {L"missing.Pro", L"round.txt"})
    {
        testsupport::DialogAnswer answer(programFolder + L"\\" + name);
        testsupport::DialogAnswer ok(IDOK);
        window.mnuLoadProf_Click();
        EXPECT_EQ(ok.Shown(), 1) << name;
        EXPECT_NE(ok.Text().find(name[0] == L'm' ? name : L"incomplete"), std::wstring::npos);
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Row(1), (StartupEntry{L"", L"2", L"3", L"4", L"5", L"6"}));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9")); // loading stages only
}
