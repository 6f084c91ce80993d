// The launcher of delayed entries: what it starts from the store, when and in which order, and its
// own Run value, written with the first delayed entry, gone with the last, never a row of the list.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "apply/DelayedStart.h"
#include "platform/Names.h"
#include "staging/LauncherValues.h"
#include "staging/StagingCommands.h"

using namespace applytest;
using testsupport::RegStringValue;
using testsupport::RegValueExists;
using testsupport::RowTexts;
using testsupport::SetRegString;
using Names = std::vector<std::wstring>;

TEST_F(ApplyTest, TheLaunchersRunValueComesWithTheFirstDelayGoesWithTheLastAndIsNoRow)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Later", L"%SystemRoot%\\later.exe", REG_EXPAND_SZ);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"First", L"C:\\first.exe");
    SetRegString(HKEY_LOCAL_MACHINE, RunKey, L"Agent", L"C:\\agent.exe");
    Start();
    Delay(*state, Position(L"Later"), 5);
    Delay(*state, Position(L"First"), 30);
    ASSERT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_TRUE(LauncherPresent(false));
    EXPECT_FALSE(LauncherPresent(true)) << "no machine entry is delayed";
    EXPECT_TRUE(RegStringValue(HKEY_CURRENT_USER, RunKey, platform::names::LauncherValue)
                    .ends_with(L"\\RavelinStart.exe\" /user"));
    // Not listed: a Disable of it would leave every delayed entry unstarted.
    Start();
    EXPECT_EQ(RowTexts(state->List, TaskName), (Names{L"Agent", L"First", L"Later"}));

    // The launcher's list: the user's entries by order, from their exact copies, expanded.
    std::vector<EntryRecord> stored;
    ASSERT_TRUE(ReadDelayedStore(stored));
    const std::vector<DelayedLaunch> launches = DelayedLaunches(stored, false);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].name, L"Later");
    EXPECT_FALSE(launches[0].commandLine.starts_with(L"%"));
    EXPECT_TRUE(launches[0].commandLine.ends_with(L"\\later.exe"));
    EXPECT_EQ(launches[1].commandLine, L"C:\\first.exe");
    EXPECT_TRUE(DelayedLaunches(stored, true).empty());
    // Written back by its program while delayed: the logon starts it, the launcher does not again.
    SetRegString(HKEY_CURRENT_USER, RunKey, L"First", L"C:\\first2.exe");
    ASSERT_EQ(DelayedLaunches(stored, false).size(), 1u);
    EXPECT_EQ(DelayedLaunches(stored, false)[0].name, L"Later");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey.c_str(), L"First");

    // The value deleted behind the program's back: the rows say so, and the next apply writes it.
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey.c_str(), platform::names::LauncherValue),
              ERROR_SUCCESS);
    Start();
    EXPECT_EQ(RowTexts(state->List, Status), (Names{L"Enabled", L"Delayed (30 s, 2), launcher missing",
                                                    L"Delayed (5 s, 1), launcher missing"}));
    Stage(L"Later", EntryState::Enabled);
    ApplyNow(*state);
    EXPECT_TRUE(LauncherPresent(false));
    EXPECT_EQ(state->List.Row(Position(L"First")).launcherMissing, false);
    Stage(L"First", EntryState::Disabled);
    ApplyNow(*state);
    EXPECT_FALSE(LauncherPresent(false)) << "no entry delayed any more";
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Later"), L"%SystemRoot%\\later.exe");
}

