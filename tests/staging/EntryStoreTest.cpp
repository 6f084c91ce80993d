// Entry files and the disabled-entry store.
#include "app/MainState.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "support/Fixtures.h"

using testsupport::RavelinTest;

namespace {

EntryRecord Record(const std::wstring& name, const std::wstring& status = L"Disabled",
                   const std::wstring& from = L"Registry(User Run)")
{
    return {name, status, from, L"Current User", L"Current User logs On", L"C:\\" + name + L".exe"};
}

class EntryStoreTest : public RavelinTest {
  protected:
    std::wstring File(const wchar_t* name) { return programFolder + L"\\" + name; }
    void Add(const EntryRecord& record) { list.AppendRow(record); }
    MainState state;
    StartupList& list = state.List;
};

} // namespace

TEST_F(EntryStoreTest, TheStoreHoldsTheDisabledRowsSixLinesEach)
{
    Add(Record(L"One", L"Enabled"));
    Add(Record(L"Two"));
    Add(Record(L"Three", L"Remove"));
    Add(Record(L"Four", L"Disabled", L"StartUp (All Users)"));
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(testsupport::ReadBytes(StorePath()),
              "Two\r\nDisabled\r\nRegistry(User Run)\r\nCurrent User\r\nCurrent User logs On\r\nC:\\Two.exe\r\n"
              "Four\r\nDisabled\r\nStartUp (All Users)\r\nCurrent User\r\nCurrent User logs On\r\nC:\\Four.exe\r\n");
}

