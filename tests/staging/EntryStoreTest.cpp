// Entry files and the disabled-entry store: whole six-line records, written whole or not at all.
#include "app/MainState.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "support/Fixtures.h"

using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Records = std::vector<EntryRecord>;

namespace {

EntryRecord Record(const std::wstring& name, const std::wstring& status = L"Disabled")
{
    return {name, status, L"Registry(User Run)", L"Current User", L"Current User logs On", L"C:\\" + name + L".exe"};
}

class EntryStoreTest : public testsupport::RavelinTest {
  protected:
    std::wstring File(const wchar_t* name) { return programFolder + L"\\" + name; }
    MainState state;
};

} // namespace

TEST_F(EntryStoreTest, TheStoreHoldsTheDisabledRowsAndKeepsStoredEntriesUntilReleased)
{
    for (const wchar_t* status : {L"Enabled", L"Disabled", L"Remove"}) state.List.AppendRow(Record(status, status));
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(StorePath()), "Disabled\r\nDisabled\r\nRegistry(User Run)\r\nCurrent User\r\n"
                                      "Current User logs On\r\nC:\\Disabled.exe\r\n");
    // Stored entries in no row stay; those enabled again are released.
    const Records stored{Record(L"Enabled"), Record(L"Unlisted")};
    EXPECT_EQ(ComposeStore(state.List, stored, {}), (Records{Record(L"Disabled"), Record(L"Enabled"), Record(L"Unlisted")}));
    EXPECT_EQ(ComposeStore(state.List, stored, {Record(L"Enabled", L"Enabled")}),
              (Records{Record(L"Disabled"), Record(L"Unlisted")}));

    // Nothing to hold deletes the store, even a read-only one.
    SetFileAttributesW(StorePath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(WriteStore({}), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(platform::FileExists(StorePath()));
    EXPECT_EQ(WriteStore({}), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(EntryStoreTest, FilesAreReadByWholeRecordsWithEmptyFieldsAndAnIncompleteOneIsDropped)
{
    struct Case {
        const char* bytes;
        Records records;
        bool incomplete;
    };
    const Case cases[] = {
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", {{L"1", L"2", L"3", L"4", L"5", L"6"}}, true},
        // An empty line is a field like any other, a first one too (a key's unnamed value); blank
        // lines after the last record are not a record.
        {"\r\nb\r\n\r\nd\r\ne\r\nf\r\n\r\n\r\n", {{L"", L"b", L"", L"d", L"e", L"f"}}, false},
        {"1\n2\n3\n4\n5\n6", {{L"1", L"2", L"3", L"4", L"5", L"6"}}, false}, // LF alone, no last end
        {"", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        WriteBytes(File(L"f.txt"), c.bytes);
        const EntryFileContent content = ReadEntryRecords(File(L"f.txt"));
        EXPECT_EQ(content.records, c.records);
        EXPECT_EQ(content.incomplete, c.incomplete);
        EXPECT_EQ(content.error, static_cast<DWORD>(ERROR_SUCCESS));
    }
    EXPECT_EQ(ReadEntryRecords(File(L"missing.txt")).error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // Written back, an empty name stays a record of its own.
    ASSERT_EQ(WriteEntryFile({Record(L""), Record(L"B")}, File(L"two.pro"), 2), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadEntryRecords(File(L"two.pro")).records, (Records{Record(L""), Record(L"B")}));
}

TEST_F(EntryStoreTest, AnsiTextStaysAnsiOtherTextTravelsAsUtf8AndAFailedWriteLeavesTheOldFile)
{
    for (const Records& records : {Records{Record(L"Caf\u00e9")}, Records{Record(L"\u540c\u6b65"), Record(L"P")}}) {
        ASSERT_EQ(WriteEntryFile(records, File(L"p.pro"), static_cast<int>(records.size())), 0u);
        const std::string bytes = ReadBytes(File(L"p.pro"));
        // One byte per character without a byte-order mark, or UTF-8 with one.
        EXPECT_EQ(bytes.substr(0, 3), records.size() == 1 ? "Caf" : "\xEF\xBB\xBF");
        EXPECT_EQ(ReadEntryRecords(File(L"p.pro")).records, records);
    }
    const std::string before = ReadBytes(File(L"p.pro"));
    HANDLE held = CreateFileW(File(L"p.pro").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(WriteEntryFile({Record(L"New")}, File(L"p.pro"), 1), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(File(L"p.pro")), before);
}

TEST_F(EntryStoreTest, AStoreOfAnOlderBuildLoadsAndIsWrittenBackAsItWas)
{
    // Six lines a record, as the builds that knew nine places wrote them.
    const std::string old =
        "Audio\r\nDisabled\r\nRegistry(Machine Run)\r\nAll Users\r\nAny User Logs On\r\n%ProgramFiles%\\audio.exe\r\n"
        "Agent\r\nDisabled\r\nRegistry(Machine RunServices)\r\nAll Users\r\nAny User Logs On\r\nC:\\agent.exe\r\n"
        "Win.ini Run\r\nDisabled\r\nWin.ini Run\r\nAll users\r\nAny User Logs On\r\nC:\\a.exe C:\\b.exe\r\n";
    WriteBytes(StorePath(), old);
    LoadSourceNames(state.SourceNames);
    LoadDisabledEntries(state);
    ASSERT_TRUE(state.StoreReadWhole());
    ASSERT_EQ(state.List.Count(), 3);
    EXPECT_EQ(state.List.Row(2), (StartupEntry{L"Agent", L"Disabled", L"Registry(Machine RunServices)", L"All Users",
                                               L"Any User Logs On", L"C:\\agent.exe"}));
    ASSERT_EQ(SaveDisabledEntries(state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(StorePath()), old);
}
