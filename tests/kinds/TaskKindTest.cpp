// The scheduled tasks as a kind: listed from Wine's task files and switched there byte for byte,
// and, through a stand-in for the scheduler, what an apply does when a task may not be changed.
#include "inventory/TaskDefinition.h"
#include "kinds/TaskKind.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "staging/TaskStaging.h"
#include "support/Fixtures.h"

#include <filesystem>
#include <future>
#include <thread>

using testsupport::ReadBytes;

namespace
{

class TaskKindTest : public testsupport::RavelinTest
{
  protected:
    void SetUp() override
    {
        RavelinTest::SetUp();
        std::filesystem::remove_all(folder, ignored);
        ASSERT_EQ(platform::CreateFolderPath(folder + L"\\SyncDrive"), DWORD(ERROR_SUCCESS));
        for (const wchar_t* name : {L"Boot Check", L"Broken", L"Daily Notes at Logon", L"Weather Daily",
                                    L"Updater Disabled", L"SyncDrive\\Weekly Report"})
            ASSERT_TRUE(CopyFileW((source + name).c_str(), (folder + L"\\" + name).c_str(), FALSE)) << name;
    }
    void TearDown() override
    {
        std::filesystem::remove_all(folder, ignored);
        RavelinTest::TearDown();
    }
    std::error_code ignored;
    const std::wstring source = testsupport::RepoFolder() + L"\\tests\\data\\tasks\\";
    const std::wstring folder = platform::TaskFilesFolder() + L"\\RavelinTest";
};

// Gives the tasks it is made with and answers each change as told; remembers what it was asked.
class StandIn final : public platform::Scheduler
{
  public:
    explicit StandIn(std::vector<platform::TaskInfo> tasks) : tasks_(std::move(tasks)) {}
    platform::TaskListing List() override { return {tasks_, {}, ERROR_SUCCESS}; }
    platform::TaskSwitch SetEnabled(const platform::TaskInfo& task, bool enabled) override
    {
        asked.push_back(task.name + (enabled ? L" on" : L" off"));
        return {task.name == L"Locked" ? DWORD(ERROR_ACCESS_DENIED) : DWORD(ERROR_SUCCESS)};
    }
    std::vector<std::wstring> asked;

  private:
    std::vector<platform::TaskInfo> tasks_;
};

} // namespace

TEST_F(TaskKindTest, WinesTaskFilesAreListedAndSwitchedInPlaceByteForByte)
{
    TaskKind tasks;
    const std::wstring logon = tasks.ListVerb(true, false, false).out,
                       all = tasks.ListVerb(false, true, false).out;
    // A logon or boot task, and a broken file with its reason; the daily one only with /all.
    EXPECT_NE(logon.find(L"\"path\": \"\\\\RavelinTest\\\\Daily Notes at Logon\""), std::wstring::npos)
        << logon;
    EXPECT_NE(logon.find(L"\"starts\": \"At startup\""), std::wstring::npos);
    EXPECT_NE(logon.find(L"the XML ends inside the element <Enabled> begun at line 9"), std::wstring::npos);
    EXPECT_EQ(logon.find(L"Weather Daily"), std::wstring::npos);
    EXPECT_NE(all.find(L"Weather Daily,Enabled,Ready,Daily,\\RavelinTest,"), std::wstring::npos) << all;

    const std::wstring file = folder + L"\\Daily Notes at Logon";
    const std::string before = ReadBytes(file);
    EXPECT_EQ(tasks.ChangeVerb(L"daily notes at logon", L"Task", ChangeVerb::Disable, false).out,
              L"Scheduled tasks: 1 disabled, 0 enabled.");
    EXPECT_EQ(ReadBytes(file), *WithTaskEnabled(before, false));
    EXPECT_EQ(
        tasks.ChangeVerb(L"\\RavelinTest\\Daily Notes at Logon", L"Task", ChangeVerb::Disable, false).out,
        L"\\RavelinTest\\Daily Notes at Logon is disabled already: nothing to apply.");
    EXPECT_EQ(tasks.ChangeVerb(L"RavelinTest\\Daily Notes at Logon", L"Task", ChangeVerb::Enable, false).code,
              ExitDone);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(tasks.ChangeVerb(L"Weekly Report", L"Task", ChangeVerb::Remove, false).code, ExitBadUsage);
    EXPECT_EQ(tasks.ChangeVerb(L"Nowhere", L"Task", ChangeVerb::Disable, false).code, ExitNoEntry);
}

TEST_F(TaskKindTest, ARefusedTaskKeepsItsFlagAndItsRowAProfileStagesByPathAndALockStopsAll)
{
    std::vector<platform::TaskInfo> listed;
    for (const wchar_t* name : {L"Locked", L"Free"})
        listed.push_back({std::wstring(L"\\Tools\\") + name,
                          L"\\Tools",
                          name,
                          ReadBytes(source + L"Boot Check"),
                          TASK_STATE_READY,
                          true,
                          {},
                          {},
                          platform::TaskOrigin::Api,
                          ERROR_SUCCESS});
    auto standIn = std::make_unique<StandIn>(listed);
    StandIn& scheduler = *standIn;
    TaskKind tasks(std::move(standIn));
    tasks.Fill();
    TasksState& state = tasks.State();
    // Disabled in a profile by path; a record of another state or Status leaves its task alone.
    tasks.LoadProfileRecords({{L"\\Tools\\Locked", L"Disabled", L"Task", L"", L"", L""},
                              {L"tools\\free", L"Disabled", L"Task", L"", L"", L""},
                              {L"\\Tools\\Free", L"Remove", L"Task", L"", L"", L""}});
    EXPECT_TRUE(tasks.Staged());
    // Another program applying: nothing is asked of the scheduler.
    std::promise<void> held, done;
    std::thread other([&] {
        const platform::MachineLock applying(platform::names::ApplyLock, 0);
        held.set_value();
        done.get_future().wait();
    });
    held.get_future().wait();
    EXPECT_EQ(tasks.Apply(0).lockError, DWORD(WAIT_TIMEOUT));
    done.set_value();
    other.join();
    EXPECT_TRUE(scheduler.asked.empty());
    EXPECT_EQ(ApplyResultText(tasks.Apply(0)),
              L"Scheduled tasks: 1 disabled, 0 enabled. Not applied: Locked (access denied).");
    EXPECT_EQ(scheduler.asked, (std::vector<std::wstring>{L"Locked off", L"Free off"}));
    EXPECT_EQ(state.List.Row(1).staged, EntryState::Enabled) << "the row says where the task is";
    EXPECT_EQ(TaskStateWord(state.List.Row(2).task.state), L"Disabled");
    EXPECT_FALSE(tasks.Staged());
    EXPECT_EQ(TaskProfileRecords(state)[1],
              (FileRecord{L"\\Tools\\Free", L"Disabled", L"Task", L"\\Tools", L"At startup",
                          L"%ProgramFiles%\\SyncDrive\\check.exe --quiet --log \"%TEMP%\\check.log\""}));
}
