// The apply engine end to end: staged rows reach the real places of the test prefix, the store
// follows, and the baseline stays paired with the rows.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "staging/StagingCommands.h"

#include <algorithm>

using namespace applytest;

namespace {

std::wstring TaskFor(const Place& place)
{
    // win.ini rows are named after their line.
    return place.kind == Place::WinIni ? place.loadFrom : L"Task " + place.loadFrom;
}

std::wstring LocationFor(const Place& place)
{
    switch (place.kind) {
    case Place::WinIni:
        return L"C:\\Ini\\" + place.name + L".exe C:\\Ini\\second.exe";
    case Place::StartUp:
        return L"C:\\Apps\\" + std::to_wstring(place.csidl) + L".exe -start";
    case Place::Registry:
        break;
    }
    return L"%SystemRoot%\\" + place.name + L".exe -start";
}

// Through the staging command, as the user does it.
void Toggle(MainState& state, int position)
{
    state.List.Select(position);
    cmdDisable_Click(state);
}

} // namespace

TEST_F(ApplyTest, EachSourceDisabledIsTakenOutAndStoredThenEnabledComesBackAsItWas)
{
    const int n = static_cast<int>(Places().size());
    for (const Place& place : Places())
        SeedPlace(place, place.kind == Place::WinIni ? L"" : TaskFor(place), LocationFor(place));
    Start();
    // Each listed once, under its own Load From.
    std::vector<std::wstring> listed = testsupport::RowTexts(state->List, LoadFrom), expected;
    for (const Place& place : Places()) expected.push_back(place.loadFrom);
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(listed, expected);
    for (int row = 1; row <= n; ++row) Toggle(*state, row);

    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(result.takenOut, n);
    EXPECT_EQ(result.written, 0);
    EXPECT_TRUE(result.failures.empty());
    for (const Place& place : Places()) {
        const std::wstring name = place.kind == Place::WinIni ? L"" : TaskFor(place);
        EXPECT_EQ(ReadPlace(place, name), place.kind == Place::WinIni ? L"" : L"<missing>") << place.loadFrom;
    }
    ASSERT_EQ(StoredRecords().size(), static_cast<size_t>(n));
    for (int row = 1; row <= n; ++row)
        EXPECT_EQ(StoredRecords()[static_cast<size_t>(row - 1)], state->List.Row(row));
    ExpectBaselinePaired();

    // The next start finds them only in the store, disabled; enabling brings each back.
    Start();
    ASSERT_EQ(state->List.Count(), n);
    for (int row = 1; row <= n; ++row) {
        EXPECT_EQ(state->List.Text(row, Status), L"Disabled");
        Toggle(*state, row);
    }
    result = ApplyNow(*state);
    EXPECT_EQ(result.written, n);
    EXPECT_TRUE(result.failures.empty());
    for (const Place& place : Places()) {
        const std::wstring name = place.kind == Place::WinIni ? L"" : TaskFor(place);
        EXPECT_EQ(ReadPlace(place, name), LocationFor(place)) << place.loadFrom;
        // A REG_SZ whose text holds a '%' comes back as it was, not as the text alone would make it.
        if (place.kind != Place::Registry) continue;
        DWORD type = 0;
        testsupport::RegStringValue(place.root, place.path, name, &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << place.loadFrom;
    }
    EXPECT_FALSE(platform::FileExists(StorePath()));

    // And the next start shows them as scanned, enabled, with the same texts.
    MainState before = std::move(*state);
    Start();
    ASSERT_EQ(state->List.Count(), n);
    for (int row = 1; row <= n; ++row) {
        EXPECT_EQ(state->List.Text(row, Status), L"Enabled");
        EXPECT_EQ(state->List.Text(row, Location), before.List.Text(row, Location));
    }
}

TEST_F(ApplyTest, ARemovedDisabledEntryIsForgotten)
{
    WriteEntryFile({Record(L"Old", L"Disabled", L"Registry(Machine Run)", L"C:\\old.exe"),
                    Record(L"Kept", L"Disabled", L"Registry(Machine Run)", L"C:\\kept.exe")},
                   StorePath(), 2);
    Start();
    Stage(L"Old", L"Remove");
    ApplyResult result = ApplyNow(*state);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName), std::vector<std::wstring>{L"Kept"});
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Kept"});
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Old"), L"<missing>");
    ExpectBaselinePaired();
    Start();
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName), std::vector<std::wstring>{L"Kept"});
}

