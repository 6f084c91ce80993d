// The staging commands and the button rule, on the list model alone.
#include "staging/StagingCommands.h"
#include "support/Fixtures.h"

using testsupport::RavelinTest;

namespace {

class StagingTest : public RavelinTest {
  protected:
    void SetUp() override
    {
        RavelinTest::SetUp();
        state.EnableCaption = L"&Enable";
        state.DisableCaption = L"&Disable";
        state.DisableButtonCaption = L"start";
    }
    void AddRow(const std::wstring& name, const std::wstring& status)
    {
        int row = state.List.Append(name);
        state.List.SetSubItem(row, Status, status);
    }
    const std::wstring& StatusOf(int row) { return state.List.Text(row, Status); }
    MainState state;
};

} // namespace

TEST_F(StagingTest, DisableEnableFollowsTheStateTable)
{
    struct Case {
        const wchar_t* from;
        const wchar_t* to;
        const wchar_t* caption;
    };
    for (Case c : {Case{L"Enabled", L"Disabled", L"&Enable"}, Case{L"Disabled", L"Enabled", L"&Disable"},
                   Case{L"Remove", L"Enabled", L"&Disable"}, Case{L"Désactivé", L"Enabled", L"&Disable"},
                   Case{L"enabled", L"Enabled", L"&Disable"}}) {
        state.List.Clear();
        AddRow(L"row", c.from);
        state.List.Select(1);
        state.RemoveButtonEnabled = false;
        cmdDisable_Click(state);
        EXPECT_EQ(StatusOf(1), c.to) << c.from;
        EXPECT_EQ(state.DisableButtonCaption, c.caption) << c.from;
        EXPECT_TRUE(state.RemoveButtonEnabled) << c.from;
    }
}

TEST_F(StagingTest, RemoveFollowsTheStateTable)
{
    for (const wchar_t* from : {L"Enabled", L"Disabled", L"Other words"}) {
        state.List.Clear();
        AddRow(L"row", from);
        state.List.Select(1);
        cmdRemove_Click(state);
        EXPECT_EQ(StatusOf(1), L"Remove") << from;
        EXPECT_FALSE(state.RemoveButtonEnabled);
        EXPECT_EQ(state.DisableButtonCaption, L"start"); // Remove leaves the caption alone
    }
    state.RemoveButtonEnabled = true;
    cmdRemove_Click(state); // already marked: only the button changes
    EXPECT_EQ(StatusOf(1), L"Remove");
    EXPECT_FALSE(state.RemoveButtonEnabled);
}

TEST_F(StagingTest, SequencesOfClicks)
{
    AddRow(L"a", L"Enabled");
    state.List.Select(1);
    cmdDisable_Click(state);
    EXPECT_EQ(state.DisableButtonCaption, L"&Enable");
    cmdDisable_Click(state);
    EXPECT_EQ(StatusOf(1), L"Enabled");
    EXPECT_EQ(state.DisableButtonCaption, L"&Disable");
    // Disabled, then Remove, then Disable/Enable: enabled, not disabled.
    cmdDisable_Click(state);
    cmdRemove_Click(state);
    cmdDisable_Click(state);
    EXPECT_EQ(StatusOf(1), L"Enabled");
    EXPECT_TRUE(state.RemoveButtonEnabled);
}

TEST_F(StagingTest, NothingHappensWithoutRowsOrSelection)
{
    cmdDisable_Click(state);
    cmdRemove_Click(state);
    SyncButtonsToSelection(state);
    EXPECT_EQ(state.DisableButtonCaption, L"start");
    EXPECT_TRUE(state.RemoveButtonEnabled);
    AddRow(L"a", L"Enabled");
    state.List.Select(0);
    cmdDisable_Click(state);
    cmdRemove_Click(state);
    EXPECT_EQ(StatusOf(1), L"Enabled");
}

TEST_F(StagingTest, ClickingARowSetsTheButtons)
{
    AddRow(L"enabled", L"Enabled");
    AddRow(L"disabled", L"Disabled");
    AddRow(L"removed", L"Remove");
    AddRow(L"foreign", L"Activé");
    state.List.Select(2);
    SyncButtonsToSelection(state);
    EXPECT_EQ(state.DisableButtonCaption, L"&Enable");
    EXPECT_TRUE(state.RemoveButtonEnabled);
    state.List.Select(3);
    SyncButtonsToSelection(state);
    EXPECT_EQ(state.DisableButtonCaption, L"&Enable"); // kept from the previous row
    EXPECT_FALSE(state.RemoveButtonEnabled);
    state.List.Select(1);
    SyncButtonsToSelection(state);
    EXPECT_EQ(state.DisableButtonCaption, L"&Disable");
    EXPECT_TRUE(state.RemoveButtonEnabled);
    state.List.Select(4);
    SyncButtonsToSelection(state);
    EXPECT_FALSE(state.RemoveButtonEnabled);
    cmdDisable_Click(state);
    EXPECT_EQ(StatusOf(4), L"Enabled");
}

TEST_F(StagingTest, TheWordsComparedAreThoseOfThePackInUse)
{
    WritePack(L"English.ini", L"413=Aktiv\r\n423=Inaktiv\r\n424=Entfernen\r\n");
    AddRow(L"english", L"Enabled");
    AddRow(L"german", L"Aktiv");
    state.List.Select(1);
    SyncButtonsToSelection(state);
    EXPECT_FALSE(state.RemoveButtonEnabled); // "Enabled" is no word of this pack
    state.List.Select(2);
    cmdDisable_Click(state);
    EXPECT_EQ(StatusOf(2), L"Inaktiv");
    cmdRemove_Click(state);
    EXPECT_EQ(StatusOf(2), L"Entfernen");
}
