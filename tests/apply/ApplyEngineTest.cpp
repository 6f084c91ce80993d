// The apply engine end to end on the real places of the test prefix: what each staged row does to
// its source and to the store, Windows' own switches, another user's entries on the same machine,
// and the entries that used to get lost.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyReport.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/StartupSwitch.h"
#include "platform/WriteSteps.h"
#include "staging/EntryStore.h"
#include "staging/Profiles.h"
#include "staging/ResetAll.h"
#include "staging/StagingCommands.h"
#include "staging/StartupFill.h"

#include <algorithm>

using namespace applytest;
using testsupport::RegStringValue;
using testsupport::RegValueExists;
using testsupport::RowTexts;
using testsupport::SetRegString;
using Names = std::vector<std::wstring>;

namespace
{

// Windows' switch: the state, then (when stamped) the time it was switched off.
std::vector<BYTE> Flag(BYTE state, bool stamped)
{
    std::vector<BYTE> flag(12, 0);
    flag[0] = state;
    for (size_t i = 4; stamped && i < 12; ++i)
        flag[i] = static_cast<BYTE>(0xA0 + i);
    return flag;
}

// Run as under Wine, and as where Windows honours its own switch.
class EveryPlaceTest : public ApplyTest, public testing::WithParamInterface<bool>
{
};
INSTANTIATE_TEST_SUITE_P(SwitchHonoured, EveryPlaceTest, testing::Bool());

// The same machine as another user sees it: a registry and an application data folder of their own.
class OtherUser
{
  public:
    explicit OtherUser(const std::wstring& scratch)
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOpenKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKCU").c_str(), 0, KEY_ALL_ACCESS, &own_);
        RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\Other").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &other_, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, other_);
        platform::OverrideUserDataFolder(platform::UserDataFolder() + L"-other");
        Forget(); // left by an earlier run: the store's folder is made when it is needed
    }
    ~OtherUser()
    {
        Forget();
        platform::OverrideUserDataFolder({});
        RegOverridePredefKey(HKEY_CURRENT_USER, own_);
        RegCloseKey(other_);
        RegCloseKey(own_);
    }

  private:
    static void Forget()
    {
        platform::RemoveFile(UserStorePath(), true);
        RemoveDirectoryW(platform::UserDataFolder().c_str());
    }
    HKEY own_ = nullptr, other_ = nullptr;
};

} // namespace

