// The command line in this process, on the scratch registry: its words, each verb with its exit
// code, places in two languages, the comparison of lists and CSV that no spreadsheet evaluates.
// Then the real ravelinc.exe, started as a child process with its output redirected. It runs on
// the test prefix's own registry, so those tests use the places it shares with the test: the
// StartUp folder, the store and the copies beside it.
#include "apply/ApplyEngine.h"
#include "apply/ApplyFixture.h"
#include "ConsoleFixture.h"
#include "console/ConsoleArguments.h"
#include "console/ConsoleCommand.h"
#include "find/ListExport.h"
#include "platform/Files.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/StartupFill.h"
#include "support/Processes.h"
#include "support/ServicesFixture.h"

#include <algorithm>

using namespace applytest;
using namespace testsupport;

namespace
{

using namespace consoletest;

using ConsoleProgramTest = ConsoleTest;

} // namespace

TEST_F(ConsoleTest, WordsSplitAsWindowsSplitsThemAndEachBadUsageIsNamedInOneLine)
{
    const std::pair<std::wstring, std::vector<std::wstring>> splits[] = {
        {L"  /add \"My App\"\t/from x", {L"/add", L"My App", L"/from", L"x"}},
        {L"a\\\\\"b c\" d", {L"a\\b c", L"d"}}, // 2n backslashes, then a quote that groups
        {L"a\\\"b \"c\"\"d\" \\\\x\\",
         {L"a\"b", L"c\"d", L"\\\\x\\"}},         // 2n + 1: a quote; "" in quotes; no quote
        {L"\"\" e \"f\"\"", {L"", L"e", L"f\""}}, // "" in quotes, at the very end too
    };
    for (const auto& [line, words] : splits)
    {
        std::vector<std::wstring> texts;
        for (const CommandWord& word : SplitCommandLine(line))
            texts.push_back(word.text);
        EXPECT_EQ(texts, words) << line;
    }
    // A quoted word is a value, whatever it looks like.
    const ConsoleRequest request =
        ParseConsoleRequest(L"/DISABLE \"/from\" -From \"Registry(User Run)\"").request;
    EXPECT_TRUE(request.verb == Verb::Disable && request.value == L"/from" &&
                request.from == L"Registry(User Run)");
    const std::pair<const wchar_t*, const wchar_t*> refused[] = {
        {L"/list /bogus", L"Unknown switch: /bogus."},
        {L"/disable", L"The switch /disable needs a value."},
        {L"/disable /from x", L"The switch /disable needs a value."},
        {L"/list /LIST", L"The switch /list is given twice."},
        {L"/list /save f", L"/list and /save cannot be given together."},
        {L"/disable a /json", L"The switch /json does not go with /disable."},
        {L"/compare f /verify", L"The switch /verify does not go with /compare."},
        {L"", L"Nothing to do: give one of the switches below."},
        {L"/add a /from b", L"/add needs /command."},
        {L"/list extra", L"\"extra\" is no switch. A value with blanks is quoted."},
        {L"/measure /seconds 0", L"/seconds takes a whole number from 1 to 3600, not 0."},
        {L"/measure /seconds 3601", L"/seconds takes a whole number from 1 to 3600, not 3601."},
        {L"/measure /seconds 1x", L"/seconds takes a whole number from 1 to 3600, not 1x."},
        {L"/list /off", L"The switch /off does not go with /list."},
    };
    for (const auto& [arguments, error] : refused)
        EXPECT_EQ(ParseConsoleRequest(arguments).error, error) << arguments;
    const ConsoleRequest measure = ParseConsoleRequest(L"-MEASURE /seconds 12").request;
    EXPECT_TRUE(measure.verb == Verb::Measure && measure.seconds == 12u && !measure.off);
    EXPECT_TRUE(ParseConsoleRequest(L"/measure /off").request.off);
    // A refusal is one line on standard error and the way to the usage; no verb at all, the usage.
    const Outcome bad = Run(L"/list /bogus"), none = Run(L"/json");
    EXPECT_EQ(bad.code, ExitBadUsage);
    EXPECT_EQ(bad.err, L"Unknown switch: /bogus.\r\nravelinc /? for help\r\n");
    EXPECT_EQ(none.code, ExitBadUsage);
    EXPECT_TRUE(Has(none.err, L"give one of the switches below.\r\n\r\nBrightfold Ravelin for scripts"));
    const Outcome help = Run(L"/?");
    EXPECT_EQ(help.code, ExitDone);
    EXPECT_TRUE(Has(help.out, L"  ravelinc /compare FILE [/json]\r\n") && help.err.empty());
    // Each place by its short name beside its identifier, the other kinds' places after them.
    EXPECT_TRUE(Has(help.out, L"\r\n  user-run              Registry(User Run)\r\n  machine-run           "
                              L"Registry(Machine Run)\r\n"));
    EXPECT_TRUE(Has(help.out,
                    L"\r\n  winini-run            Win.ini Run\r\n  service               Service\r\n"
                    L"  task                  Task\r\n"));
    // Ravelin.exe writes the list when /list is among its words, as a switch.
    EXPECT_TRUE(NamesListSwitch(L"  -LIST   /Json"));
    EXPECT_FALSE(NamesListSwitch(L"/json list \"/list\""));
}