TEST_F(ApplyTest, EachRowOfTheResultTable)
{
    // Records Enabled: scanned values. Records Disabled: stored entries. Then three added rows.
    const std::wstring run = RunBase + L"Run";
    for (const wchar_t* name : {L"EE", L"DE", L"RE"})
        testsupport::SetRegString(HKEY_CURRENT_USER, run, name, L"C:\\v.exe");
    WriteEntryFile({Record(L"ED", L"Disabled", L"Registry(User Run)", L"C:\\ed.exe"),
                    Record(L"RD", L"Disabled", L"Registry(User Run)", L"C:\\rd.exe"),
                    Record(L"DD", L"Disabled", L"Registry(User Run)", L"C:\\dd.exe")},
                   StorePath(), 3);
    Start();
    Stage(L"DE", L"Disabled");
    Stage(L"RE", L"Remove");
    Stage(L"ED", L"Enabled");
    Stage(L"RD", L"Remove");
    state->List.AppendRow(Record(L"EA", L"Enabled", L"Registry(User Run)", L"C:\\ea.exe"));
    state->List.AppendRow(Record(L"DA", L"Disabled", L"Registry(User Run)", L"C:\\da.exe"));
    state->List.AppendRow(Record(L"RA", L"Remove", L"Registry(User Run)", L"C:\\ra.exe"));
    // Behind the program's back: rows with no change must not be written or taken out again.
    testsupport::SetRegString(HKEY_CURRENT_USER, run, L"EE", L"C:\\changed.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, run, L"DD", L"C:\\back.exe");

    ApplyResult result = ApplyNow(*state);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.written, 2);  // ED, EA
    EXPECT_EQ(result.takenOut, 3); // DE, RE, RD
    auto value = [&](const wchar_t* name) {
        return testsupport::RegStringValue(HKEY_CURRENT_USER, run, name);
    };
    EXPECT_EQ(value(L"EE"), L"C:\\changed.exe");
    EXPECT_EQ(value(L"DE"), L"<missing>");
    EXPECT_EQ(value(L"RE"), L"<missing>");
    EXPECT_EQ(value(L"ED"), L"C:\\ed.exe");
    EXPECT_EQ(value(L"RD"), L"<missing>");
    EXPECT_EQ(value(L"DD"), L"C:\\back.exe");
    EXPECT_EQ(value(L"EA"), L"C:\\ea.exe");
    EXPECT_EQ(value(L"DA"), L"<missing>");
    EXPECT_EQ(value(L"RA"), L"<missing>");
    // Scanned rows come in the registry's order, which need not be the order of writing.
    std::vector<std::wstring> names = testsupport::RowTexts(state->List, TaskName);
    std::sort(names.begin(), names.begin() + 2);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"DE", L"EE", L"ED", L"DD", L"EA", L"DA"}));
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"DE", L"DD", L"DA"}));
    ExpectBaselinePaired();
}

TEST_F(ApplyTest, ApplyingTwiceOrUndoingBeforeApplyingTouchesNothing)
{
    const std::wstring run = RunBase + L"Run";
    for (const wchar_t* name : {L"A", L"B", L"C"})
        testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, name, L"C:\\v.exe");
    Start();
    Stage(L"A", L"Disabled");
    ApplyNow(*state);
    const std::string store = testsupport::ReadBytes(StorePath());

    // Second apply: A put back and B deleted behind the program's back stay so.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, L"A", L"C:\\v.exe");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, run.c_str(), L"B");
    ApplyResult second = ApplyNow(*state);
    EXPECT_EQ(second.written + second.takenOut, 0);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"A"), L"C:\\v.exe");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"B"), L"<missing>");
    EXPECT_EQ(testsupport::ReadBytes(StorePath()), store);

    // Disabled and enabled again before applying: the source is not written.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, L"C", L"C:\\changed.exe");
    Toggle(*state, Position(L"C"));
    Toggle(*state, Position(L"C"));
    ApplyResult undone = ApplyNow(*state);
    EXPECT_EQ(undone.written + undone.takenOut, 0);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"C"), L"C:\\changed.exe");
}