TEST_P(EveryPlaceTest, EverySourceDisabledThenEnabledComesBackExactlyAndWindowsSwitchesAreHonoured)
{
    // Wine's start ignores Windows' switches; the program sees so, and takes disabled entries out:
    // those Windows switched off too, which start all the same.
    const bool honoured = GetParam();
    ASSERT_FALSE(platform::WindowsHonoursStartupSwitch());
    if (honoured)
        platform::OverrideStartupSwitch(true);
    // Off: the off bit (1) in a switch of its whole length; a short one is no switch.
    const std::pair<const wchar_t*, std::vector<BYTE>> switched[] = {{L"On2 ", Flag(0x02, false)},
                                                                     {L"Off3 ", Flag(0x03, true)},
                                                                     {L"Off7 ", Flag(0x07, true)},
                                                                     {L"On6 ", Flag(0x06, false)},
                                                                     {L"Short ", {0x03, 0, 0, 0}}};
    // win.ini rows are named after their line; the others after their place, each a name of its own.
    auto task = [](const Place& p, const std::wstring& what = L"T ") -> std::wstring {
        return p.kind == Place::WinIni ? p.loadFrom : what + std::to_wstring(&p - Places().data());
    };
    auto location = [](const Place& p) {
        const std::wstring file = std::to_wstring(&p - Places().data()) + L".exe -s";
        return (p.kind == Place::Registry ? L"%SystemRoot%\\" : L"C:\\Apps\\") + file;
    };
    // A REG_SZ whose text holds a '%' must come back as REG_SZ, not as the text alone would make it.
    auto type = [](const Place& p) { return (&p - Places().data()) % 2 ? REG_EXPAND_SZ : REG_SZ; };
    auto seed = [&](const Place& p) {
        if (p.kind == Place::Registry)
            SetRegString(p.root, p.path, task(p), location(p), type(p));
        else
            SeedPlace(p, task(p), location(p));
    };
    size_t switchedPlaces = 0;
    for (const Place& p : Places())
    {
        seed(p);
        if (p.approved.empty())
            continue;
        ++switchedPlaces;
        for (const auto& [name, flag] : switched)
        {
            SeedPlace(p, task(p, name), L"C:\\s.exe");
            SetSwitch(p, task(p, name), flag);
        }
    }

    Start();
    ASSERT_EQ(state->List.Count(), static_cast<int>(Places().size() + 5 * switchedPlaces));
    for (int row = 1; row <= state->List.Count(); ++row)
    {
        const StartupEntry& entry = state->List.Row(row);
        SCOPED_TRACE(testing::Message() << row);
        const bool off = entry.name.starts_with(L"Off3") || entry.name.starts_with(L"Off7");
        EXPECT_EQ(entry.disabledByWindows, off && honoured);
        EXPECT_EQ(entry.switchOffIgnored, off && !honoured);
        EXPECT_EQ(entry.state, off && honoured ? EntryState::Disabled : EntryState::Enabled);
        EXPECT_EQ(Shown(entry, Status), off && !honoured
                                            ? L"Enabled; Windows' switch is off but not honoured here"
                                        : off ? L"Disabled"
                                              : L"Enabled");
        // The user's rows and Windows' switched-off ones toggled through the staging command:
        // disabled, and where the switch is honoured, enabled.
        if (off || std::any_of(Places().begin(), Places().end(),
                               [&](const Place& p) { return task(p) == entry.name; }))
        {
            state->List.Select(row);
            ToggleDisable(*state);
        }
    }
    ULONGLONG before = 0;
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&before));
    ApplyResult result = ApplyNow(*state);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.takenOut, static_cast<int>(honoured ? Places().size() - switchedPlaces
                                                         : Places().size() + 2 * switchedPlaces));
    EXPECT_EQ(result.switchedOff, static_cast<int>(honoured ? switchedPlaces : 0));
    EXPECT_EQ(result.written, static_cast<int>(honoured ? 2 * switchedPlaces : 0));
    // Reset All, then a profile of the list loaded and applied, keep every row where it is.
    ResetStaged(*state);
    SaveProfile(state->List, programFolder + L"\\p.Pro");
    LoadProfile(state->List, programFolder + L"\\p.Pro");
    EXPECT_EQ(ApplyNow(*state).written, 0);
    ExpectBaselinePaired();
    std::vector<EntryRecord> stored;
    for (const Place& p : Places())
    {
        SCOPED_TRACE(std::string(p.loadFrom.begin(), p.loadFrom.end()));
        const bool inPlace = honoured && !p.approved.empty(); // switched off there, as Windows does
        EXPECT_EQ(ReadPlace(p, task(p)), inPlace                   ? location(p)
                                         : p.kind == Place::WinIni ? L""
                                                                   : L"<missing>");
        EXPECT_EQ(Shown(state->List.Row(Position(task(p))), Status), L"Disabled");
        if (!inPlace)
            stored.push_back(state->List.Row(Position(task(p))));
        if (p.approved.empty())
            continue;
        // Off as Task Manager writes it: state 03, then the time of now. Then its program writes it back.
        const std::vector<BYTE> flag = Switch(p, task(p));
        ASSERT_EQ(flag.size(), inPlace ? 12u : 0u);
        if (inPlace)
        {
            ULONGLONG at = 0;
            memcpy(&at, &flag[4], sizeof(at));
            EXPECT_LT(at - before, 600000000u) << "switched off within a minute";
            EXPECT_EQ(std::vector<BYTE>(flag.begin(), flag.begin() + 4), (std::vector<BYTE>{3, 0, 0, 0}));
            seed(p);
        }
        // Where honoured: switched on where it is, the other state bits kept; never stored.
        // Elsewhere: taken out and stored like any other, its switch as it was.
        for (const wchar_t* off : {L"Off3 ", L"Off7 "})
        {
            const EntryRecord& row = state->List.Row(Position(task(p, off)));
            EXPECT_EQ(ReadPlace(p, task(p, off)), honoured ? L"C:\\s.exe" : L"<missing>");
            EXPECT_EQ(Shown(row, Status), honoured ? L"Enabled" : L"Disabled");
            if (!honoured)
                stored.push_back(row);
        }
        EXPECT_EQ(Switch(p, task(p, L"Off7 ")), honoured ? Flag(0x06, false) : Flag(0x07, true));
        EXPECT_EQ(Switch(p, task(p, L"Off3 ")), honoured ? Flag(0x02, false) : Flag(0x03, true));
    }
    EXPECT_EQ(Sorted(StoredRecords()), Sorted(stored));

    // The next start finds them disabled, in the store or switched off (though written back since);
    // enabled, each is back exactly.
    Start();
    for (const Place& p : Places())
    {
        Stage(task(p), EntryState::Enabled);
        for (const wchar_t* off : {L"Off3 ", L"Off7 "})
            if (!honoured && !p.approved.empty())
                Stage(task(p, off), EntryState::Enabled);
    }
    result = ApplyNow(*state);
    EXPECT_EQ(ApplyResultText(result),
              L"Applied: " + std::to_wstring(Places().size() + (honoured ? 0 : 2 * switchedPlaces)) +
                  L" written, 0 taken out.");
    for (const Place& p : Places())
    {
        SCOPED_TRACE(std::string(p.loadFrom.begin(), p.loadFrom.end()));
        EXPECT_EQ(ReadPlace(p, task(p)), location(p));
        EXPECT_FALSE(SwitchedOffByWindows(Switch(p, task(p))));
        DWORD written = type(p);
        if (p.kind == Place::Registry)
            RegStringValue(p.root, p.path, task(p), &written);
        EXPECT_EQ(written, static_cast<DWORD>(type(p)));
        // Back as it was, switch and all.
        if (!honoured && !p.approved.empty())
        {
            EXPECT_EQ(ReadPlace(p, task(p, L"Off7 ")), L"C:\\s.exe");
            EXPECT_EQ(Switch(p, task(p, L"Off7 ")), Flag(0x07, true));
        }
    }
    EXPECT_FALSE(platform::FileExists(StorePath()));
}

