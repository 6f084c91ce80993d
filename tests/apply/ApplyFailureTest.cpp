// What an apply does when the system refuses: every failure is named, nothing is lost, the
// apply goes on with the other rows; and the status line that says so.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "apply/ApplyReport.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"

using namespace applytest;

namespace {

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

std::string Narrow(const std::wstring& text)
{
    return platform::CodePageFromWide(CP_UTF8, text);
}

} // namespace

TEST_F(ApplyTest, AReadOnlyStartUpShortcutIsNamedAndKeptWhileTheRestIsApplied)
{
    SeedPlace(PlaceOf(L"StartUp (Current User)"), L"Clock", L"C:\\Tools\\clock.exe");
    SetFileAttributesW((UserStartup() + L"\\Clock.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    testsupport::SetRegString(HKEY_CURRENT_USER, RunBase + L"Run", L"Tray", L"C:\\tray.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunBase + L"Run", L"Gone", L"C:\\gone.exe");
    Start();
    Stage(L"Clock", L"Disabled");
    Stage(L"Tray", L"Disabled");
    Stage(L"Gone", L"Disabled");
    // Taken away behind the program's back: the apply cannot say it took it out.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (RunBase + L"Run").c_str(), L"Gone");

    ApplyResult result = ApplyNow(*state);
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[1].taskName, L"Clock");
    EXPECT_EQ(result.failures[1].error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(result.takenOut, 1);
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"Clock"), L"C:\\Tools\\clock.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"Registry(User Run)"), L"Tray"), L"<missing>");
    // Clock is still in its folder and its row says so; Gone, in neither place, is kept stored.
    EXPECT_EQ(state->List.Text(Position(L"Clock"), Status), L"Enabled");
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"Gone", L"Tray"}));
    EXPECT_EQ(ApplyResultText(result),
              L"Applied: 0 written, 1 taken out. Not applied: Gone (not found in its place), "
              L"Clock (access denied).");
}

TEST_F(ApplyTest, AStoreThatCannotBeWrittenKeepsDisabledEntriesInTheirSources)
{
    const std::wstring run = RunBase + L"Run";
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, L"A", L"C:\\a.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, L"B", L"C:\\b.exe");
    WriteEntryFile({Record(L"S", L"Disabled", L"Registry(Machine Run)", L"C:\\s.exe")}, StorePath(), 1);
    const std::string storeBefore = testsupport::ReadBytes(StorePath());
    Start();
    Stage(L"A", L"Disabled");
    Stage(L"B", L"Remove");

    ApplyResult result;
    {
        HeldFile held(StorePath());
        ASSERT_TRUE(held.held());
        result = ApplyNow(*state);
    }
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"A"), L"C:\\a.exe"); // not taken out
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"B"), L"<missing>"); // removal goes on
    EXPECT_EQ(testsupport::ReadBytes(StorePath()), storeBefore);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].reason, ApplyFailure::StoreNotSaved);
    // Wine refuses to replace a file held open with "access denied"; Windows may say "in use".
    EXPECT_TRUE(result.storeError == ERROR_ACCESS_DENIED || result.storeError == ERROR_SHARING_VIOLATION);
    const std::wstring line = ApplyResultText(result);
    EXPECT_EQ(
        line.substr(0, line.rfind(L':')),
        L"Applied: 0 written, 1 taken out. Not applied: A (left in its place, the disabled entries could not "
        L"be saved first). The disabled entries could not be saved");

    // Once the store can be written, the next apply takes A out.
    result = ApplyNow(*state);
    EXPECT_EQ(result.takenOut, 1);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"A"), L"<missing>");
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"A", L"S"}));
    ExpectBaselinePaired();
}