TEST_F(ConsoleTest, EachVerbStagesAndAppliesThroughTheEngineAndSaysHowWithItsExitCode)
{
    SeedPlace(user, L"Alpha", L"C:\\a.exe");
    SeedPlace(user, L"  Padded ", L"C:\\p.exe");
    SeedPlace(machine, L"Alpha", L"C:\\m.exe");
    SeedPlace(startup, L"Tool", SystemFile(L"notepad.exe"));
    Outcome r = Run(L"/disable Alpha");
    EXPECT_EQ(r.code, ExitNoEntry);
    EXPECT_TRUE(Has(r.err, L"\r\n  Registry(User Run): Alpha = C:\\a.exe\r\n  Registry(Machine Run): Alpha"));
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"C:\\a.exe");
    // Any case, and the name as the list shows it; the place by any of its names.
    EXPECT_EQ(Run(L"/disable ALPHA /from \"registry(USER run)\"").out,
              L"Applied: 0 written, 1 taken out.\r\n");
    EXPECT_EQ(Run(L"/disable tool /from User-StartUp").code, ExitDone);
    EXPECT_EQ(ReadPlace(startup, L"Tool"), L"<missing>");
    EXPECT_EQ(Run(L"/enable Tool /from \" user-startup \"").code, ExitDone);
    EXPECT_EQ(Run(L"/Disable padded").code, ExitDone);
    EXPECT_EQ(ReadPlace(user, L"Alpha") + ReadPlace(user, L"  Padded "), L"<missing><missing>");
    EXPECT_EQ(ReadPlace(machine, L"Alpha"), L"C:\\m.exe");
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"  Padded ", L"Alpha"}));
    EXPECT_EQ(Run(L"/disable Alpha /from \"Registry(User Run)\"").out,
              L"Alpha is disabled already: nothing to apply.\r\n");
    EXPECT_EQ(Run(L"/enable Alpha").code, ExitNoEntry); // in two places, enabled or not
    // Its program is gone since: enabled only with /force, which goes with /enable alone.
    r = Run(L"/enable Alpha /from user-run");
    EXPECT_EQ(r.code, ExitNotSafe);
    EXPECT_EQ(r.err,
              L"Alpha was not enabled: the program it starts is not there (C:\\a.exe). /force enables it "
              L"all the same.\r\n");
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"<missing>");
    EXPECT_EQ(ParseConsoleRequest(L"/disable Alpha /force").error,
              L"The switch /force does not go with /disable.");
    EXPECT_EQ(Run(L"/enable Alpha /from \"Registry(User Run)\" /FORCE").code, ExitDone);
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"C:\\a.exe");
    EXPECT_EQ(Run(L"/enable Alpha /from \"Registry(User Run)\"").out,
              L"Alpha is enabled already: nothing to apply.\r\n");
    EXPECT_EQ(Run(L"/remove Tool").code, ExitDone);
    EXPECT_EQ(ReadPlace(startup, L"Tool"), L"<missing>");
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"  Padded "}));
    EXPECT_EQ(Run(L"/enable Nothing").err, L"No entry is called \"Nothing\".\r\n");
    EXPECT_EQ(Run(L"/enable Alpha /from Nowhere").code, ExitBadUsage);

    // Added as Add Task adds, never over an entry of its name.
    EXPECT_EQ(Run(L"/add New /from \"registry(user run)\" /command \"C:\\new.exe /x\"").code, ExitDone);
    EXPECT_EQ(ReadPlace(user, L"New"), L"C:\\new.exe /x");
    EXPECT_EQ(Run(L"/add NEW /from \"Registry(User Run)\" /command C:\\other.exe").code, ExitNotSafe);
    EXPECT_EQ(ReadPlace(user, L"New"), L"C:\\new.exe /x");
    EXPECT_EQ(Run(L"/add X /from \"Registry(Machine RunServices)\" /command C:\\x.exe").code, ExitBadUsage);

    // A profile with the row of Alpha disabled, in the list's order, loads and applies.
    const std::wstring profile = programFolder + L"\\all.pro";
    EXPECT_EQ(Run(L"/save \"" + profile + L"\"").out,
              L"The list was saved as the profile " + profile + L".\r\n");
    std::vector<FileRecord> rows = ReadEntryRecords(profile).records;
    for (FileRecord& row : rows)
        if (row[TaskName] == L"Alpha" && row[LoadFrom] == L"Registry(User Run)")
            row[Status] = L"Disabled";
    WriteEntryFile(rows, profile);
    EXPECT_EQ(Run(L"/load \"" + profile + L"\"").out, L"Applied: 0 written, 1 taken out.\r\n");
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"<missing>");
    EXPECT_EQ(Run(L"/load \"" + programFolder + L"\\none.pro\"").code, ExitBadUsage);

    // A change the system refuses: named on standard error, as the status line words it.
    DenyWrites(HKEY_LOCAL_MACHINE, machine.path);
    r = Run(L"/disable Alpha /from \"Registry(Machine Run)\"");
    EXPECT_EQ(r.code, ExitFailed);
    EXPECT_EQ(r.err, L"Applied: 0 written, 0 taken out. Not applied: Alpha (access denied).\r\n");
    EXPECT_EQ(ReadPlace(machine, L"Alpha"), L"C:\\m.exe");
}

