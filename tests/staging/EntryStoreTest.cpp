// Entry files and the disabled-entry store: whole six-line records; an older build's store kept as it was.
#include "model/MainState.h"
#include "platform/Files.h"
#include "staging/EntryStore.h"
#include "support/Fixtures.h"

using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Records = std::vector<EntryRecord>;

namespace {

EntryRecord Record(const std::wstring& name)
{
    return {name, L"Disabled", L"Registry(User Run)", L"Current User", L"Current User logs On", L"C:\\" + name + L".exe"};
}

class EntryStoreTest : public testsupport::RavelinTest {
  protected:
    std::wstring File(const wchar_t* name) { return programFolder + L"\\" + name; }
    MainState state;
};

} // namespace

TEST_F(EntryStoreTest, NothingToHoldDeletesTheStoreEvenAReadOnlyOne)
{
    ASSERT_EQ(WriteStore({Record(L"Held")}), static_cast<DWORD>(ERROR_SUCCESS));
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
