// The task scheduler: every task of every folder, hidden ones too, and the switch of one task's
// Enabled setting, through the scheduler's API or, where that does not answer, the task files.
#pragma once
#include <windows.h>
#include <taskschd.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

// Where a task's answer came from: the scheduler's API, or its file under System32\Tasks.
enum class TaskOrigin
{
    Api,
    File
};

struct TaskInfo
{
    std::wstring path;   // "\\Folder\\Name" as the scheduler names it; "\\Name" in the root folder
    std::wstring folder; // "\\Folder", "\\" for the root
    std::wstring name;
    // The definition: a file's own bytes, or the API's text as UTF-16LE after a byte-order mark.
    std::string xml;
    TASK_STATE state = TASK_STATE_UNKNOWN; // from a file: READY or DISABLED by its Enabled setting
    bool enabled = false;                  // false too when not known (state UNKNOWN)
    std::optional<SYSTEMTIME> lastRun;     // local time; empty when it never ran or is not known
    std::optional<HRESULT> lastResult;     // SCHED_S_TASK_HAS_NOT_RUN before a first run; empty: unknown
    TaskOrigin origin = TaskOrigin::Api;
    DWORD error = ERROR_SUCCESS; // its definition could not be read (system error or HRESULT); xml empty
};

struct TaskFolderError
{
    std::wstring folder; // "\\Folder"
    DWORD error;         // neither the API nor the file system could list its tasks or subfolders
};

struct TaskListing
{
    std::vector<TaskInfo> tasks;
    std::vector<TaskFolderError> folderErrors; // the folders that could not be listed; the rest was
    DWORD apiError = ERROR_SUCCESS;            // the API could not be asked at all: everything from files
};

struct TaskSwitch
{
    DWORD error = ERROR_SUCCESS;          // ERROR_SUCCESS when the task now has the setting asked for
    TaskOrigin through = TaskOrigin::Api; // which way made (or last tried) the change
};

// What the scheduler needs of a definition's text, given by the layer that reads definitions.
struct TaskXmlRules
{
    // The Enabled setting of a definition's bytes; empty when they are no readable task.
    std::function<std::optional<bool>(std::string_view xml)> enabled;
    // The bytes with only the Enabled setting changed; empty when they are no readable task.
    std::function<std::optional<std::string>(std::string_view xml, bool enabled)> withEnabled;
};

// The seam: the program asks the scheduler only through this, so tests can stand in for it.
class Scheduler
{
  public:
    virtual ~Scheduler() = default;
    // Every task of every folder, hidden ones included; never fails as a whole.
    virtual TaskListing List() = 0;
    // Sets a task's Enabled flag: through the API, checked by reading it back; a task read from its
    // file (the API could not list it) in its file when the API does not take the change.
    virtual TaskSwitch SetEnabled(const TaskInfo& task, bool enabled) = 0;
};

// The system's scheduler; COM must be initialised on the calling thread, as the entry points do.
std::unique_ptr<Scheduler> SystemScheduler(TaskXmlRules rules);

// The folder of the task files, %windir%\System32\Tasks.
std::wstring TaskFilesFolder();

} // namespace platform