TEST(DelayedLaunchTest, EachStartsOnceItsDelayHasPassedAndTheOneBeforeHasSettledOrTimedOut)
{
    ULONGLONG clock = 1000;
    std::vector<std::pair<std::wstring, ULONGLONG>> started;
    int polls = 0;
    LaunchHooks hooks;
    hooks.now = [&] { return clock; };
    hooks.sleep = [&](DWORD ms) { clock += ms; };
    hooks.start = [&](const DelayedLaunch& launch) {
        started.emplace_back(launch.name, clock - 1000);
        polls = 0;
        return launch.name == L"broken" ? static_cast<DWORD>(ERROR_FILE_NOT_FOUND) : ERROR_SUCCESS;
    };
    // The first settles after three polls; the second never does.
    hooks.settled = [&] { return ++polls >= 3 && started.size() == 1; };
    const std::vector<DelayedLaunch> launches = {{L"a", 3, 1, L"a.exe", {}},
                                                 {L"b", 3, 2, L"b.exe", {}},
                                                 {L"broken", 0, 3, L"x", {}},
                                                 {L"c", 20, 4, L"c", {}}};
    EXPECT_EQ(RunDelayedLaunches(launches, 10000, hooks), 1);
    ASSERT_EQ(started.size(), 4u);
    EXPECT_EQ(started[0], (std::pair<std::wstring, ULONGLONG>{L"a", 3000}));
    EXPECT_EQ(started[1], (std::pair<std::wstring, ULONGLONG>{L"b", 3600})) << "after a settled";
    EXPECT_EQ(started[2].second, 13600u) << "after b's time limit";
    EXPECT_EQ(started[3], (std::pair<std::wstring, ULONGLONG>{L"c", 20000}))
        << "a failed start waits for none";
}

TEST_F(ApplyTest, AnEntryItsProgramWroteBackWhileDelayedIsOneDelayedRowAndTheLauncherTakesItOutAgain)
{
    const Place& folder = PlaceOf(L"StartUp (Current User)");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Sync", L"%ProgramFiles%\\sync.exe", REG_EXPAND_SZ);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Other", L"C:\\other.exe");
    SeedPlace(folder, L"Notes", L"C:\\notes.exe");
    Start();
    Delay(*state, Position(L"Sync"), 30);
    Delay(*state, Position(L"Other"), 30);
    Delay(*state, Position(L"Notes"), 60);
    ASSERT_TRUE(ApplyNow(*state).failures.empty());
    // Each program writes its entry back: two as they were, one changed.
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Sync", L"%ProgramFiles%\\sync.exe", REG_EXPAND_SZ);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Other", L"C:\\other2.exe");
    SeedPlace(folder, L"Notes", L"C:\\notes.exe");
    auto states = [&] {
        Start();
        EXPECT_EQ(state->List.Count(), 3) << "one row each";
        return std::vector{Shown(state->List.Row(Position(L"Sync")), Status),
                           Shown(state->List.Row(Position(L"Other")), Status),
                           Shown(state->List.Row(Position(L"Notes")), Status)};
    };
    EXPECT_EQ(states(), (Names{L"Delayed (30 s, 1)", L"Enabled", L"Delayed (60 s, 3)"}));
    ApplyNow(*state);
    EXPECT_EQ(StoredRecords().size(), 3u) << "an apply of nothing keeps every record";

    // The launcher's sweep: the two written back as they were go out again, the changed one stays.
    EXPECT_EQ(TakeOutWrittenBack(false, 1000), 2);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Sync"));
    EXPECT_EQ(ReadPlace(folder, L"Notes"), L"<missing>");
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Other"), L"C:\\other2.exe");
    EXPECT_EQ(states(), (Names{L"Delayed (30 s, 1)", L"Enabled", L"Delayed (60 s, 3)"}));
    std::vector<EntryRecord> stored;
    ASSERT_TRUE(ReadDelayedStore(stored));
    EXPECT_EQ(DelayedLaunches(stored, false).size(), 2u) << "started late at the next logon";

    // Undelayed, each comes back as it was.
    Stage(L"Sync", EntryState::Enabled);
    Stage(L"Notes", EntryState::Enabled);
    ASSERT_TRUE(ApplyNow(*state).failures.empty());
    DWORD type = 0;
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Sync", &type), L"%ProgramFiles%\\sync.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(ReadPlace(folder, L"Notes"), L"C:\\notes.exe");
}