TEST_F(ApplyTest, AnEntryThatCannotBeWrittenStaysDisabledAndStored)
{
    // A machine key the user may not write (an existing one: writing would otherwise create it).
    DenyWrites(HKEY_LOCAL_MACHINE, RunBase + L"RunServices");
    // A shortcut of the same name held open by another program.
    SeedPlace(PlaceOf(L"StartUp (Current User)"), L"Clock", L"C:\\Tools\\old.exe");
    WriteEntryFile({Record(L"Agent", L"Disabled", L"Registry(Machine RunServices)", L"C:\\agent.exe"),
                    Record(L"Clock", L"Disabled", L"StartUp (Current User)", L"C:\\Tools\\clock.exe")},
                   StorePath(), 2);
    HeldFile held(UserStartup() + L"\\Clock.lnk");
    ASSERT_TRUE(held.held());
    Start();
    Stage(L"Agent", L"Enabled");
    state->List.SetSubItem(3, Status, L"Enabled"); // the stored Clock, after the scanned one
    ASSERT_EQ(state->List.Text(3, TaskName), L"Clock");
    state->List.AppendRow(Record(L"Nowhere", L"Enabled", L"Registry(Machine Elsewhere)", L"C:\\n.exe"));

    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(result.written, 0) << Narrow(ApplyResultText(result));
    ASSERT_EQ(result.failures.size(), 3u);
    EXPECT_EQ(result.failures[0].error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(result.failures[1].error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(result.failures[2].reason, ApplyFailure::NoSource);
    for (int row = 2; row <= 4; ++row) EXPECT_EQ(state->List.Text(row, Status), L"Disabled") << row;
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"Agent", L"Clock", L"Nowhere"}));
    ExpectBaselinePaired();
    const std::wstring line = ApplyResultText(result);
    EXPECT_TRUE(Contains(line, L"Agent (access denied)")) << Narrow(line);
    EXPECT_TRUE(Contains(line, L"Clock (in use by another program)")) << Narrow(line);
    EXPECT_TRUE(Contains(line, L"Nowhere (no known place for its Load From)")) << Narrow(line);
}

TEST_F(ApplyTest, AKeyThatDeniesWritesIsNamedAndItsEntryKept)
{
    const std::wstring run = RunBase + L"Run";
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, run, L"Tool", L"C:\\tool.exe");
    DenyWrites(HKEY_LOCAL_MACHINE, run);
    Start();
    Stage(L"Tool", L"Disabled");
    ApplyResult result = ApplyNow(*state);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, run, L"Tool"), L"C:\\tool.exe");
    EXPECT_EQ(ApplyResultText(result),
              L"Applied: 0 written, 0 taken out. Not applied: Tool (access denied).");
    EXPECT_EQ(state->List.Text(1, Status), L"Enabled"); // where the entry still is
    EXPECT_TRUE(StoredNames().empty());
}

TEST_F(ApplyTest, TheStatusLineCountsNamesAndSpeaksThePackLanguage)
{
    ApplyResult result;
    result.written = 2;
    result.takenOut = 3;
    EXPECT_EQ(ApplyResultText(result), L"Applied: 2 written, 3 taken out.");

    // Twelve failures: ten named, the rest counted; a name holding "%2" stays as it is.
    for (int i = 0; i < 12; ++i)
        result.failures.push_back({i == 0 ? L"100%2" : L"T" + std::to_wstring(i), ApplyFailure::SourceError,
                                   static_cast<DWORD>(i == 0 ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED)});
    const std::wstring line = ApplyResultText(result);
    EXPECT_TRUE(Contains(line, L"Not applied: 100%2 (not found in its place), T1 (access denied),"))
        << Narrow(line);
    EXPECT_TRUE(Contains(line, L"T9 (access denied), 2 more.")) << Narrow(line);
    EXPECT_FALSE(Contains(line, L"T10"));

    InstallShippedPacks(); // the shipped English pack says the same
    EXPECT_EQ(ApplyResultText(result), line);

    WritePack(L"Deutsch.ini",
              L"501=Angewendet: %1 geschrieben, %2 entfernt.\r\n502=Nicht angewendet: %1.\r\n"
              L"503=Deaktivierte Eintr\u00e4ge nicht gespeichert: %1.\r\n510=Zugriff verweigert\r\n");
    LanguageFile = L"Deutsch.ini";
    result.failures.resize(1);
    result.failures[0] = {L"Tool", ApplyFailure::SourceError, ERROR_ACCESS_DENIED};
    result.storeError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(ApplyResultText(result),
              L"Angewendet: 2 geschrieben, 3 entfernt. Nicht angewendet: Tool (Zugriff "
              L"verweigert). Deaktivierte Eintr\u00e4ge nicht gespeichert: Zugriff verweigert.");
}
