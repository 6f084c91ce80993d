// What an apply does when the system refuses or the store is out of reach: every failure is named,
// nothing is lost, the apply goes on with the other rows; and the status line that says so.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyReport.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/StartupSwitch.h"
#include "staging/EntryStore.h"
#include "staging/ResetAll.h"

using namespace applytest;
using testsupport::ReadBytes;
using testsupport::RegStringValue;
using Names = std::vector<std::wstring>;

TEST_F(ApplyTest, EntriesTheSystemRefusesAreNamedAndKeptWhileTheRestIsApplied)
{
    SeedPlace(PlaceOf(L"StartUp (Current User)"), L"Clock", L"C:\\Tools\\clock.exe");
    SetFileAttributesW((UserStartup() + L"\\Clock.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    // No exact copy can be kept where a file stands in place of its folder: the shortcut stays.
    SeedPlace(PlaceOf(L"StartUp (All Users)"), L"Dock", L"C:\\dock.exe");
    const std::wstring copies = platform::GetWindowsFolder() + platform::names::CopiesFolder;
    CreateDirectoryW(copies.c_str(), nullptr);
    testsupport::WriteBytes(copies + L"StartUp (All Users)", "");
    for (const wchar_t* name : {L"Tray", L"Gone"})
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, L"C:\\tray.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Keep", L"C:\\keep.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunBase + L"RunServices", L"Same", L"C:\\same.exe");
    // A machine key the user may not write (an existing one: writing would otherwise create it).
    DenyWrites(HKEY_LOCAL_MACHINE, RunBase + L"RunServices");
    WriteEntryFile(
        FileRecords({Record(L"Agent", L"Disabled", L"Registry(Machine RunServices)", L"C:\\agent.exe")}),
        StorePath());
    Start();
    for (const wchar_t* name : {L"Clock", L"Dock", L"Tray", L"Gone"})
        Stage(name, EntryState::Disabled);
    Stage(L"Agent", EntryState::Enabled);
    state->List.AppendRow(Record(L"Nowhere", L"Enabled", L"Registry(Machine Elsewhere)", L"C:\\n.exe"));
    // A target the link object will not take: never saved as a shortcut that lost it.
    state->List.AppendRow(Record(L"Odd", L"Enabled", L"StartUp (Current User)", L"C:\\x.exe \"a b\" -y"));
    // Added where an entry of that name already is: never replaced; the same entry is not rewritten.
    state->List.AppendRow(Record(L"keep", L"Enabled", L"Registry(User Run)", L"C:\\other.exe"));
    state->List.AppendRow(Record(L"Same", L"Enabled", L"Registry(Machine RunServices)", L"C:\\same.exe"));
    // Taken away behind the program's back: the apply cannot say it took it out.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey.c_str(), L"Gone");

    const ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(
        ApplyResultText(result),
        L"Applied: 1 written, 1 taken out. Not applied: Gone (not found in its place), Clock (access "
        L"denied), Dock (not found in its place), Agent (access denied), Nowhere (no known place for its "
        L"Load From), Odd (Invalid name), keep (another entry of that name is in its place).");
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Keep"), L"C:\\keep.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"Clock"), L"C:\\Tools\\clock.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (All Users)"), L"Dock"), L"C:\\dock.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"Registry(User Run)"), L"Tray"), L"<missing>");
    // Each row says where its entry is: Clock still in its folder, the unwritten ones stored.
    EXPECT_EQ(Shown(state->List.Row(Position(L"Clock")), Status) +
                  Shown(state->List.Row(Position(L"Dock")), Status),
              L"EnabledEnabled");
    EXPECT_EQ(Shown(state->List.Row(Position(L"Agent")), Status), L"Disabled");
    EXPECT_EQ(Shown(state->List.Row(Position(L"Nowhere")), Status), L"Disabled");
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"Odd"), L"<missing>");
    EXPECT_EQ(StoredNames(), (Names{L"Gone", L"Tray", L"Odd", L"keep", L"Agent", L"Nowhere"}));
    ExpectBaselinePaired();
}

