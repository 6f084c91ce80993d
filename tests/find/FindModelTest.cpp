// Below the window: a command line's file, and the shown order and filter.
#include "find/DisplayList.h"
#include "support/Fixtures.h"

using FindModelTest = testsupport::RavelinTest;

TEST_F(FindModelTest, ACommandLineNamesItsFileWhereverItIsWritten)
{
    const std::wstring folder = programFolder + L"\\My Tools", tool = folder + L"\\tool.exe",
                       dll = folder + L"\\helper.dll";
    CreateDirectoryW(folder.c_str(), nullptr);
    testsupport::WriteBytes(tool, "MZ");
    testsupport::WriteBytes(dll, "MZ");
    wchar_t path[32767] = {};
    GetEnvironmentVariableW(L"PATH", path, 32767);
    const std::wstring oldPath = path;
    SetEnvironmentVariableW(L"PATH", (oldPath + L";" + folder).c_str());
    struct Case
    {
        std::wstring line, file; // no file: Missing
    } cases[] = {
        {L"\"" + tool + L"\" /background", tool},
        {tool + L" --minimized -x", tool}, // the blank in "My Tools" is passed over
        {folder + L"\\tool /x", tool},
        {L"  %SystemRoot%\\system32\\notepad.exe %1", testsupport::SystemFile(L"notepad.exe")},
        {L"tool /quiet", tool},
        {L"RUNDLL32.EXE helper.dll,Entry 1 2", dll},
        {L"rundll32 \"" + dll + L"\",Entry", dll},
        {L"%SystemRoot%\\system32\\rundll32.exe \"" + dll + L"\",Entry", dll},
        {L"\"C:\\no where\\gone.exe\"", L""},
        {L"gone-for-good.exe /x", L""},
        {L"rundll32.exe gone.dll,Entry", L""}, // rundll32 is there; the entry's file is its DLL
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.line);
        const FileFacts facts = ResolveFileFacts(c.line);
        EXPECT_EQ(facts.state, c.file.empty() ? FileFacts::State::Missing : FileFacts::State::Found);
        EXPECT_EQ(_wcsicmp(facts.file.c_str(), c.file.c_str()), 0) << facts.file;
    }
    SetEnvironmentVariableW(L"PATH", oldPath.c_str());
    EXPECT_EQ(ResolveFileFacts(L"   ").state, FileFacts::State::NoFile);
}

TEST_F(FindModelTest, SortTurnsRoundAndFilterMatchesAnyCellTheModelKeepsItsOrder)
{
    StartupList list;
    list.AppendRow(testsupport::MakeEntry(
        {L"  beta ", L"Enabled", L"Registry(User Run)", L"Current User", L"Current User logs On", L"b"}));
    list.AppendRow(testsupport::MakeEntry(
        {L"Alpha", L"Disabled", L"StartUp (All Users)", L"All Users", L"Any User Logs On", L"a"}));
    list.AppendRow(testsupport::MakeEntry(
        {L"gamma", L"Enabled", L"Win.ini Run", L"All users", L"Any User Logs On", L"c"}));
    FileFactsTable facts;
    facts.TakeUnasked(list);
    facts.Store(L"a", {FileFacts::State::Found, L"C:\\a.exe", L"Zeta Works"});
    facts.Store(L"b", {FileFacts::State::Found, L"C:\\b.exe", L"Acme"});
    facts.Store(L"c", {FileFacts::State::Missing, L"", L""});
    DisplayList display;
    const ListWords words = LoadListWords();
    auto shown = [&](SortOrder sort, const std::wstring& filter) {
        display.sort = sort;
        display.filter = filter;
        display.Update(list, words, facts);
        std::wstring names;
        for (int i = 0; i < display.Count(); ++i)
            names += CellText(list, words, facts, display.Position(i), TaskName) + L";";
        return names;
    };
    const SortOrder byName = NextSortOrder({}, TaskName),
                    byPublisher = NextSortOrder({TaskName, true}, PublisherColumn);
    // Without regard to case, and the blanks kept around a registry name do not count.
    EXPECT_EQ(shown(byName, L""), L"Alpha;beta;gamma;");
    EXPECT_EQ(display.IndexOf(1), 1);
    EXPECT_EQ(shown(byPublisher, L""), L"gamma;beta;Alpha;") << "another column starts upwards";
    // Equal Status texts keep the order the rows were added in, either way round.
    EXPECT_EQ(shown({Status, true}, L""), L"beta;gamma;Alpha;");
    EXPECT_EQ(shown(byName, L"ACME"), L"beta;"); // the Publisher column
    EXPECT_EQ(display.IndexOf(2), -1);
    EXPECT_EQ(shown(byName, L"any user"), L"Alpha;gamma;");
    // Impact goes by class, not by its word: none (disabled), not measured (no file), low.
    LogonImpact impact;
    impact.file = L"C:\\record.xml";
    impact.Add(L"C:\\b.exe", false, L"", {100000, 0});
    facts.StoreImpact(impact);
    EXPECT_EQ(shown(NextSortOrder({}, ImpactColumn), L""), L"Alpha;gamma;beta;");
    EXPECT_EQ(testsupport::RowTexts(list, TaskName),
              (std::vector<std::wstring>{L"  beta ", L"Alpha", L"gamma"}));
}