TEST_F(ApplyTest, ARemovalInTheMiddleKeepsEveryRowWithItsOwnRecord)
{
    const std::wstring run = RunBase + L"RunOnce";
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"})
        testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, name, std::wstring(L"C:\\") + name + L".exe");
    Start();
    Stage(L"C", L"Remove");
    ApplyNow(*state);
    ExpectBaselinePaired();
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName),
              (std::vector<std::wstring>{L"A", L"B", L"D", L"E"}));

    Stage(L"E", L"Disabled");
    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(result.takenOut, 1);
    ExpectBaselinePaired();
    for (const wchar_t* name : {L"A", L"B", L"D"})
        EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, name),
                  std::wstring(L"C:\\") + name + L".exe");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"C"), L"<missing>");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"E"), L"<missing>");
}

TEST_F(ApplyTest, AddedRowsAreWrittenOnceAndOnlyWhenEnabled)
{
    const std::wstring run = RunBase + L"RunServices";
    Start();
    state->List.AppendRow(Record(L"On", L"Enabled", L"Registry(Machine RunServices)", L"C:\\on.exe"));
    state->List.AppendRow(Record(L"Off", L"Disabled", L"Registry(Machine RunServices)", L"C:\\off.exe"));
    state->List.AppendRow(Record(L"Gone", L"Remove", L"Registry(Machine RunServices)", L"C:\\gone.exe"));
    ApplyNow(*state);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"On"), L"C:\\on.exe");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"Off"), L"<missing>");
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName), (std::vector<std::wstring>{L"On", L"Off"}));
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Off"});
    ExpectBaselinePaired();

    // Not written again; the disabled one is written once enabled.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, run.c_str(), L"On");
    Stage(L"Off", L"Enabled");
    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(result.written, 1);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"On"), L"<missing>");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"Off"), L"C:\\off.exe");
    EXPECT_FALSE(platform::FileExists(StorePath()));
}

TEST_F(ApplyTest, AShorterListIsComparedByPositionAndNeverEmptiesTheStore)
{
    const std::wstring run = RunBase + L"Run";
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        testsupport::SetRegString(HKEY_CURRENT_USER, run, name, std::wstring(L"C:\\") + name + L".exe");
    WriteEntryFile({Record(L"S", L"Disabled", L"Registry(User Run)", L"C:\\s.exe")}, StorePath(), 1);
    Start();
    ASSERT_EQ(state->BaselineCount, 5);

    // As a profile of two rows would leave it: row 1 pairs with record A, row 2 with record B.
    state->List.Clear();
    state->List.AppendRow(Record(L"A", L"Disabled", L"Registry(User Run)", L"C:\\A.exe"));
    state->List.AppendRow(Record(L"X", L"Enabled", L"Registry(User Run)", L"C:\\x.exe"));
    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(result.takenOut, 1);
    EXPECT_EQ(result.written, 0); // X meets B's Enabled record: no change
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, L"A"), L"<missing>");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, L"X"), L"<missing>");
    for (const wchar_t* name : {L"B", L"C", L"D"}) // dropped records: their entries untouched
        EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, name),
                  std::wstring(L"C:\\") + name + L".exe");
    ExpectBaselinePaired(false);
    // S is in no row, and no longer in its source: the store keeps it.
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"A", L"S"}));

    state->List.Clear();
    result = ApplyNow(*state);
    EXPECT_EQ(result.written + result.takenOut, 0);
    EXPECT_EQ(state->BaselineCount, 0);
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"A", L"S"}));
}