TEST_F(ApplyTest, ASwitchDeletedWhileTheApplySwitchesAnotherOnIsNotMadeAgain)
{
    platform::OverrideStartupSwitch(true); // elsewhere no apply writes a switch
    const Place& run = PlaceOf(L"Registry(User Run)");
    for (const wchar_t* name : {L"A", L"B"})
    {
        SeedPlace(run, name, L"C:\\s.exe");
        SetSwitch(run, name, Flag(0x03, true));
    }
    Start();
    Stage(L"A", EntryState::Enabled);
    Stage(L"B", EntryState::Enabled);
    platform::SetWriteStepHook([](const wchar_t*) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, PlaceOf(L"Registry(User Run)").approved.c_str(), L"B");
    });
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    platform::SetWriteStepHook(nullptr);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, run.approved, L"B"));
}

TEST_F(ApplyTest, AFolderOfShortcutCopiesGoesOnceItIsEmptyAndNeverWhileItHoldsAnything)
{
    const Place& startup = PlaceOf(L"StartUp (Current User)");
    for (const wchar_t* name : {L"A", L"B"})
        SeedPlace(startup, name, std::wstring(L"C:\\") + name + L".exe");
    const std::wstring copies = platform::UserDataFolder() + L"\\SaveProf.bak",
                       own = copies + L"\\StartUp (Current User)";
    auto apply = [&](std::initializer_list<const wchar_t*> names, EntryState to) {
        for (const wchar_t* name : names)
            Stage(name, to);
        ASSERT_TRUE(ApplyNow(*state).failures.empty());
    };
    Start();
    apply({L"A", L"B"}, EntryState::Disabled);
    ASSERT_TRUE(platform::FileExists(own + L"\\A.lnk") && platform::FileExists(own + L"\\B.lnk"));
    apply({L"A"}, EntryState::Enabled);
    EXPECT_TRUE(platform::FileExists(own + L"\\B.lnk")) << "B's copy keeps its folder";
    // What else is kept beside the copies' folders keeps the folder that holds them.
    testsupport::WriteBytes(copies + L"\\note.txt", "mine");
    apply({L"B"}, EntryState::Enabled);
    EXPECT_FALSE(platform::FolderExists(own));
    EXPECT_TRUE(platform::FileExists(copies + L"\\note.txt"));
    platform::RemoveFile(copies + L"\\note.txt", true);
    apply({L"A"}, EntryState::Disabled);
    apply({L"A"}, EntryState::Enabled);
    EXPECT_FALSE(platform::FolderExists(copies));
    EXPECT_EQ(ReadPlace(startup, L"A"), L"C:\\A.exe");
}