TEST_F(EntryStoreTest, NothingToHoldDeletesTheStoreEvenReadOnly)
{
    ASSERT_EQ(WriteStore({Record(L"One")}), static_cast<DWORD>(ERROR_SUCCESS));
    SetFileAttributesW(StorePath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(WriteStore({}), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(platform::FileExists(StorePath()));
    EXPECT_EQ(WriteStore({}), static_cast<DWORD>(ERROR_SUCCESS)); // already gone: no failure
}

TEST_F(EntryStoreTest, TheStoreKeepsEveryStoredEntryUntilItIsReleased)
{
    // Without a pack the English word is the disabled one; a pack's own word replaces it.
    Add(Record(L"Listed"));
    Add(Record(L"Back", L"Enabled"));
    const std::vector<EntryRecord> stored{Record(L"Back"), Record(L"Listed"), Record(L"Unlisted")};
    EXPECT_EQ(ComposeStore(list, stored, {}), (std::vector<EntryRecord>{Record(L"Listed"), Record(L"Back"), Record(L"Unlisted")}));
    EXPECT_EQ(ComposeStore(list, stored, {Record(L"Back", L"Enabled")}),
              (std::vector<EntryRecord>{Record(L"Listed"), Record(L"Unlisted")}));
    WritePack(L"English.ini", L"423=Inaktiv\r\n");
    EXPECT_TRUE(ComposeStore(list, {}, {}).empty());
}

TEST_F(EntryStoreTest, WriteEntryFileEdgeCases)
{
    std::vector<EntryRecord> records{Record(L"A"), Record(L"B")};
    EXPECT_EQ(WriteEntryFile(records, L"", 2), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(platform::ListFolderFiles(programFolder).names.empty());
    EXPECT_EQ(WriteEntryFile(records, File(L"zero.pro"), 0), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(platform::FileExists(File(L"zero.pro")));
    EXPECT_EQ(testsupport::ReadBytes(File(L"zero.pro")), "");
    EXPECT_EQ(WriteEntryFile(records, File(L"one.pro"), 1), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadEntryRecords(File(L"one.pro")).records, std::vector<EntryRecord>{Record(L"A")});
}

TEST_F(EntryStoreTest, AnsiTextStaysAnsiAndOtherTextTravelsAsUtf8)
{
    std::vector<EntryRecord> ansi{Record(L"Caf\u00e9")};
    WriteEntryFile(ansi, File(L"ansi.pro"), 1);
    std::string bytes = testsupport::ReadBytes(File(L"ansi.pro"));
    EXPECT_EQ(bytes.substr(0, 6), "Caf\xE9\r\n"); // one byte per character, no byte-order mark
    EXPECT_EQ(ReadEntryRecords(File(L"ansi.pro")).records, ansi);

    std::vector<EntryRecord> unicode{Record(L"\u540c\u6b65\u5de5\u5177"), Record(L"Plain")};
    WriteEntryFile(unicode, File(L"unicode.pro"), 2);
    bytes = testsupport::ReadBytes(File(L"unicode.pro"));
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    EXPECT_EQ(ReadEntryRecords(File(L"unicode.pro")).records, unicode);
}

TEST_F(EntryStoreTest, FilesAreReadByWholeRecordsAndAnIncompleteOneIsDropped)
{
    testsupport::WriteBytes(File(L"13.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n");
    EntryFileContent content = ReadEntryRecords(File(L"13.txt"));
    ASSERT_EQ(content.records.size(), 2u);
    EXPECT_EQ(content.records[1], (EntryRecord{L"7", L"8", L"9", L"10", L"11", L"12"}));
    EXPECT_TRUE(content.incomplete);

    // An empty line is a field like any other, a first one too (a key's unnamed value); blank
    // lines after the last record are not a record.
    testsupport::WriteBytes(File(L"gap.txt"), "a\r\n\r\n\r\n\r\n\r\n\r\n\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n\r\n");
    content = ReadEntryRecords(File(L"gap.txt"));
    ASSERT_EQ(content.records.size(), 2u);
    EXPECT_EQ(content.records[0], (EntryRecord{L"a", L"", L"", L"", L"", L""}));
    EXPECT_EQ(content.records[1], (EntryRecord{L"", L"b", L"c", L"d", L"e", L"f"}));
    EXPECT_FALSE(content.incomplete);

    // Lines ending in LF alone, and a last line without an end.
    testsupport::WriteBytes(File(L"lf.txt"), "1\n2\n3\n4\n5\n6");
    EXPECT_EQ(ReadEntryRecords(File(L"lf.txt")).records.size(), 1u);

    testsupport::WriteBytes(File(L"empty.txt"), "");
    content = ReadEntryRecords(File(L"empty.txt"));
    EXPECT_TRUE(content.records.empty());
    EXPECT_FALSE(content.incomplete);
    EXPECT_EQ(content.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadEntryRecords(File(L"missing.txt")).error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(EntryStoreTest, AFailedWriteLeavesTheOldFile)
{
    std::vector<EntryRecord> records{Record(L"Old")};
    WriteEntryFile(records, File(L"p.pro"), 1);
    const std::string before = testsupport::ReadBytes(File(L"p.pro"));
    HANDLE held = CreateFileW(File(L"p.pro").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    records[0] = Record(L"New");
    EXPECT_NE(WriteEntryFile(records, File(L"p.pro"), 1), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(held);
    EXPECT_EQ(testsupport::ReadBytes(File(L"p.pro")), before);
}

TEST_F(EntryStoreTest, StoredRowsComeBackDisabledInTheLanguageInUse)
{
    Add(Record(L"Tool", L"Disabled", L"StartUp (Current User)"));
    Add(Record(L"Svc", L"Disabled", L"Registry(Machine RunServices)"));
    Add(Record(L"Odd", L"Disabled", L"Somewhere else"));
    SaveDisabledEntries(state);
    WritePack(L"English.ini", L"423=Disabled\r\n430=StartUp (Current User)\r\n");
    WritePack(L"French.ini", L"423=D\u00e9sactiv\u00e9\r\n430=D\u00e9marrage (Utilisateur)\r\n");

    LanguageFile = L"French.ini";
    MainState french;
    LoadSourceNames(french.SourceNames);
    LoadDisabledEntries(french);
    ASSERT_EQ(french.List.Count(), 3);
    EXPECT_EQ(french.List.Text(1, Status), L"D\u00e9sactiv\u00e9");
    EXPECT_EQ(french.List.Text(1, LoadFrom), L"D\u00e9marrage (Utilisateur)");
    EXPECT_EQ(french.List.Text(2, LoadFrom), L"Registry(Machine RunServices)");
    EXPECT_EQ(french.List.Text(3, LoadFrom), L"Somewhere else");

    // Written back under French and read under English again: the same entries, in English.
    SaveDisabledEntries(french);
    LanguageFile = L"English.ini";
    MainState english;
    LoadSourceNames(english.SourceNames);
    LoadDisabledEntries(english);
    ASSERT_EQ(english.List.Count(), 3);
    EXPECT_EQ(english.List.Row(1), Record(L"Tool", L"Disabled", L"StartUp (Current User)"));
}

TEST_F(EntryStoreTest, AnEmptyOrMissingStoreAddsNothingAndIsNoProblem)
{
    LoadDisabledEntries(state);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(state.StoreReadWhole());
    testsupport::WriteBytes(StorePath(), "");
    LoadDisabledEntries(state);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(state.StoreReadWhole());
}

TEST_F(EntryStoreTest, CopyListToRecordsCopiesEveryRowInOrder)
{
    Add(Record(L"A", L"Enabled"));
    Add(Record(L"B", L"Remove"));
    std::vector<EntryRecord> records(2);
    CopyListToRecords(list, records);
    EXPECT_EQ(records[0], list.Row(1));
    EXPECT_EQ(records[1], list.Row(2));
}

TEST_F(EntryStoreTest, AStoreOfAnOlderBuildLoadsAndIsWrittenBackAsItWas)
{
    // Six lines a record, as the builds that knew nine places wrote them.
    const std::string old =
        "Sync\r\nDisabled\r\nRegistry(User Run)\r\nCurrent User\r\nCurrent User logs On\r\nC:\\sync.exe\r\n"
        "Audio\r\nDisabled\r\nRegistry(Machine Run)\r\nAll Users\r\nAny User Logs On\r\n%ProgramFiles%\\audio.exe\r\n"
        "Agent\r\nDisabled\r\nRegistry(Machine RunServices)\r\nAll Users\r\nAny User Logs On\r\nC:\\agent.exe\r\n"
        "Tool\r\nDisabled\r\nStartUp (All Users)\r\nAll Users\r\nAny User Logs On\r\nC:\\tool.exe\r\n"
        "Win.ini Run\r\nDisabled\r\nWin.ini Run\r\nAll users\r\nAny User Logs On\r\nC:\\a.exe C:\\b.exe\r\n";
    testsupport::WriteBytes(StorePath(), old);
    LoadSourceNames(state.SourceNames);
    LoadDisabledEntries(state);
    ASSERT_TRUE(state.StoreReadWhole());
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Row(3), (StartupEntry{L"Agent", L"Disabled", L"Registry(Machine RunServices)", L"All Users",
                                         L"Any User Logs On", L"C:\\agent.exe"}));
    for (int row = 1; row <= 5; ++row) EXPECT_FALSE(list.Row(row).disabledByWindows);
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(testsupport::ReadBytes(StorePath()), old);
}
