// The staging commands and the button rule, on the list model alone; Reset All on the list model,
// and profiles through the real Profile menu and file dialogs.
#include "staging/StagingCommands.h"
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
using ProfileMenuTest = testsupport::MainWindowFixture;

namespace
{

class StagingTest : public testsupport::RavelinTest
{
  protected:
    // One row of this status, selected, the buttons as no rule would leave them.
    void Only(const wchar_t* status, bool removeEnabled)
    {
        state.List.Clear();
        state.List.SetSubItem(state.List.Append(L"row"), Status, status);
        state.List.Select(1);
        state.DisableButtonCaption = L"start";
        state.RemoveButtonEnabled = removeEnabled;
    }
    MainState state;
};

} // namespace

TEST_F(StagingTest, EachCommandFollowsTheStateTable)
{
    struct Case
    {
        void (*command)(MainState&);
        const wchar_t* from;
        const wchar_t* to;
        const wchar_t* caption; // "start": left alone
        bool removeEnabled;
    };
    const Case cases[] = {
        {cmdDisable_Click, L"Enabled", L"Disabled", L"&Enable", true},
        {cmdDisable_Click, L"Disabled", L"Enabled", L"&Disable", true},
        {cmdDisable_Click, L"Remove", L"Enabled", L"&Disable", true},  // enabled, not disabled
        {cmdDisable_Click, L"enabled", L"Enabled", L"&Disable", true}, // words match by case
        {cmdRemove_Click, L"Enabled", L"Remove", L"start", false},
        {cmdRemove_Click, L"Remove", L"Remove", L"start", false},
        // Selecting a row sets the buttons and leaves the row alone.
        {SyncButtonsToSelection, L"Disabled", L"Disabled", L"&Enable", true},
        {SyncButtonsToSelection, L"Enabled", L"Enabled", L"&Disable", true},
        {SyncButtonsToSelection, L"Remove", L"Remove", L"start", false},
    };
    state.EnableCaption = L"&Enable";
    state.DisableCaption = L"&Disable";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (&c - cases));
        Only(c.from, !c.removeEnabled);
        c.command(state);
        EXPECT_EQ(state.List.Text(1, Status), c.to);
        EXPECT_EQ(state.DisableButtonCaption, c.caption);
        EXPECT_EQ(state.RemoveButtonEnabled, c.removeEnabled);
        // Without a selection nothing changes.
        Only(c.from, !c.removeEnabled);
        state.List.Select(0);
        c.command(state);
        EXPECT_EQ(state.List.Text(1, Status), c.from);
        EXPECT_EQ(state.DisableButtonCaption, L"start");
        EXPECT_EQ(state.RemoveButtonEnabled, !c.removeEnabled);
    }
}

TEST_F(StagingTest, TheWordsComparedAreThoseOfThePackInUse)
{
    WritePack(L"English.ini", L"413=Aktiv\r\n423=Inaktiv\r\n424=Entfernen\r\n");
    Only(L"Enabled", true);
    SyncButtonsToSelection(state);
    EXPECT_FALSE(state.RemoveButtonEnabled); // "Enabled" is no word of this pack
    Only(L"Aktiv", true);
    cmdDisable_Click(state);
    EXPECT_EQ(state.List.Text(1, Status), L"Inaktiv");
    cmdRemove_Click(state);
    EXPECT_EQ(state.List.Text(1, Status), L"Entfernen");
}

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
    EXPECT_EQ(state->BaselineEntries.size(), 3u);

    Stage(names[1], L"Disabled");
    ApplyNow(*state);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[1]));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[2]));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, names[0])); // still out, not written back
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"New"));
    EXPECT_EQ(StoredNames(), (Names{names[1], names[0]}));
}

TEST_F(ProfileMenuTest, ProfilesAreSavedAndLoadedThroughTheMenuAndABadFileLosesNothing)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9", L"C:\\caf\u00e9.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"\u540c\u6b65", L"C:\\\u540c\u6b65.exe");
    frmMain& w = Open();
    StartupList& list = w.State().List;
    const std::wstring file = programFolder + L"\\round";
    {
        // Cancelled before any name was ever chosen: nothing to load, nothing to tell.
        testsupport::DialogAnswer cancel(std::wstring{}), ok(IDOK);
        w.mnuLoadProf_Click();
        EXPECT_EQ(cancel.Shown(), 1);
        EXPECT_EQ(ok.Shown(), 0);
    }
    ASSERT_EQ(list.Count(), 2);
    w.cmdRemove_Click(); // a staged Remove travels too
    const std::vector<StartupEntry> before = {list.Row(1), list.Row(2)};
    {
        testsupport::DialogAnswer answer(file);
        w.mnuSaveProf_Click();
        EXPECT_EQ(answer.FilterChoices(), L"Profiles (*.Pro)|Text Files (*.txt)|All Files (*.*)");
    }
    EXPECT_EQ(w.State().ProfileFileName, file + L".Pro");
    {
        testsupport::DialogAnswer answer(file + L".Pro");
        testsupport::DialogAnswer no(IDNO); // replacing is asked first
        w.mnuSaveProf_Click();
        EXPECT_NE(no.Text().find(L"round.Pro"), std::wstring::npos);
    }
    list.Clear();
    {
        testsupport::DialogAnswer answer(file + L".Pro");
        w.mnuLoadProf_Click();
    }
    EXPECT_EQ((std::vector<StartupEntry>{list.Row(1), list.Row(2)}), before);
    EXPECT_EQ(list.Count(), 2);

    // A missing file and one that ends inside a record are told; only whole records are loaded.
    testsupport::WriteBytes(file + L".txt", "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    for (const wchar_t* name : {L"missing.Pro", L"round.txt"})
    {
        testsupport::DialogAnswer answer(programFolder + L"\\" + name);
        testsupport::DialogAnswer ok(IDOK);
        w.mnuLoadProf_Click();
        EXPECT_EQ(ok.Shown(), 1) << name;
        EXPECT_NE(ok.Text().find(name[0] == L'm' ? name : L"incomplete"), std::wstring::npos);
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Selected(), 1); // a loaded profile's first row, also its only one
    EXPECT_EQ(list.Row(1), (StartupEntry{L"", L"2", L"3", L"4", L"5", L"6"}));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9")); // loading stages only
}