TEST_F(ConsoleTest, ACompareNamesWhatIsNewGoneAndChangedInAnyLanguageAndRefusesWhatIsNoList)
{
    // Listed in French, compared in English: places and states go by their identifiers.
    InstallShippedPacks();
    ASSERT_EQ(platform::SaveLanguageSetting(L"French.ini"), DWORD(ERROR_SUCCESS));
    // A name with a control character, written as \u0001 before a letter that is a hex digit.
    for (const wchar_t* name : {L"A", L"B", L"C", L"E\u0001f"})
        SeedPlace(user, name, std::wstring(L"C:\\") + name + L".exe");
    const std::wstring earlier = programFolder + L"\\earlier.json";
    WriteBytes(earlier, platform::CodePageFromWide(CP_UTF8, Run(L"/list /json").out));
    ASSERT_EQ(platform::SaveLanguageSetting(L"English.ini"), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(Run(L"/compare \"" + earlier + L"\"").out, L"No difference from " + earlier + L".\r\n");

    // A place is also its Load From text in the language in use, in any case.
    ASSERT_EQ(platform::SaveLanguageSetting(L"French.ini"), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(Run(L"/disable b /from \"REGISTRE(UTILISATEUR RUN)\"").out,
              L"Appliqué : 0 écrites, 1 retirées.\r\n");
    EXPECT_EQ(ReadPlace(user, L"B"), L"<missing>");
    ASSERT_EQ(platform::SaveLanguageSetting(L"English.ini"), DWORD(ERROR_SUCCESS));
    SeedPlace(user, L"A", L"C:\\a2.exe");
    SeedPlace(user, L"D", L"C:\\d.exe");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, user.path.c_str(), L"C");
    Outcome r = Run(L"/compare \"" + earlier + L"\"");
    EXPECT_EQ(r.code, ExitFailed);
    const std::vector<std::wstring_view> split = platform::SplitLines(r.out);
    std::vector<std::wstring> lines(split.begin(), split.end());
    std::sort(lines.begin(), lines.end());
    const std::wstring in = L" in Registry(User Run), ";
    EXPECT_EQ(lines, (std::vector<std::wstring>{
                         L"Changed: A" + in + L"Enabled: C:\\a2.exe, before Activé: C:\\A.exe",
                         L"Changed: B" + in + L"Disabled: C:\\B.exe, before Activé: C:\\B.exe",
                         L"Gone: C in Registre(Utilisateur Run), Activé: C:\\C.exe", // as it was listed
                         L"New: D" + in + L"Enabled: C:\\d.exe",
                     }));
    r = Run(L"/compare \"" + earlier + L"\" /json");
    EXPECT_TRUE(Has(r.out, L"{\"change\": \"gone\", \"taskName\": \"C\", \"loadFrom\": ") &&
                Has(r.out, L"\"now\": null, \"before\": {\"status\": \"Activé\", \"state\": \"enabled\", "
                           L"\"location\": \"C:\\\\C.exe\"}}"))
        << r.out;
    // An object without its place, a key without its colon, a key without its opening quote.
    for (const char* bad : {"[{\"taskName\": \"A\"}]", "[{\"taskName\" \"A\", \"loadFrom\": \"B\"}]",
                            "[{taskName\": \"A\", \"loadFrom\": \"B\"}]"})
    {
        WriteBytes(earlier, bad);
        EXPECT_EQ(Run(L"/compare \"" + earlier + L"\"").err,
                  earlier + L" is not a list that /list /json wrote.\r\n")
            << bad;
    }
    EXPECT_EQ(Run(L"/compare \"" + earlier + L".gone\"").code, ExitBadUsage);
}

TEST_F(ConsoleTest, NoFieldOfTheCsvIsAFormulaWhileTheJsonKeepsEveryTextAsItIs)
{
    // A text a spreadsheet would evaluate goes behind an apostrophe, inside quotes.
    for (const wchar_t* text : {L"=1+2", L"+1", L"-2", L"@SUM(A1)", L"\tx", L"\rx"})
        EXPECT_EQ(CsvField(text), L"\"'" + std::wstring(text) + L"\"") << text;
    EXPECT_EQ(CsvField(L"=\"a\",b"), L"\"'=\"\"a\"\",b\"");
    EXPECT_EQ(CsvField(L"a=b") + CsvField(L"") + CsvField(L"a,b"), L"a=b\"a,b\"");
    SeedPlace(user, L"=cmd|' /C calc'!A0", L"-e x");
    const Outcome csv = Run(L"/list"), json = Run(L"/list /json");
    EXPECT_EQ(
        csv.out,
        L"Task Name,Status,Load From,User,When?,Location,Publisher,Signer,Impact,CPU time (ms),Disk (bytes),"
        L"File exists,Signature,SHA-256\r\n"
        L"\"'=cmd|' /C calc'!A0\",Enabled,Registry(User Run),Current User,Current User logs On,"
        L"\"'-e x\",,File missing,Not measured,,,false,missing,\r\n");
    EXPECT_TRUE(Has(json.out, L"{\"taskName\": \"=cmd|' /C calc'!A0\", \"status\": \"Enabled\", \"state\": "
                              L"\"enabled\", \"loadFrom\": \"Registry(User Run)\""));
    EXPECT_TRUE(Has(json.out, L"\"location\": \"-e x\""));

    // A signature is pending until /verify checks it.
    UseSystemTrust();
    SeedPlace(user, L"Unsigned", L"\"" + testsupport::BuildFolder() + L"\\demo\\syncdrive.exe\"");
    EXPECT_TRUE(Has(Run(L"/list /json").out, L"\"signature\": \"pending\""));
    EXPECT_TRUE(Has(Run(L"/list /VERIFY /json").out, L"\"signature\": \"unsigned\""));
}

TEST_F(ConsoleTest, TheListSaysWhatEachEntryCostTheLastLogonByOurOwnRecord)
{
    const std::wstring notepad = SystemFile(L"notepad.exe");
    platform::CreateFolderPath(platform::UserDataFolder());
    WriteBytes(platform::UserDataFolder() + platform::names::LogonImpactFile,
               "<?xml version=\"1.0\"?><StartupData><Process Name=\"" +
                   platform::CodePageFromWide(CP_UTF8, notepad) +
                   "\"><CommandLine>notepad</CommandLine><DiskUsage Units=\"bytes\">3145729</DiskUsage>"
                   "<CpuUsage Units=\"us\">1200000</CpuUsage></Process></StartupData>");
    SeedPlace(user, L"Heavy", L"%SystemRoot%\\system32\\NOTEPAD.EXE /x");
    SeedPlace(user, L"Unmeasured", SystemFile(L"regedit.exe"));
    EXPECT_TRUE(Has(Run(L"/list /json").out, L"\"impact\": \"high\", \"cpuMs\": 1200, "
                                             L"\"diskBytes\": 3145729, \"fileExists\": true"));
    EXPECT_TRUE(
        Has(Run(L"/list /json").out, L"\"impact\": \"not measured\", \"cpuMs\": null, \"diskBytes\": null"));
    EXPECT_TRUE(Has(Run(L"/list").out, L",High,1200,3145729,true,"));
    ASSERT_EQ(Run(L"/disable Heavy").code, ExitDone);
    EXPECT_TRUE(Has(Run(L"/list /json").out, L"\"impact\": \"none\", \"cpuMs\": null"));
}

TEST_F(ConsoleTest, AStoreThatCannotBeReadWholeNowIsNeverChangedAndTheAnswerIsFour)
{
    SeedPlace(user, L"Alpha", L"C:\\a.exe");
    WriteEntryFile(FileRecords({Record(L"S", L"Disabled", L"Registry(User Run)", L"C:\\s.exe")}),
                   StorePath());
    const std::string whole = ReadBytes(StorePath());
    WriteBytes(StorePath(), whole + "T\r\nDisabled\r\n");
    for (const wchar_t* change :
         {L"/disable Alpha", L"/enable S", L"/add B /from \"Registry(User Run)\" /command b"})
    {
        const Outcome r = Run(change);
        EXPECT_EQ(r.code, ExitNotSafe) << change;
        EXPECT_TRUE(Has(r.err, L"could not be read completely: it ends inside an entry.")) << r.err;
    }
    WriteBytes(StorePath(), whole);
    {
        HeldFile held(StorePath());
        EXPECT_EQ(Run(L"/disable Alpha").code, ExitNotSafe);
    }
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"C:\\a.exe");
    EXPECT_EQ(ReadPlace(user, L"B"), L"<missing>");
    EXPECT_EQ(ReadBytes(StorePath()), whole);
}