TEST_F(ApplyTest, EachRowOfTheResultTableAndASecondApplyTouchesNothing)
{
    // Records Enabled: scanned values. Records Disabled: stored entries. Then three added rows.
    for (const wchar_t* name : {L"EE", L"DE", L"RE"})
        SetRegString(HKEY_CURRENT_USER, RunKey, name, L"C:\\v.exe");
    WriteEntryFile(FileRecords({Record(L"ED", L"Disabled", L"Registry(User Run)", L"C:\\ed.exe"),
                                Record(L"RD", L"Disabled", L"Registry(User Run)", L"C:\\rd.exe"),
                                Record(L"DD", L"Disabled", L"Registry(User Run)", L"C:\\dd.exe")}),
                   StorePath());
    const std::wstring copies = platform::names::CopiesKey + std::wstring(L"Registry(User Run)");
    SetRegString(HKEY_CURRENT_USER, copies, L"RD", L"C:\\rd.exe"); // RD's exact copy
    Start();
    Stage(L"DE", EntryState::Disabled);
    Stage(L"RE", EntryState::Remove);
    Stage(L"ED", EntryState::Enabled);
    Stage(L"RD", EntryState::Remove);
    for (const wchar_t* added : {L"Enabled", L"Disabled", L"Remove"})
        state->List.AppendRow(
            Record(std::wstring(1, added[0]) + L"A", added, L"Registry(User Run)", L"C:\\a.exe"));
    // An added shortcut has no copy kept from before: it is made from its Location.
    state->List.AppendRow(Record(L"New", L"Enabled", L"StartUp (Current User)", L"C:\\new.exe -q"));
    // Behind the program's back: rows with no change must not be written or taken out again.
    SetRegString(HKEY_CURRENT_USER, RunKey, L"EE", L"C:\\changed.exe");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"DD", L"C:\\back.exe");

    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(ApplyResultText(result), L"Applied: 3 written, 3 taken out."); // ED, EA, New; DE, RE, RD
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"New"), L"C:\\new.exe -q");
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"EE", L"C:\\changed.exe"}, {L"DE", L"<missing>"}, {L"RE", L"<missing>"},
        {L"ED", L"C:\\ed.exe"},      {L"RD", L"<missing>"}, {L"DD", L"C:\\back.exe"},
        {L"EA", L"C:\\a.exe"},       {L"DA", L"<missing>"}, {L"RA", L"<missing>"}};
    for (auto [name, value] : expected)
        EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, name), value) << name;
    // Scanned rows come in the registry's order, which need not be the order of writing.
    Names names = RowTexts(state->List, TaskName);
    std::sort(names.begin(), names.begin() + 2);
    EXPECT_EQ(names, (Names{L"DE", L"EE", L"ED", L"DD", L"EA", L"DA", L"New"}));
    // The user's own store first, then the shared one that held DD.
    EXPECT_EQ(StoredNames(), (Names{L"DE", L"DA", L"DD"}));
    // A stored entry removed takes its exact copy with it; one taken out now has its own.
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, copies, L"RD"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, copies, L"DE"));
    ExpectBaselinePaired();

    // Again: DE put back and EA deleted behind the program's back stay so; the store is the same.
    const std::string store = testsupport::ReadBytes(StorePath()) + testsupport::ReadBytes(UserStorePath());
    SetRegString(HKEY_CURRENT_USER, RunKey, L"DE", L"C:\\v.exe");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey.c_str(), L"EA");
    result = ApplyNow(*state);
    EXPECT_EQ(result.written + result.takenOut, 0);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"DE"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"EA"));
    EXPECT_EQ(testsupport::ReadBytes(StorePath()) + testsupport::ReadBytes(UserStorePath()), store);
}

