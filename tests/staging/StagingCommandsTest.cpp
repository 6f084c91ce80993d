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
    // One row in this state, selected, the buttons as no rule would leave them.
    void Only(EntryState status, bool removeEnabled)
    {
        state.List.Clear();
        state.List.SetState(state.List.Append(ScannedEntry(0, L"row", L"")), status);
        state.List.Select(1);
        state.Buttons = {true, removeEnabled};
    }
    StartupState state;
};

} // namespace

TEST_F(StagingTest, EachCommandFollowsTheStateTable)
{
    struct Case
    {
        void (*command)(StartupState&);
        EntryState from, to;
        bool offersEnable; // each starts offering Enable
        bool removeEnabled;
    };
    using enum EntryState;
    const Case cases[] = {
        {ToggleDisable, Enabled, Disabled, true, true},
        {ToggleDisable, Disabled, Enabled, false, true},
        {ToggleDisable, Remove, Enabled, false, true}, // enabled, not disabled
        {MarkForRemoval, Enabled, Remove, true, false},
        {MarkForRemoval, Remove, Remove, true, false},
        // Selecting a row sets the buttons and leaves the row alone; Remove leaves the caption.
        {SyncButtonsToSelection, Disabled, Disabled, true, true},
        {SyncButtonsToSelection, Enabled, Enabled, false, true},
        {SyncButtonsToSelection, Remove, Remove, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (&c - cases));
        Only(c.from, !c.removeEnabled);
        c.command(state);
        EXPECT_EQ(state.List.State(1), c.to);
        EXPECT_EQ(state.Buttons.offersEnable, c.offersEnable);
        EXPECT_EQ(state.Buttons.removeEnabled, c.removeEnabled);
        // Without a selection nothing changes.
        Only(c.from, !c.removeEnabled);
        state.List.Select(0);
        c.command(state);
        EXPECT_EQ(state.List.State(1), c.from);
        EXPECT_TRUE(state.Buttons.offersEnable);
        EXPECT_EQ(state.Buttons.removeEnabled, !c.removeEnabled);
    }
}

TEST_F(StagingTest, AnEnableOfAProgramSinceUninstalledIsToldByTheFactsKnownOrFoundNow)
{
    const std::wstring gone = L"C:\\Uninstalled\\gone.exe -s", here = testsupport::SystemFile(L"notepad.exe");
    for (const std::wstring& location : {gone, here, gone, std::wstring(L"C:\\Uninstalled\\known.exe")})
        state.List.SetState(state.List.Append(ScannedEntry(0, L"row", location)), EntryState::Disabled);
    state.List.SetState(3, EntryState::Enabled);
    FileFactsTable facts;
    // An answer given already is the one that counts: the worker's, or the last look.
    facts.Store(state.List.Row(4).location, {FileFacts::State::Found, L"C:\\known.exe", L""});
    const bool told[] = {true, false, false, false}; // gone; there; a disable; as the table says
    for (int row = 1; row <= 4; ++row)
    {
        state.List.Select(row);
        EXPECT_EQ(EnablesMissingProgram(state, facts), told[row - 1]) << row;
    }
    ASSERT_TRUE(facts.Find(gone) && facts.Find(here)); // looked at once, and kept for the list
    EXPECT_EQ(facts.Find(gone)->state, FileFacts::State::Missing);
    EXPECT_FALSE(facts.TakeUnasked(here));
    state.List.Select(0);
    EXPECT_FALSE(EnablesMissingProgram(state, facts));
}

TEST_F(ApplyTest, ResetAllListsTheSystemAndTheStoreAgainAndTheNextApplyActsOnChangedRowsOnly)
{
    for (const wchar_t* name : {L"A", L"B", L"C"})
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, L"x.exe");
    Start();
    const Names names = RowTexts(state->List, TaskName);
    Stage(names[0], EntryState::Disabled);
    ApplyNow(*state);
    Stage(names[1], EntryState::Disabled);
    Stage(names[2], EntryState::Remove);
    state->List.AppendRow(Record(L"New", L"Enabled", L"Registry(User Run)", L"new.exe"));
    ResetStaged(*state);
    // The staged rows are as their entries are; the applied one is listed once, at the end, from the store.
    EXPECT_EQ(RowTexts(state->List, TaskName), (Names{names[1], names[2], names[0]}));
    EXPECT_EQ(RowTexts(state->List, Status), (Names{L"Enabled", L"Enabled", L"Disabled"}));
    EXPECT_EQ(state->BaselineEntries.size(), 3u);

    Stage(names[1], EntryState::Disabled);
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
    EXPECT_EQ(w.ProfileFileName(), file + L".Pro");
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
    // Its Status is no word of any language: disabled, so that nothing is written for it.
    EXPECT_EQ(ToFileRecord(list.Row(1)), (FileRecord{L"", L"Disabled", L"3", L"4", L"5", L"6"}));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Caf\u00e9")); // loading stages only
}
