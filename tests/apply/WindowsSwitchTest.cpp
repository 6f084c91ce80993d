// Entries that Windows itself switched off under StartupApproved: listed as disabled, never
// stored, switched on by an Enable, left alone by a Disable.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "staging/EntryStore.h"
#include "staging/ResetAll.h"
#include "staging/StagingCommands.h"

using namespace applytest;

namespace {

// A switch as Windows writes it: the state, then the time it was switched off.
std::vector<BYTE> Flag(BYTE state)
{
    std::vector<BYTE> flag(12, 0);
    flag[0] = state;
    if (state & 1)
        for (size_t i = 4; i < 12; ++i) flag[i] = static_cast<BYTE>(0xA0 + i);
    return flag;
}

std::vector<const Place*> SwitchedPlaces()
{
    std::vector<const Place*> places;
    for (const Place& place : Places())
        if (!place.approved.empty()) places.push_back(&place);
    return places;
}

// Several places share one key of switches: each gets names of its own.
std::wstring Name(const wchar_t* what, const Place& place)
{
    return what + (L" " + std::to_wstring(&place - Places().data()));
}

class WindowsSwitchTest : public ApplyTest {
  protected:
    void Toggle(const std::wstring& taskName)
    {
        state->List.Select(Position(taskName));
        cmdDisable_Click(*state);
    }
};

} // namespace

TEST_F(WindowsSwitchTest, EachPlaceWithASwitchListsAnEntrySwitchedOffAsDisabledByWindows)
{
    struct Case {
        const wchar_t* name;
        std::vector<BYTE> flag; // none: no switch at all
        bool off;
    };
    const Case cases[] = {{L"On2", Flag(0x02), false},
                          {L"Off3", Flag(0x03), true},
                          {L"On6", Flag(0x06), false},
                          {L"Unswitched", {}, false},
                          {L"Short", {0x03, 0, 0, 0}, false}};
    ASSERT_EQ(SwitchedPlaces().size(), 5u) << "the user's and the machine's Run keys, the 32-bit one, both folders";
    for (const Place* place : SwitchedPlaces())
        for (const Case& c : cases) {
            SeedPlace(*place, Name(c.name, *place), L"C:\\Apps\\app.exe");
            if (!c.flag.empty()) SetSwitch(*place, Name(c.name, *place), c.flag);
        }
    // A switch of a place that has none is not Windows' business.
    SeedPlace(PlaceOf(L"Registry(User RunOnce)"), Name(L"Off3", *SwitchedPlaces()[0]), L"C:\\once.exe");

    Start();
    ASSERT_EQ(state->List.Count(), 5 * 5 + 1);
    for (int row = 1; row <= state->List.Count(); ++row) {
        const StartupEntry& entry = state->List.Row(row);
        const bool off = entry[TaskName].starts_with(L"Off3") && entry[LoadFrom] != L"Registry(User RunOnce)";
        EXPECT_EQ(entry.disabledByWindows, off) << entry[TaskName] << " " << entry[LoadFrom];
        EXPECT_EQ(entry[Status], off ? L"Disabled" : L"Enabled") << entry[TaskName];
        EXPECT_EQ(state->List.Shown(row, Status), off ? L"Disabled by Windows" : entry[Status]);
    }
}

TEST_F(WindowsSwitchTest, EnableSwitchesItOnWhereItIsAndDisableLeavesTheSwitchAlone)
{
    for (const Place* place : SwitchedPlaces()) {
        SeedPlace(*place, Name(L"Off", *place), L"C:\\Apps\\off.exe");
        SetSwitch(*place, Name(L"Off", *place), Flag(0x03));
        SeedPlace(*place, Name(L"Mine", *place), L"C:\\Apps\\mine.exe");
    }
    Start();
    // Disabled by this program, an entry leaves its place for the store; Windows' are never stored.
    for (const Place* place : SwitchedPlaces()) Toggle(Name(L"Mine", *place));
    ApplyResult result = ApplyNow(*state);
    ASSERT_TRUE(result.failures.empty());
    EXPECT_EQ(StoredRecords().size(), SwitchedPlaces().size());
    for (const EntryRecord& record : StoredRecords()) EXPECT_TRUE(record[TaskName].starts_with(L"Mine"));
    // Reset All keeps them too: they are in their places, not in the store.
    cmdReset_Click(*state);
    for (const Place* place : SwitchedPlaces())
        EXPECT_TRUE(state->List.Row(Position(Name(L"Off", *place))).disabledByWindows);

    for (const Place* place : SwitchedPlaces()) Toggle(Name(L"Off", *place));
    result = ApplyNow(*state);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.written, static_cast<int>(SwitchedPlaces().size()));
    const std::vector<BYTE> on = Flag(0x02);
    for (const Place* place : SwitchedPlaces()) {
        const std::wstring name = Name(L"Off", *place);
        EXPECT_EQ(ReadPlace(*place, name), L"C:\\Apps\\off.exe") << place->loadFrom;
        EXPECT_EQ(Switch(*place, name), on) << place->loadFrom;
        EXPECT_EQ(state->List.Shown(Position(name), Status), L"Enabled");
    }
    EXPECT_EQ(StoredRecords().size(), SwitchedPlaces().size()) << "still only the program's own";

    // Switched on, a Disable takes it out and stores it like any other, and leaves the switch on.
    for (const Place* place : SwitchedPlaces()) Toggle(Name(L"Off", *place));
    result = ApplyNow(*state);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(StoredRecords().size(), 2 * SwitchedPlaces().size());
    for (const Place* place : SwitchedPlaces()) {
        EXPECT_EQ(ReadPlace(*place, Name(L"Off", *place)), L"<missing>") << place->loadFrom;
        EXPECT_EQ(Switch(*place, Name(L"Off", *place)), on);
        EXPECT_TRUE(Switch(*place, Name(L"Mine", *place)).empty()) << "a Disable writes no switch";
    }

    // Enabled from the store, each entry starts: its switch is on.
    Start();
    for (const Place* place : SwitchedPlaces()) {
        SetSwitch(*place, Name(L"Mine", *place), Flag(0x07));
        Toggle(Name(L"Mine", *place));
    }
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    for (const Place* place : SwitchedPlaces()) {
        EXPECT_EQ(ReadPlace(*place, Name(L"Mine", *place)), L"C:\\Apps\\mine.exe");
        EXPECT_EQ(Switch(*place, Name(L"Mine", *place)), Flag(0x06)) << "on, the other state bits kept";
    }
}