TEST_F(ApplyTest, AShorterListIsComparedByPositionAndNeverEmptiesTheStore)
{
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        SetRegString(HKEY_CURRENT_USER, RunKey, name, std::wstring(L"C:\\") + name + L".exe");
    WriteEntryFile(FileRecords({Record(L"S", L"Disabled", L"Registry(User Run)", L"C:\\s.exe")}),
                   StorePath());
    Start();
    ASSERT_EQ(state->BaselineEntries.size(), 5u);

    // As a profile of two rows leaves it: row 1 pairs with record A, row 2 with record B.
    state->List.Clear();
    state->List.AppendRow(Record(L"A", L"Disabled", L"Registry(User Run)", L"C:\\A.exe"));
    state->List.AppendRow(Record(L"X", L"Enabled", L"Registry(User Run)", L"C:\\x.exe"));
    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(ApplyResultText(result), L"Applied: 0 written, 1 taken out."); // X meets B's Enabled record
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"A"));
    for (const wchar_t* name : {L"B", L"C", L"D"}) // dropped records: their entries untouched
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, RunKey, name)) << name;
    ExpectBaselinePaired(false);
    // S is in no row, and no longer in its source: the store keeps it, also after an empty list.
    EXPECT_EQ(StoredNames(), (Names{L"A", L"S"}));
    state->List.Clear();
    result = ApplyNow(*state);
    EXPECT_EQ(result.written + result.takenOut, 0);
    EXPECT_TRUE(state->BaselineEntries.empty());
    EXPECT_EQ(StoredNames(), (Names{L"A", L"S"}));
}

TEST_F(ApplyTest, ADisableBeyondRow32767IsAppliedAndNoRowBeforeItIsWritten)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Last", L"C:\\last.exe");
    Start();
    // More rows than a 16-bit count holds, the entry staged after them all.
    state->List.Clear();
    for (int i = 0; i < 40000; ++i)
        state->List.AppendRow(
            Record(L"R" + std::to_wstring(i), L"Enabled", L"Registry(User Run)", L"C:\\r.exe"));
    state->List.AppendRow(Record(L"Last", L"Enabled", L"Registry(User Run)", L"C:\\last.exe"));
    TakeBaseline(*state);
    Stage(L"Last", EntryState::Disabled);
    EXPECT_EQ(ApplyResultText(ApplyNow(*state)), L"Applied: 0 written, 1 taken out.");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Last"));
    EXPECT_EQ(StoredNames(), Names{L"Last"});
}

TEST_F(ApplyTest, APackOfOtherWordsForEveryStateAndPlaceGivesTheSameApplyByteForByte)
{
    const Place &userRun = PlaceOf(L"Registry(User Run)"), &machineRun = PlaceOf(L"Registry(Machine Run)"),
                &folder = PlaceOf(L"StartUp (Current User)");
    auto apply = [&] {
        ClearSystemPlaces();
        SeedPlace(userRun, L"A", L"C:\\a.exe");
        SeedPlace(machineRun, L"B", L"C:\\b.exe");
        SeedPlace(folder, L"S", L"C:\\s.exe");
        WriteEntryFile(FileRecords({Record(L"C", L"Disabled", L"Registry(Machine Run)", L"C:\\c.exe")}),
                       StorePath());
        Start();
        Stage(L"A", EntryState::Disabled);
        Stage(L"B", EntryState::Remove);
        Stage(L"C", EntryState::Enabled);
        Stage(L"S", EntryState::Disabled);
        AppendNewTask(state->List, L"D", 0, L"C:\\d.exe");
        const std::wstring shown = Shown(state->List.Row(Position(L"A")), Status) + L"|" +
                                   Shown(state->List.Row(Position(L"A")), LoadFrom);
        ApplyNow(*state);
        std::wstring places = shown;
        for (const wchar_t* name : {L"A", L"C", L"D"})
            places += L"|" + ReadPlace(userRun, name) + L"|" + ReadPlace(machineRun, name);
        places += L"|" + ReadPlace(machineRun, L"B") + L"|" + ReadPlace(folder, L"S");
        return std::pair{places,
                         testsupport::ReadBytes(StorePath()) + testsupport::ReadBytes(UserStorePath())};
    };
    const auto [english, englishStore] = apply();
    WritePack(L"English.ini", L"413=On\r\n423=Off\r\n424=Gone\r\n415=Me\r\n416=Everyone\r\n418=Me in\r\n"
                              L"420=Anyone in\r\n426=My Run\r\n427=Their Run\r\n430=My folder\r\n");
    const auto [packed, packedStore] = apply();
    EXPECT_EQ(english.substr(0, 28), L"Disabled|Registry(User Run)|");
    EXPECT_EQ(packed.substr(0, 11), L"Off|My Run|") << "the pack's words are shown";
    EXPECT_EQ(packed.substr(11), english.substr(28));
    EXPECT_EQ(packedStore, englishStore);
    EXPECT_FALSE(englishStore.empty());
}