TEST_F(ConsoleTest, ServicesAreListedAndDisabledAndEnabledBackExactlyByKeyOrDisplayName)
{
    const std::wstring a = Make(L"C", servicetest::Delayed);
    EXPECT_EQ(Run(L"/disable \"Test " + a + L"\" /from Service").out,
              L"Services: 1 disabled, 0 enabled.\r\n");
    EXPECT_EQ(servicetest::StartOf(a).type, static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_TRUE(Has(Run(L"/disable " + a + L" /from service").out, L"is disabled already"));

    // An unreadable file of remembered start types: no enable, which would not know what to give back.
    const std::string remembered = ReadBytes(ServiceStartsPath());
    WriteBytes(ServiceStartsPath(), remembered + "2 maybe Broken\r\n");
    EXPECT_EQ(Run(L"/enable " + a + L" /from Service").code, ExitNotSafe);
    EXPECT_EQ(servicetest::StartOf(a).type, static_cast<DWORD>(SERVICE_DISABLED));
    WriteBytes(ServiceStartsPath(), remembered);

    const Outcome r = Run(L"/enable " + platform::FoldCase(a) + L" /from SERVICE");
    EXPECT_EQ(r.code, ExitDone) << r.err;
    EXPECT_EQ(servicetest::StartOf(a), servicetest::Delayed);
    EXPECT_EQ(Run(L"/enable NoSuchService /from Service").code, ExitNoEntry);
    EXPECT_EQ(Run(L"/remove " + a + L" /from Service").code, ExitBadUsage);
    EXPECT_EQ(Run(L"/disable " + a + L" /services").code, ExitBadUsage);

    // Scripts read the start type and the state in English in every language; CSV is for people.
    InstallShippedPacks();
    ASSERT_EQ(platform::SaveLanguageSetting(L"French.ini"), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(
        Has(Run(L"/list /services /json").out,
            L"{\"name\": \"" + a + L"\", \"displayName\": \"Test " + a +
                L"\", \"startType\": \"Automatic (Delayed Start)\", \"state\": \"Stopped\", \"status\": "
                L"\"Activé\""));
    EXPECT_TRUE(
        Has(Run(L"/LIST /SERVICES").out, L"\r\nTest " + a + L",Activé,Automatique (début différé),Arrêté,"));
}

TEST_F(ConsoleProgramTest, OutputIsUtf8InAFileAndInAPipeAndErrorsGoApart)
{
    SeedPlace(startup, L"Caf\u00e9 \u2615", L"C:\\caf\u00e9.exe");
    const std::string row = Utf8(L"Caf\u00e9 \u2615,Enabled,StartUp (Current User),Current User,");
    ProgramRun r = RunProgram(L"/list", false);
    EXPECT_EQ(r.code, DWORD(ExitDone));
    EXPECT_NE(r.out.find("\r\n" + row), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty());
    r = RunProgram(L"/LIST /JSON");
    EXPECT_NE(r.out.find(Utf8(
                  L"{\"taskName\": \"Caf\u00e9 \u2615\", \"status\": \"Enabled\", \"state\": \"enabled\"")),
              std::string::npos);
    {
        // Ravelin.exe, a windows program, typed at a console writes the list to that console.
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE), err = GetStdHandle(STD_ERROR_HANDLE);
        FreeConsole();
        ASSERT_TRUE(AllocConsole());
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES; // and no handle in it
        PROCESS_INFORMATION gui{};
        std::wstring line = L"\"" + BuildFolder() + L"\\Ravelin\\Ravelin.exe\" /list";
        ASSERT_TRUE(
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &gui));
        WaitForSingleObject(gui.hProcess, 60000);
        CloseHandle(gui.hProcess), CloseHandle(gui.hThread);
        wchar_t shown[9] = {};
        DWORD got = 0;
        ReadConsoleOutputCharacterW(GetStdHandle(STD_OUTPUT_HANDLE), shown, 9, {0, 0}, &got);
        FreeConsole();
        SetStdHandle(STD_OUTPUT_HANDLE, out), SetStdHandle(STD_ERROR_HANDLE, err);
        EXPECT_EQ(std::wstring(shown, got), L"Task Name");
    }
    r = RunProgram(L"/list /from \"No Such\"");
    EXPECT_EQ(r.code, DWORD(ExitBadUsage));
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err, "The switch /from does not go with /list.\r\nravelinc /? for help\r\n");
}

