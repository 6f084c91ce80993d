// Delayed entries through staging and the apply: out of their places exactly as Disable takes them,
// their seconds and order in the store, back byte for byte; the places that cannot be delayed.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "staging/ResetAll.h"
#include "staging/StagingCommands.h"

using namespace applytest;
using testsupport::RegStringValue;
using testsupport::RegValueExists;
using testsupport::RowTexts;
using testsupport::SetRegString;
using Names = std::vector<std::wstring>;

TEST_F(ApplyTest, ADelayedEntryLeavesItsPlaceLikeADisabledOneAndComesBackExactly)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L" Sync ", L"%ProgramFiles%\\s.exe", REG_SZ);
    SeedPlace(PlaceOf(L"StartUp (Current User)"), L"Notes.lnk", L"C:\\Apps\\notes.exe");
    SetRegString(HKEY_LOCAL_MACHINE, RunKey, L"Agent", L"C:\\a.exe");
    Start();
    Delay(*state, Position(L" Sync "), 45);
    Delay(*state, Position(L"Notes.lnk"), 10);
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L" Sync "));
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"Notes.lnk"), L"<missing>");
    EXPECT_EQ(RegStringValue(HKEY_LOCAL_MACHINE, RunKey, L"Agent"), L"C:\\a.exe");
    // The store says delayed, with the seconds and the order each was delayed in.
    const std::vector<FileRecord> stored = FileRecords(StoredRecords());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0][Status], L"Delayed 45 1");
    EXPECT_EQ(stored[1][Status], L"Delayed 10 2");

    // A fresh start lists them delayed; a new delay and a disable keep them out of their places.
    Start();
    EXPECT_EQ(RowTexts(state->List, Status), (Names{L"Enabled", L"Delayed (45 s, 1)", L"Delayed (10 s, 2)"}));
    Delay(*state, Position(L" Sync "), 120);
    Stage(L"Notes.lnk", EntryState::Disabled);
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_EQ(FileRecords(StoredRecords())[0][Status], L"Delayed 120 1");
    EXPECT_EQ(FileRecords(StoredRecords())[1][Status], L"Disabled");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L" Sync "));

    // Reset All after a staged undelay lists it delayed still; an undelay applied puts it back
    // as it was: the same name and type, the text unexpanded.
    Start();
    Stage(L" Sync ", EntryState::Enabled);
    ResetStaged(*state);
    EXPECT_EQ(state->List.State(Position(L" Sync ")), EntryState::Delayed);
    Stage(L" Sync ", EntryState::Enabled);
    Stage(L"Notes.lnk", EntryState::Enabled);
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    DWORD type = 0;
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L" Sync ", &type), L"%ProgramFiles%\\s.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"Notes.lnk"), L"C:\\Apps\\notes.exe");
    EXPECT_TRUE(StoredRecords().empty());
}

TEST_F(ApplyTest, RunOnceServicesAndProgramsAskingElevationAreRefusedAtStagingWithTheirReasons)
{
    SetRegString(HKEY_CURRENT_USER, RunBase + L"RunOnce", L"Once", L"C:\\once.exe");
    SetRegString(HKEY_LOCAL_MACHINE, RunBase + L"RunServices", L"Svc", L"C:\\svc.exe");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Plain", L"C:\\plain.exe");
    Start();
    FileFactsTable facts;
    for (const auto& [name, refusal, words] :
         {std::tuple{L"Once", DelayRefusal::RunsOnce, L"deletes an entry"},
          std::tuple{L"Svc", DelayRefusal::Service, L"it is a service"}})
    {
        state->List.Select(Position(name));
        EXPECT_EQ(DelaySelected(*state, 30, facts), refusal) << name;
        EXPECT_EQ(state->List.State(Position(name)), EntryState::Enabled);
        EXPECT_NE(DelayRefusalText(refusal, state->List.Row(Position(name))).find(words), std::wstring::npos);
    }
    // A program whose manifest asks requireAdministrator, here beside it.
    const std::wstring elevated = programFolder + L"\\setup.exe";
    ASSERT_EQ(platform::ReplaceFileAtomically(elevated, "MZ"), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(platform::ReplaceFileAtomically(elevated + L".manifest",
                                              "<requestedExecutionLevel level=\"requireAdministrator\"/>"),
              static_cast<DWORD>(ERROR_SUCCESS));
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Setup", L"\"" + elevated + L"\" /tray");
    Start();
    state->List.Select(Position(L"Setup"));
    EXPECT_EQ(DelaySelected(*state, 30, facts), DelayRefusal::NeedsElevation);
    EXPECT_NE(DelayRefusalText(DelayRefusal::NeedsElevation, state->List.Row(Position(L"Setup")))
                  .find(L"asks for administrator rights"),
              std::wstring::npos);
    // A row delayed again keeps its order; the next one comes after it.
    Delay(*state, Position(L"Plain"), 30);
    Delay(*state, Position(L"Plain"), 60);
    EXPECT_EQ(state->List.Row(Position(L"Plain")).delayOrder, 1);
    EXPECT_EQ(state->List.Row(Position(L"Plain")).delaySeconds, 60);
}
