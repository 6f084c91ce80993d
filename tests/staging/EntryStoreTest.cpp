// Entry files and the disabled-entry store: whole six-line records; an older build's store kept as it was.
#include "model/StartupSource.h"
#include "model/StartupState.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"
#include "staging/Profiles.h"
#include "support/Fixtures.h"

#include <algorithm>

using testsupport::ReadBytes;
using testsupport::RowTexts;
using testsupport::WriteBytes;
using Records = std::vector<EntryRecord>;
using namespace std::string_literals;

namespace
{

EntryRecord Disabled(std::wstring name, const wchar_t* loadFrom, std::wstring location)
{
    FileWords words;
    EntryRecord entry =
        ScannedEntry(static_cast<size_t>(words.Source(loadFrom)), std::move(name), std::move(location));
    entry.state = EntryState::Disabled;
    return entry;
}

class EntryStoreTest : public testsupport::RavelinTest
{
  protected:
    std::wstring File(const wchar_t* name) { return programFolder + L"\\" + name; }
    StartupState state;
};

} // namespace

TEST_F(EntryStoreTest, AStoreHoldingThatAlreadyIsLeftAndNothingToHoldDeletesItEvenReadOnly)
{
    // A machine entry: kept in the store all users share, at StorePath.
    const Records held{Disabled(L"Held", L"Registry(Machine Run)", L"C:\\held.exe")};
    ASSERT_EQ(WriteStore(held), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(SetFileAttributesW(StorePath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteStore(held), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(GetFileAttributesW(StorePath().c_str()) & FILE_ATTRIBUTE_READONLY) << "not replaced";
    EXPECT_EQ(WriteStore(testsupport::MakeEntries({})), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(platform::FileExists(StorePath()));
    EXPECT_EQ(WriteStore(testsupport::MakeEntries({})), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(EntryStoreTest, FilesAreReadByWholeRecordsWithEmptyFields)
{
    // An empty line is a field like any other, a first one too (a key's unnamed value); blank
    // lines after the last record are not a record.
    const std::pair<const char*, std::vector<FileRecord>> cases[] = {
        {"\r\nb\r\n\r\nd\r\ne\r\nf\r\n\r\n\r\n", {{L"", L"b", L"", L"d", L"e", L"f"}}},
        {"1\n2\n3\n4\n5\n6", {{L"1", L"2", L"3", L"4", L"5", L"6"}}}, // LF alone, no last end
        {"", {}},
    };
    for (const auto& [bytes, records] : cases)
    {
        SCOPED_TRACE(bytes);
        WriteBytes(File(L"f.txt"), bytes);
        const EntryFileContent content = ReadEntryRecords(File(L"f.txt"));
        EXPECT_EQ(content.records, records);
        EXPECT_FALSE(content.incomplete);
        EXPECT_EQ(content.error, static_cast<DWORD>(ERROR_SUCCESS));
    }
    EXPECT_EQ(ReadEntryRecords(File(L"missing.txt")).error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(EntryStoreTest, AStoreOfAnOlderBuildLoadsAndPlainRecordsAreWrittenBackAsTheyWere)
{
    // Six lines a record, as the builds that knew nine places wrote them, in the ANSI code page.
    const std::string old =
        "Caf\xE9 audio\r\nDisabled\r\nRegistry(Machine Run)\r\nAll Users\r\nAny User Logs "
        "On\r\n%ProgramFiles%\\audio.exe\r\n"
        "Agent\r\nDisabled\r\nRegistry(Machine RunServices)\r\nAll Users\r\nAny User Logs "
        "On\r\nC:\\agent.exe\r\n"
        "Win.ini Run\r\nDisabled\r\nWin.ini Run\r\nAll users\r\nAny User Logs On\r\nC:\\a.exe C:\\b.exe\r\n";
    WriteBytes(StorePath(), old);
    LoadDisabledEntries(state);
    ASSERT_TRUE(state.Store.ReadWhole());
    ASSERT_EQ(state.List.Count(), 3);
    EXPECT_EQ(state.List.Row(1).name, L"Caf\u00e9 audio");
    EXPECT_EQ(state.List.Row(2), Disabled(L"Agent", L"Registry(Machine RunServices)", L"C:\\agent.exe"));
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(StorePath()), old);
}

TEST_F(EntryStoreTest, EveryTextRoundTripsThroughStoreAndProfile)
{
    const std::wstring awkward[] = {
        L"a\r\nb",
        L"\nlead",
        L"trail\r",
        L"\r\n\r\n",
        L"C:\\x\\r\\n.exe \\u0041",
        L"\\",
        L"tab\there",
        L"  blanks  ",
        L"\u540c\u6b65 \U0001F600",
        std::wstring(1, wchar_t(0xD800)) + L"lone",
        L"x" + std::wstring(1, wchar_t(0xDC00)),
        std::wstring(32767, L'L'),
        L"",
    };
    Records records;
    std::vector<FileRecord> written;
    for (const std::wstring& text : awkward)
    {
        records.push_back(Disabled(text, L"Registry(User Run)", L"C:\\" + text));
        written.push_back(ToFileRecord(records.back()));
    }
    ASSERT_EQ(WriteStore(records), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadEntryRecords(UserStorePath()).records, written);
    // Each record keeps its six lines, so a reader of an older build stays aligned.
    std::string bytes = ReadBytes(UserStorePath());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), static_cast<long>(6 * records.size()));

    StartupList list;
    for (const EntryRecord& record : records)
        list.AppendRow(record);
    ASSERT_EQ(SaveProfile(list, File(L"p.pro")), static_cast<DWORD>(ERROR_SUCCESS));
    list.Clear();
    ASSERT_EQ(LoadProfile(list, File(L"p.pro")).error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(RowTexts(list, TaskName), std::vector<std::wstring>(std::begin(awkward), std::end(awkward)));
}

TEST_F(EntryStoreTest, ARecordThatCannotBeReadHidesNoneAfterItAndKeepsTheStoreAsItIs)
{
    WriteBytes(StorePath(), "A\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\na.exe\r\n"
                            "\0Bad\\q\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\nb.exe\r\n"
                            "C\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\nc.exe\r\n"s);
    LoadDisabledEntries(state);
    EXPECT_EQ(RowTexts(state.List, TaskName), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(state.Store.Problem.unreadable, 1u);
    EXPECT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_FILE_CORRUPT));
}

TEST_F(EntryStoreTest, AStoreAnOlderBuildWroteOverSeveralLinesIsReadRealignedAndKeptAsItWas)
{
    // The data and the name of two entries held line breaks, which an older build wrote as lines;
    // the exact copies kept beside the store tell a name from a text.
    const std::wstring copies = L"Software\\Brightfold\\Disabled\\Registry(User Run)";
    testsupport::SetRegString(HKEY_CURRENT_USER, copies, L"Two\nLines", L"C:\\two.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, copies, L"Last", L"C:\\last.exe\r\nx");
    const std::string old = "A\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\nC:\\Apps\\a.exe\r\n"
                            "Disabled\r\nRegistry(Machine Run)\r\n"
                            "Two\r\nLines\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\nC:\\two.exe\r\n"
                            "Last\r\nDisabled\r\nRegistry(User Run)\r\nU\r\nW\r\nC:\\last.exe\r\nx\r\n";
    WriteBytes(StorePath(), old);
    LoadDisabledEntries(state);
    ASSERT_TRUE(state.Store.ReadWhole());
    EXPECT_TRUE(state.Store.Realigned);
    EXPECT_EQ(RowTexts(state.List, TaskName), (std::vector<std::wstring>{L"A", L"Two\nLines", L"Last"}));
    EXPECT_EQ(RowTexts(state.List, Location),
              (std::vector<std::wstring>{L"C:\\Apps\\a.exe\r\nDisabled\r\nRegistry(Machine Run)",
                                         L"C:\\two.exe", L"C:\\last.exe\r\nx"}));
    EXPECT_EQ(ReadBytes(StoreBackupPath()), old);
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadEntryRecords(StorePath()).records.size(), 3u);
    EXPECT_EQ(ReadBytes(StoreBackupPath()), old) << "the first copy stays";
}

TEST_F(EntryStoreTest, ARecordOfAPlaceThisBuildDoesNotKnowIsReadAsWrittenWhateverItsTextsHold)
{
    // A newer build's place (and state), with texts that name places this build knows, at every
    // distance from the start of a record: none of them is taken for a record an older build cut
    // into lines.
    const std::vector<FileRecord> written = {
        {L"Newer", L"Postponed", L"Registry(Future Run)", L"Registry(User Run)", L"W", L"n.exe"},
        {L"New", L"Disabled", L"Registry(Future Run)", L"Registry(User Run)", L"Registry(Machine Run)",
         L"Registry(User Run)"},
        {L"Registry(User Run)", L"Postponed", L"Registry(Future Run)", L"U", L"Win.ini Run", L"x.exe"},
        {L"Plain", L"Disabled", L"Registry(User Run)", L"U", L"W", L"C:\\plain.exe"},
    };
    const EntryFileContent content = ParseEntryRecords(EntryFileBytes(written));
    EXPECT_EQ(content.records, written);
    EXPECT_FALSE(content.realigned);
    EXPECT_FALSE(content.incomplete);
}

TEST_F(EntryStoreTest, TakenInAgainTheStoreAddsWhatAnotherProgramWroteSinceOnceAndNothingOfItsOwn)
{
    const EntryRecord mine = Disabled(L"Mine", L"Registry(User Run)", L"C:\\mine.exe"),
                      theirs = Disabled(L"Theirs", L"Registry(Machine Run)", L"C:\\theirs.exe");
    auto names = [&] {
        std::vector<std::wstring> taskNames;
        for (const EntryRecord& record : state.Store.Entries)
            taskNames.push_back(record.name);
        return taskNames;
    };
    LoadDisabledEntries(state);
    state.List.AppendRow(mine);
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(TakeStoreChanges(state));
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"Mine"}));
    ASSERT_EQ(WriteStore({mine, theirs}), static_cast<DWORD>(ERROR_SUCCESS));
    for (int again = 0; again < 2; ++again)
    {
        ASSERT_TRUE(TakeStoreChanges(state));
        EXPECT_EQ(names(), (std::vector<std::wstring>{L"Mine", L"Theirs"}));
    }
    // Cut short inside a record since: refused, and nothing taken from it.
    WriteBytes(UserStorePath(), ReadBytes(UserStorePath()) + "Half\r\nDisabled\r\n");
    EXPECT_FALSE(TakeStoreChanges(state));
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"Mine", L"Theirs"}));
}

TEST_F(EntryStoreTest, ANameWhoseAnsiBytesOpenLikeAByteOrderMarkReadsBackAsWritten)
{
    // In the ANSI page these open like UTF-16's or UTF-8's mark: the file must say what it is.
    for (const wchar_t* name : {L"\u00ff\u00feTray", L"\u00fe\u00ffTray", L"\u00ef\u00bb\u00bfTray"})
    {
        const std::vector<FileRecord> records{{name, L"Disabled", L"Registry(User Run)", L"Current User",
                                               L"Current User logs On", L"C:\\t\u00e9.exe"},
                                              {L"Next", L"Disabled", L"Registry(User Run)", L"Current User",
                                               L"Current User logs On", L"C:\\n.exe"}};
        const EntryFileContent read = ParseEntryRecords(EntryFileBytes(records));
        EXPECT_EQ(read.records, records) << platform::CodePageFromWide(CP_UTF8, name);
        EXPECT_FALSE(read.incomplete || read.realigned);
    }
}