TEST_F(ConsoleProgramTest, TheWindowAndTheCommandLineKeepEachOthersEntriesByteForByte)
{
    const std::wstring folder = UserStartup();
    // With arguments, which only their exact copies give back.
    ASSERT_EQ(Shortcut(folder + L"\\Alpha.lnk", L"C:\\alpha.exe", L"-a --quiet"), L"");
    ASSERT_EQ(Shortcut(folder + L"\\Beta.lnk", L"C:\\beta.exe", L"-b"), L"");
    const std::string alpha = ReadBytes(folder + L"\\Alpha.lnk"), beta = ReadBytes(folder + L"\\Beta.lnk");
    frmMain& main = Open();
    main.cmdDisable_Click(); // Alpha, the first row, is selected after the fill
    main.mnuApp_Just_Click();
    ASSERT_EQ(StoredNames(), (std::vector<std::wstring>{L"Alpha"}));
    // The window stays open and lists Beta enabled while the command line disables it. Even told
    // it runs on Windows 10, ravelinc sees Wine, whose start ignores the switch: Beta goes out.
    const wchar_t* asWindows10 = L"Software\\Wine\\AppDefaults\\ravelinc.exe";
    HKEY prefix = nullptr; // the prefix's own user, which ravelinc reads, not the test's stand-in
    ASSERT_EQ(RegOpenCurrentUser(KEY_ALL_ACCESS, &prefix), ERROR_SUCCESS);
    SetRegString(prefix, asWindows10, L"Version", L"win10");
    EXPECT_EQ(RunProgram(L"/disable beta").code, DWORD(ExitDone));
    RegDeleteTreeW(prefix, asWindows10);
    RegCloseKey(prefix);
    EXPECT_FALSE(platform::FileExists(folder + L"\\Beta.lnk"));
    main.mnuApp_Just_Click();
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
    window.reset();

    // Both come back as they were, and a copy an older build kept in the Windows folder goes.
    const std::wstring older =
        platform::GetWindowsFolder() + platform::names::CopiesFolder + L"StartUp (Current User)";
    ASSERT_EQ(platform::CreateFolderPath(older), DWORD(ERROR_SUCCESS));
    WriteBytes(older + L"\\Alpha.lnk", alpha);
    StartupState later;
    FillStartupList(later);
    ASSERT_EQ(RowTexts(later.List, Status), (std::vector<std::wstring>{L"Disabled", L"Disabled"}));
    for (int row = 1; row <= 2; ++row)
        later.List.SetState(row, EntryState::Enabled);
    EXPECT_TRUE(ApplyNow(later).failures.empty());
    EXPECT_EQ(ReadBytes(folder + L"\\Alpha.lnk"), alpha);
    EXPECT_EQ(ReadBytes(folder + L"\\Beta.lnk"), beta);
    EXPECT_FALSE(platform::FileExists(older + L"\\Alpha.lnk"));
}