TEST_F(ApplyTest, AStoreThatCannotBeWrittenKeepsDisabledEntriesInTheirSources)
{
    // Where Windows honours its switch, only A, of a place without one, needs the store.
    platform::OverrideStartupSwitch(true);
    const std::wstring onceKey = RunBase + L"RunOnce";
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, onceKey, L"A", L"C:\\a.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunKey, L"B", L"C:\\b.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunKey, L"C", L"C:\\c.exe");
    WriteEntryFile(FileRecords({Record(L"S", L"Disabled", L"Registry(Machine Run)", L"C:\\s.exe")}),
                   StorePath());
    const std::string storeBefore = ReadBytes(StorePath());
    Start();
    Stage(L"A", EntryState::Disabled);
    Stage(L"B", EntryState::Remove);
    Stage(L"C", EntryState::Disabled);
    ApplyResult result;
    {
        HeldFile held(StorePath(), FILE_SHARE_READ); // read, as the apply reads it first, but not replaced
        ASSERT_TRUE(held.handle);
        result = ApplyNow(*state);
    }
    EXPECT_EQ(RegStringValue(HKEY_LOCAL_MACHINE, onceKey, L"A"), L"C:\\a.exe"); // not taken out
    EXPECT_EQ(RegStringValue(HKEY_LOCAL_MACHINE, RunKey, L"B"), L"<missing>");  // removal goes on
    EXPECT_EQ(RegStringValue(HKEY_LOCAL_MACHINE, RunKey, L"C"), L"C:\\c.exe");  // switched off there
    EXPECT_EQ(ReadBytes(StorePath()), storeBefore);
    // Wine refuses to replace a file held open with "access denied"; Windows may say "in use".
    EXPECT_TRUE(result.storeError == ERROR_ACCESS_DENIED || result.storeError == ERROR_SHARING_VIOLATION);
    const std::wstring line = ApplyResultText(result);
    EXPECT_EQ(line.substr(0, line.rfind(L':')), L"Applied: 0 written, 1 taken out. 1 switched off in "
                                                L"Windows' startup settings. Not applied: A (left in "
                                                L"its place, the disabled entries could not be saved first). "
                                                L"The disabled entries could not be saved");

    // Once the store can be written, the next apply takes A out; S, stored by an earlier build,
    // comes back, and C removed takes its switch along.
    Stage(L"S", EntryState::Enabled);
    Stage(L"C", EntryState::Remove);
    EXPECT_EQ(ApplyResultText(ApplyNow(*state)), L"Applied: 1 written, 2 taken out.");
    EXPECT_EQ(RegStringValue(HKEY_LOCAL_MACHINE, onceKey, L"A") +
                  RegStringValue(HKEY_LOCAL_MACHINE, RunKey, L"S"),
              L"<missing>C:\\s.exe");
    EXPECT_TRUE(Switch(PlaceOf(L"Registry(Machine Run)"), L"C").empty());
    EXPECT_EQ(StoredNames(), (Names{L"A"}));

    // An apply that leaves the store as it is does not write it: a store out of reach holds up nothing.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunKey, L"D", L"C:\\d.exe");
    Start();
    Stage(L"D", EntryState::Disabled);
    HeldFile held(StorePath(), FILE_SHARE_READ);
    EXPECT_EQ(ApplyResultText(ApplyNow(*state)),
              L"Applied: 0 written, 0 taken out. 1 switched off in Windows' startup settings.");
}

TEST_F(ApplyTest, AStoreThatWasNotReadWholeIsNeverRewritten)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"A", L"C:\\a.exe");
    WriteEntryFile(FileRecords({Record(L"S1", L"Disabled", L"Registry(User Run)", L"C:\\s1.exe"),
                                Record(L"S2", L"Disabled", L"Registry(User Run)", L"C:\\s2.exe")}),
                   StorePath());
    const std::string whole = ReadBytes(StorePath());
    {
        // Held by another program: nothing of it is listed, and the apply leaves it alone.
        HeldFile held(StorePath());
        Start();
        EXPECT_EQ(state->List.Count(), 1);
        Stage(L"A", EntryState::Disabled);
        EXPECT_EQ(
            ApplyResultText(ApplyNow(*state)),
            L"Applied: 0 written, 0 taken out. Not applied: A (left in its place, the disabled entries "
            L"could not be saved first). The file of disabled entries was left as it was: it could not be "
            L"read completely.");
        ResetStaged(*state);
    }
    EXPECT_EQ(ReadBytes(StorePath()), whole);
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"A"), L"C:\\a.exe");

    // Ending inside a record, so a count of lines that is no whole number of records: the whole
    // records are listed, the file stays.
    const std::string cut = whole + "S3\r\nDisabled\r\n";
    testsupport::WriteBytes(StorePath(), cut);
    Start();
    EXPECT_TRUE(state->Store.Problem.incomplete);
    Stage(L"S1", EntryState::Enabled);
    ApplyNow(*state);
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"S1"), L"C:\\s1.exe");
    EXPECT_EQ(ReadBytes(StorePath()), cut);
}

TEST_F(ApplyTest, TheStatusLineCountsNamesAndSpeaksThePackLanguage)
{
    ApplyResult result;
    result.written = 2;
    result.takenOut = 3;
    // Twelve failures: ten named, the rest counted; a name holding "%2" stays as it is.
    for (int i = 0; i < 12; ++i)
        result.failures.push_back({i == 0 ? L"100%2" : L"T" + std::to_wstring(i), ApplyFailure::SystemError,
                                   static_cast<DWORD>(i == 0 ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED)});
    const std::wstring line = ApplyResultText(result);
    EXPECT_NE(line.find(L"Not applied: 100%2 (not found in its place), T1 (access denied),"),
              std::wstring::npos);
    EXPECT_NE(line.find(L"T9 (access denied), 2 more."), std::wstring::npos);
    EXPECT_EQ(line.find(L"T10"), std::wstring::npos);

    WritePack(L"Deutsch.ini", L"501=Angewendet: %1 geschrieben, %2 entfernt.\r\n502=Nicht angewendet: %1.\r\n"
                              L"503=Nicht gespeichert: %1.\r\n510=Zugriff verweigert\r\n");
    LanguageFile = L"Deutsch.ini";
    result.failures = {{L"Tool", ApplyFailure::SystemError, ERROR_ACCESS_DENIED}};
    result.storeError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(ApplyResultText(result),
              L"Angewendet: 2 geschrieben, 3 entfernt. Nicht angewendet: Tool (Zugriff "
              L"verweigert). Nicht gespeichert: Zugriff verweigert.");
}
