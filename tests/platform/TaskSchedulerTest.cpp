// The scheduler seam on the system's own scheduler: a tree of task files in System32\Tasks, each
// task listed with its folder, name and bytes, and its Enabled setting changed in its file alone.
#include "inventory/TaskDefinition.h"
#include "platform/Files.h"
#include "platform/Tasks.h"
#include "platform/WriteSteps.h"
#include "support/Fixtures.h"

#include <filesystem>

using namespace platform;
using testsupport::ReadBytes;

namespace
{

const wchar_t* const Fixtures[] = {
    L"Boot Check",       L"Broken",        L"Daily Notes at Logon",    L"Hidden Sync",
    L"Updater Disabled", L"Weather Daily", L"SyncDrive\\Weekly Report"};

std::vector<std::wstring> steps;
UniqueHandle held;

class TaskSchedulerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::filesystem::remove_all(folder, ignored);
        ASSERT_EQ(CreateFolderPath(folder + L"\\SyncDrive"), DWORD(ERROR_SUCCESS));
        for (const wchar_t* name : Fixtures)
            ASSERT_TRUE(CopyFileW((source + name).c_str(), (folder + L"\\" + name).c_str(), FALSE)) << name;
    }
    void TearDown() override
    {
        SetWriteStepHook(nullptr);
        held.reset();
        std::filesystem::remove_all(folder, ignored);
    }
    // Our tasks, each "path|folder|name|state|enabled|origin|error|bytes|reason".
    std::vector<std::wstring> Listed()
    {
        listing = scheduler->List();
        std::vector<std::wstring> rows;
        for (const TaskInfo& t : listing.tasks)
            if (t.path.starts_with(L"\\RavelinTest\\"))
                rows.push_back(t.path + L"|" + t.folder + L"|" + t.name + L"|" + std::to_wstring(t.state) +
                               (t.enabled ? L"|on|" : L"|off|") +
                               (t.origin == TaskOrigin::File ? L"file|" : L"api|") +
                               std::to_wstring(t.error) + L"|" +
                               (t.xml == ReadBytes(source + t.path.substr(13)) ? L"same|" : L"other|") +
                               DescribeTaskFault(ReadTaskDefinition(t.xml).fault));
        return rows;
    }
    TaskInfo Task(const std::wstring& name) const
    {
        for (const TaskInfo& t : listing.tasks)
            if (t.path == L"\\RavelinTest\\" + name)
                return t;
        ADD_FAILURE() << name;
        return {};
    }

    std::error_code ignored;
    const std::wstring source = testsupport::RepoFolder() + L"\\tests\\data\\tasks\\";
    const std::wstring folder = TaskFilesFolder() + L"\\RavelinTest";
    std::unique_ptr<Scheduler> scheduler = SystemScheduler(TaskDefinitionRules());
    TaskListing listing;
};

} // namespace

TEST_F(TaskSchedulerTest, EveryTaskIsListedFromItsFileWhereTheServiceDoesNotEnumerate)
{
    // Wine 8 connects and lists the folders, but enumerating a folder's tasks answers E_NOTIMPL.
    const std::wstring in = L"|\\RavelinTest|", file = L"|file|0|same|";
    const std::vector<std::wstring> expected = {
        L"\\RavelinTest\\Boot Check" + in + L"Boot Check|3|on" + file,
        L"\\RavelinTest\\Broken" + in + L"Broken|0|off" + file +
            L"not a task file: the XML ends inside the element <Enabled> begun at line 9",
        L"\\RavelinTest\\Daily Notes at Logon" + in + L"Daily Notes at Logon|3|on" + file,
        L"\\RavelinTest\\Hidden Sync" + in + L"Hidden Sync|3|on" + file,
        L"\\RavelinTest\\Updater Disabled" + in + L"Updater Disabled|1|off" + file,
        L"\\RavelinTest\\Weather Daily" + in + L"Weather Daily|3|on" + file,
        L"\\RavelinTest\\SyncDrive\\Weekly Report|\\RavelinTest\\SyncDrive|Weekly Report|3|on" + file};
    EXPECT_EQ(Listed(), expected);
    EXPECT_EQ(listing.apiError, DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(listing.folderErrors.empty());
    // A file another program holds is a task with the system's reason; the rest is listed all the same.
    held = MakeUniqueHandle(CreateFileW((folder + L"\\Hidden Sync").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    std::vector<std::wstring> holding = expected;
    holding[3] = L"\\RavelinTest\\Hidden Sync" + in +
                 L"Hidden Sync|0|off|file|32|other|not a task file: the file "
                 L"is empty";
    EXPECT_EQ(Listed(), holding);
}

TEST_F(TaskSchedulerTest, SetEnabledChangesOnlyTheSettingOfTheFileAndKeepsItWholeWhenTheWriteFails)
{
    Listed();
    SetWriteStepHook([](const wchar_t* step) { steps.push_back(step); });
    for (const wchar_t* name : {L"Daily Notes at Logon", L"Weather Daily", L"Updater Disabled"})
    {
        const std::string before = ReadBytes(source + name);
        const TaskInfo task = Task(name);
        for (bool enabled : {!task.enabled, task.enabled})
        {
            steps.clear();
            const TaskSwitch done = scheduler->SetEnabled(task, enabled);
            EXPECT_EQ(done.error, DWORD(ERROR_SUCCESS)) << name;
            EXPECT_EQ(done.through, TaskOrigin::File); // Wine's put_Enabled answers S_OK and changes nothing
            EXPECT_EQ(ReadBytes(folder + L"\\" + name), *WithTaskEnabled(before, enabled)) << name;
            EXPECT_EQ(steps, (std::vector<std::wstring>{L"task enabled", L"replace file"}));
            Listed();
            EXPECT_EQ(Task(name).state, enabled ? TASK_STATE_READY : TASK_STATE_DISABLED);
        }
        EXPECT_EQ(ReadBytes(folder + L"\\" + name), before);
    }
    // A file that is no task is not written; a task without a file says what the service said.
    const TaskInfo broken = Task(L"Broken"), gone = Task(L"Boot Check");
    EXPECT_EQ(scheduler->SetEnabled(broken, false).error, DWORD(ERROR_INVALID_DATA));
    EXPECT_EQ(ReadBytes(folder + L"\\Broken"), ReadBytes(source + L"Broken"));
    ASSERT_TRUE(DeleteFileW((folder + L"\\Boot Check").c_str()));
    EXPECT_EQ(scheduler->SetEnabled(gone, false).error, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(FileExists(folder + L"\\Boot Check"));
    // Another program opens the file at the moment of the write: the write fails, the file is whole.
    SetWriteStepHook([](const wchar_t* step) {
        if (std::wstring(step) == L"replace file")
            held = MakeUniqueHandle(CreateFileW((TaskFilesFolder() + L"\\RavelinTest\\Hidden Sync").c_str(),
                                                GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    });
    const TaskSwitch refused = scheduler->SetEnabled(Task(L"Hidden Sync"), false);
    EXPECT_NE(refused.error, DWORD(ERROR_SUCCESS));
    held.reset();
    EXPECT_EQ(ReadBytes(folder + L"\\Hidden Sync"), ReadBytes(source + L"Hidden Sync"));
    EXPECT_FALSE(FileExists(folder + L"\\Hidden Sync.new"));
}
