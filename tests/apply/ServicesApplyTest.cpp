// Services made in the test prefix: listed with their start types, disabled and enabled back
// exactly, a refusal told, the remembered start types and profiles.
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/Profiles.h"
#include "support/ServicesFixture.h"

#include <future>
#include <thread>
#include <tuple>

using namespace servicetest;

TEST_F(ServicesTest, ListedWithEachStartTypeDisabledWithoutStoppingAndEnabledBackExactly)
{
    const std::wstring a = Make(L"A", Automatic), b = Make(L"B", Delayed), c = Make(L"C", Manual),
                       d = Make(L"D", Off), e = Make(L"E", Off);
    ASSERT_TRUE(servicetest::Run(a));
    Fill();
    const std::tuple<std::wstring, std::wstring, std::wstring> expected[] = {
        {a, L"Enabled", L"Automatic"},
        {b, L"Enabled", L"Automatic (Delayed Start)"},
        {c, L"Enabled", L"Manual"},
        {d, L"Disabled", L"Disabled"}};
    for (const auto& [name, status, type] : expected)
    {
        EXPECT_EQ(StateWord(Row(name).staged), status) << name.c_str();
        EXPECT_EQ(StartTypeWord(Row(name).start), type) << name.c_str();
        EXPECT_EQ(Row(name).imagePath, L"\"" + servicetest::ServiceProgram() + L"\"");
    }
    EXPECT_EQ(ServiceStateWord(Row(a).state) + L"|" + ServiceStateWord(Row(c).state), L"Running|Stopped");

    // Disabled by someone else, nothing remembered: Manual, or Automatic when picked.
    EXPECT_TRUE(CanPickAutomatic(state_, state_.List.FindName(e)));
    Row(e).enableAutomatic = true;
    for (const std::wstring& name : {a, b, c})
        Stage(name, false);
    Stage(d, true);
    Stage(e, true);
    // The counts and the running service, as the status line words them.
    EXPECT_EQ(ApplyResultText(ApplyServices(state_)),
              L"Services: 3 disabled, 2 enabled. Still running, disabled from the "
              L"next start: Test " +
                  a + L".");
    EXPECT_EQ(servicetest::StateOf(a), static_cast<DWORD>(SERVICE_RUNNING)) << "never stopped";
    for (const std::wstring& name : {a, b, c})
        EXPECT_EQ(servicetest::StartOf(name).type, Off.type) << name.c_str();
    EXPECT_EQ(servicetest::StartOf(d), Manual);
    EXPECT_EQ(servicetest::StartOf(e), Automatic);

    // Remembered across a restart of the program, and given back exactly, the delayed start too
    // when someone else cleared it meanwhile.
    ASSERT_TRUE(servicetest::MakeService(b, {Off.type, false}));
    EXPECT_EQ(ReadRememberedStarts().entries.size(), 3u);
    Fill();
    EXPECT_FALSE(CanPickAutomatic(state_, state_.List.FindName(a))) << "its own start is remembered";
    for (const std::wstring& name : {a, b, c})
        Stage(name, true);
    EXPECT_EQ(ApplyServices(state_).written, 3);
    EXPECT_EQ(servicetest::StartOf(a), Automatic);
    EXPECT_EQ(servicetest::StartOf(b), Delayed);
    EXPECT_EQ(servicetest::StartOf(c), Manual);
    EXPECT_FALSE(platform::FileExists(ServiceStartsPath())) << "nothing left to remember";

    // Nothing staged, no lock asked for: another program's apply does not stand in the way.
    std::promise<void> held, done;
    std::thread other([&] {
        const platform::MachineLock applying(platform::names::ApplyLock, 0);
        held.set_value();
        done.get_future().wait();
    });
    held.get_future().wait();
    EXPECT_EQ(ApplyServices(state_, 0).lockError, DWORD(ERROR_SUCCESS));
    done.set_value();
    other.join();
}

TEST_F(ServicesTest, ARefusedChangeAndAnUnreadableStoreLeaveEveryServiceAsItWas)
{
    const std::wstring a = Make(L"A", Automatic), b = Make(L"B", Manual);
    platform::DenyServiceChanges({a});
    Fill();
    Stage(a, false);
    EXPECT_EQ(ApplyResultText(ApplyServices(state_)),
              L"Services: 0 disabled, 0 enabled. Not applied: Test " + a + L" (access denied).");
    EXPECT_EQ(servicetest::StartOf(a), Automatic);
    EXPECT_EQ(Row(a).staged, EntryState::Enabled) << "the row says where the service is";
    EXPECT_FALSE(platform::FileExists(ServiceStartsPath())) << "a start it still has is not remembered";

    // A line this build cannot read: nothing changes, and the file stays byte for byte.
    const std::string bytes = "\xEF\xBB\xBF"
                              "3 0 Kept\r\n2 maybe Broken\r\n12 0 NoSuchStart\r\n";
    testsupport::WriteBytes(ServiceStartsPath(), bytes);
    Fill();
    EXPECT_EQ(state_.StartsUnreadable, 2u);
    Stage(b, false);
    EXPECT_EQ(ApplyResultText(ApplyServices(state_)),
              L"Services: 0 disabled, 0 enabled. Not applied: Test " + b +
                  L" (the remembered start types could not be read completely).");
    EXPECT_EQ(servicetest::StartOf(b), Manual);
    EXPECT_EQ(testsupport::ReadBytes(ServiceStartsPath()), bytes);

    // Names are written escaped, so that any comes back as it was.
    const std::vector<RememberedStart> odd = {{L"back\\slash \r\nbreak", Delayed},
                                              {L"\u00E9t\u00E9 \xD800", Off}};
    ASSERT_EQ(WriteRememberedStarts(odd), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadRememberedStarts().entries, odd);
}

TEST_F(ServicesTest, AProfileKeepsTheStagedServicesAfterTheStartupRowsAndAnOlderOneLeavesThem)
{
    const std::wstring a = Make(L"A", Automatic), d = Make(L"D", Off);
    Fill();
    Stage(a, false);
    Stage(d, true);
    Row(d).enableAutomatic = true;
    StartupList list;
    list.Append(ScannedEntry(0, L"Tool", L"C:\\tool.exe"));
    const auto ofServices = [](const FileRecord& record) { return record[LoadFrom] == L"Service"; };
    const std::wstring file = programFolder + L"\\both.Pro", older = programFolder + L"\\older.Pro";
    ASSERT_EQ(SaveProfile(list, file, ServiceProfileRecords(state_)), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(SaveProfile(list, older), static_cast<DWORD>(ERROR_SUCCESS));

    Fill();
    StartupList loaded;
    ProfileLoad outcome = LoadProfile(loaded, file, ofServices);
    EXPECT_EQ(testsupport::RowTexts(loaded, TaskName), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(outcome.others.size(), static_cast<size_t>(state_.List.Count()));
    LoadServiceProfileRecords(state_, outcome.others);
    EXPECT_EQ(StateWord(Row(a).staged) + L"|" + StateWord(Row(d).staged), L"Disabled|Enabled");
    EXPECT_TRUE(Row(d).enableAutomatic);

    Row(a).staged = EntryState::Enabled;
    outcome = LoadProfile(loaded, older, ofServices);
    EXPECT_TRUE(outcome.others.empty());
    LoadServiceProfileRecords(state_, outcome.others);
    EXPECT_EQ(Row(a).staged, EntryState::Enabled) << "an older profile leaves the services as they are";
}
