// Entries that an apply or a restart used to lose: unnamed values and the store records after
// them, blanks around names, and a store that could not be read whole.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyReport.h"
#include "staging/EntryStore.h"
#include "staging/ResetAll.h"

using namespace applytest;

namespace {

const std::wstring UserRun = RunBase + L"Run";

std::wstring Shown(const MainState& state, const std::wstring& exactName, int column)
{
    for (int row = 1; row <= state.List.Count(); ++row)
        if (state.List.Text(row, TaskName) == exactName) return state.List.Shown(row, column);
    return L"<no row>";
}

} // namespace

TEST_F(ApplyTest, AnUnnamedValueAndTheEntriesStoredAfterItComeBackAfterARestart)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"", L"C:\\default.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"After", L"C:\\after.exe");
    Start();
    Stage(L"", L"Disabled");
    Stage(L"After", L"Disabled");
    ApplyNow(*state);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, UserRun, L""));

    Start();
    ApplyNow(*state); // nothing staged: the store is written again from what was read
    Start();
    ASSERT_EQ(state->List.Count(), 2);
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName), (std::vector<std::wstring>{L"", L"After"}));
    Stage(L"", L"Enabled");
    ApplyNow(*state);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, UserRun, L""), L"C:\\default.exe");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"After"});
}

TEST_F(ApplyTest, BlanksAroundANameNeitherHideItsDataNorLeadToAnotherValue)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"", L"C:\\default.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"  Beta  ", L"C:\\beta.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"   ", L"C:\\blanks.exe");
    Start();
    EXPECT_EQ(Shown(*state, L"  Beta  ", TaskName), L"Beta");
    EXPECT_EQ(Shown(*state, L"  Beta  ", Location), L"C:\\beta.exe");
    EXPECT_EQ(Shown(*state, L"   ", TaskName), L"");
    EXPECT_EQ(Shown(*state, L"   ", Location), L"C:\\blanks.exe");

    Stage(L"   ", L"Disabled");
    Stage(L"  Beta  ", L"Disabled");
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, UserRun, L"   "));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, UserRun, L"  Beta  "));
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, UserRun, L""), L"C:\\default.exe");

    Start();
    Stage(L"  Beta  ", L"Enabled");
    ApplyNow(*state);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, UserRun, L"  Beta  "), L"C:\\beta.exe");
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, UserRun, L"Beta"));
}

TEST_F(ApplyTest, AStoreThatWasNotReadWholeIsNeverRewritten)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, UserRun, L"A", L"C:\\a.exe");
    WriteEntryFile({Record(L"S1", L"Disabled", L"Registry(User Run)", L"C:\\s1.exe"),
                    Record(L"S2", L"Disabled", L"Registry(User Run)", L"C:\\s2.exe")},
                   StorePath(), 2);
    const std::string whole = testsupport::ReadBytes(StorePath());
    {
        // Held by another program: nothing of it is listed, and the apply leaves it alone.
        HeldFile held(StorePath());
        ASSERT_TRUE(held.held());
        Start();
        EXPECT_EQ(state->StoreProblem.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(state->List.Count(), 1);
        Stage(L"A", L"Disabled");
        const ApplyResult result = ApplyNow(*state);
        ASSERT_EQ(result.failures.size(), 1u);
        EXPECT_EQ(result.failures[0].reason, ApplyFailure::StoreNotSaved);
        EXPECT_TRUE(result.storeNotRead);
        EXPECT_NE(ApplyResultText(result).find(L"left as it was"), std::wstring::npos);
        cmdReset_Click(*state);
    }
    EXPECT_EQ(testsupport::ReadBytes(StorePath()), whole);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, UserRun, L"A"), L"C:\\a.exe");

    // Ending inside a record: the whole records are listed, and the file stays as it is.
    const std::string cut = whole + "S3\r\nDisabled\r\n";
    testsupport::WriteBytes(StorePath(), cut);
    Start();
    EXPECT_TRUE(state->StoreProblem.incomplete);
    EXPECT_EQ(state->List.Count(), 3);
    Stage(L"S1", L"Enabled");
    ApplyNow(*state);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, UserRun, L"S1"), L"C:\\s1.exe");
    EXPECT_EQ(testsupport::ReadBytes(StorePath()), cut);

    // Read whole again, it follows the list once more; S1, back in its source, is listed once.
    testsupport::WriteBytes(StorePath(), whole);
    Start();
    EXPECT_TRUE(state->StoreReadWhole());
    EXPECT_EQ(testsupport::RowTexts(state->List, TaskName), (std::vector<std::wstring>{L"A", L"S1", L"S2"}));
    ApplyNow(*state);
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"S2"});
}
