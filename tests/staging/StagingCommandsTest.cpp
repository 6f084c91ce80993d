// The staging commands and the button rule, on the list model alone.
#include "staging/StagingCommands.h"
#include "support/Fixtures.h"

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
