// The Status of a delayed record, "Delayed 30 1": read back with its seconds and order, never taken
// for lines an older build cut, and what a build that knows no such text makes of it.
#include "staging/EntryFile.h"
#include "support/Fixtures.h"

namespace
{

class DelayedRecordTest : public testsupport::RavelinTest
{
};

} // namespace

TEST_F(DelayedRecordTest, ADelayedRecordKeepsItsDelayAndAnUnknownStatusIsReadDisabled)
{
    FileWords words;
    StartupEntry entry =
        FromFileRecord({L"Sync", L"Delayed 45 2", L"Registry(User Run)", L"U", L"W", L"s.exe"}, words);
    EXPECT_EQ(entry.state, EntryState::Delayed);
    EXPECT_EQ(entry.delaySeconds, 45);
    EXPECT_EQ(entry.delayOrder, 2);
    EXPECT_EQ(ToFileRecord(entry)[Status], L"Delayed 45 2");

    // What a build reads of a Status word it does not know, as an older build reads "Delayed 45 2":
    // the entry stays out of its place as a disabled one, so nothing is written to the system.
    for (const wchar_t* status :
         {L"Postponed 30 1", L"Delayed 0 1", L"Delayed 30", L"Delayed 30 x", L"Delayed -5 1"})
    {
        const StartupEntry read =
            FromFileRecord({L"Sync", status, L"Registry(User Run)", L"U", L"W", L"s.exe"}, words);
        EXPECT_EQ(read.state, EntryState::Disabled) << status;
        EXPECT_FALSE(words.State(status).has_value()) << status;
    }
    EXPECT_EQ(words.State(L"Delayed 86400 9999"), EntryState::Delayed);
    EXPECT_FALSE(words.State(L"Delayed 86401 1").has_value());
}

TEST_F(DelayedRecordTest, DelayedRecordsOfUnknownPlacesAreNeverShifted)
{
    // The realign rule takes a record for an older build's cut lines only when neither its place
    // nor its Status is known: a delayed Status is, so a newer place's texts never shift what follows.
    const std::vector<FileRecord> written = {
        {L"Newer", L"Delayed 30 1", L"Registry(Future Run)", L"Registry(User Run)", L"W", L"n.exe"},
        {L"Registry(User Run)", L"Delayed 5 2", L"Registry(Future Run)", L"U", L"Win.ini Run", L"x.exe"},
        {L"Plain", L"Delayed 30 3", L"Registry(User Run)", L"U", L"W", L"C:\\plain.exe"},
    };
    const EntryFileContent content = ParseEntryRecords(EntryFileBytes(written));
    EXPECT_EQ(content.records, written);
    EXPECT_FALSE(content.realigned);
    EXPECT_FALSE(content.incomplete);
}