TEST_F(ConsoleProgramTest, WhileAnotherProgramAppliesAChangeWaitsAFewSecondsThenAnswersFour)
{
    SeedPlace(startup, L"Beta", L"C:\\beta.exe");
    const std::wstring a = Make(L"A", servicetest::Automatic), b = Make(L"B", servicetest::Manual);
    Fill(); // listed before the command line changes anything
    {
        const platform::MachineLock applying(platform::names::ApplyLock, 0);
        ASSERT_TRUE(applying.Held());
        const ProgramRun r = RunProgram(L"/disable Beta");
        EXPECT_EQ(r.code, DWORD(ExitNotSafe));
        EXPECT_EQ(r.err,
                  "Nothing was applied: another program is applying changes now. Try again in a moment.\r\n");
        EXPECT_EQ(RunProgram(L"/disable " + a + L" /from Service").code, DWORD(ExitNotSafe));
        EXPECT_EQ(ReadPlace(startup, L"Beta"), L"C:\\beta.exe");
        EXPECT_EQ(servicetest::StartOf(a), servicetest::Automatic);
    }
    EXPECT_EQ(RunProgram(L"/disable Beta").code, DWORD(ExitDone));
    EXPECT_EQ(ReadPlace(startup, L"Beta"), L"<missing>");
    // The window keeps what the command line remembered: a is given back as it was, not as Manual.
    EXPECT_EQ(RunProgram(L"/disable " + a + L" /from Service").code, DWORD(ExitDone));
    Stage(b, false);
    EXPECT_TRUE(ApplyServices(state_).failures.empty());
    EXPECT_EQ(RunProgram(L"/enable " + a + L" /from Service").code, DWORD(ExitDone));
    EXPECT_EQ(servicetest::StartOf(a), servicetest::Automatic);
}