TEST_F(ApplyTest, AnEntryItsProgramWroteBackIsOneRowUntilTheUserDecidesAndThenOneRecord)
{
    WriteEntryFile(FileRecords({Record(L"Sync", L"Disabled", L"Registry(User Run)", L"C:\\Old\\sync.exe")}),
                   StorePath());
    SetRegString(HKEY_CURRENT_USER, RunKey, L"SYNC", L"C:\\New\\sync.exe"); // names compare as Windows does
    Start();
    EXPECT_EQ(RowTexts(state->List, Status), (Names{L"Enabled"}));
    EXPECT_EQ(RowTexts(state->List, Location), (Names{L"C:\\New\\sync.exe"}));
    ApplyNow(*state);
    EXPECT_EQ(StoredRecords().size(), 1u) << "kept while the row is not acted on";

    Stage(L"SYNC", EntryState::Disabled);
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"SYNC"));
    const std::vector<EntryRecord> stored = StoredRecords();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].location, L"C:\\New\\sync.exe");
    Start();
    Stage(L"SYNC", EntryState::Enabled);
    ApplyNow(*state);
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"SYNC"), L"C:\\New\\sync.exe");
    EXPECT_TRUE(StoredRecords().empty());
}

TEST_F(ApplyTest, AnotherUserNeitherSeesNorDropsTheUsersOwnEntriesAndGetsTheMachinesBackExactly)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Mine", L"C:\\mine.exe");
    // A plain string that looks expandable: its text alone would come back of the other type.
    const std::wstring tool = L"%ProgramFiles%\\tool.exe";
    const BYTE* bytes = reinterpret_cast<const BYTE*>(tool.c_str());
    const std::vector<BYTE> toolBytes(bytes, bytes + (tool.size() + 1) * sizeof(wchar_t));
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, RunKey, L"Tool", REG_SZ, toolBytes);
    Start();
    Stage(L"Mine", EntryState::Disabled);
    Stage(L"Tool", EntryState::Disabled);
    ASSERT_TRUE(ApplyNow(*state).failures.empty());
    {
        OtherUser other(ScratchPath());
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Theirs", L"C:\\theirs.exe");
        Start();
        EXPECT_EQ(RowTexts(state->List, TaskName), (Names{L"Theirs", L"Tool"}));
        // Enabled, the machine's entry takes its copy with it, also one an older build kept in HKCU.
        const std::wstring olderCopies = platform::names::CopiesKey + std::wstring(L"Registry(Machine Run)");
        testsupport::SetRegString(HKEY_CURRENT_USER, olderCopies, L"Tool", tool);
        Stage(L"Tool", EntryState::Enabled);
        Stage(L"Theirs", EntryState::Disabled);
        EXPECT_TRUE(ApplyNow(*state).failures.empty());
        EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, olderCopies, L"Tool"));
        EXPECT_EQ(StoredNames(), (Names{L"Theirs"})) << "in their own store, in a folder made for it";
        platform::RegValue value;
        ASSERT_EQ(platform::ReadRegValue(HKEY_LOCAL_MACHINE, RunKey, L"Tool", value), ERROR_SUCCESS);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value.data, toolBytes);
    }
    Start();
    EXPECT_EQ(RowTexts(state->List, TaskName), (Names{L"Tool", L"Mine"}));
    EXPECT_EQ(Shown(state->List.Row(Position(L"Mine")), Status), L"Disabled");
    Stage(L"Mine", EntryState::Enabled);
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Mine"), L"C:\\mine.exe");
    EXPECT_TRUE(StoredRecords().empty());
    // Back in their places, neither keeps a copy behind, in the machine's registry or the user's.
    const std::wstring copies = L"Software\\Brightfold\\Disabled\\Registry(";
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, copies + L"Machine Run)", L"Tool"));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, copies + L"User Run)", L"Mine"));
}
