// The scheduled tasks' rows: each task as the scheduler or its file gave it, with what its
// definition says and the state the user staged for it; the words of their triggers and states.
#pragma once
#include "model/EntryState.h"
#include "platform/Tasks.h"

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

// When a task starts, by its triggers.
enum class TaskStart : unsigned char
{
    Logon,
    Boot,
    Daily,
    Weekly,
    Monthly,
    Once,
    Idle,
    Event,
    Registration,
    Session,
    Other
};

struct TaskRow
{
    platform::TaskInfo task;
    EntryState staged = EntryState::Enabled; // the state the user staged for it
    // What its definition says; none of it when the definition could not be read (problem says why).
    std::vector<TaskStart> starts; // its enabled triggers, in the definition's order
    bool atLogonOrBoot = false;    // listed where only the tasks of a logon are
    bool hidden = false;
    std::wstring command; // its first program action's command line, quoted where it needs it
    std::wstring handler; // or the class of its handler when it has no program action
    // Why its definition could not be read: the reader's words, in English; or task.error.
    std::wstring problem;
};

class TaskList
{
  public:
    int Count() const { return static_cast<int>(rows_.size()); }
    void Append(TaskRow row) { rows_.push_back(std::move(row)); }
    const TaskRow& Row(int position) const { return rows_[static_cast<size_t>(position - 1)]; }
    TaskRow& Row(int position) { return rows_[static_cast<size_t>(position - 1)]; }
    // The position of the task of that path, else of the only task of that name, without regard to
    // case and to a missing leading backslash; 0 when none, or several tasks have the name.
    int Find(const std::wstring& pathOrName) const;
    void Clear();

    // 0 when no row is selected.
    int Selected() const { return selected_; }
    void Select(int position) { selected_ = position >= 1 && position <= Count() ? position : 0; }

  private:
    std::vector<TaskRow> rows_;
    int selected_ = 0;
};

// The state its Enabled flag gives a task: disabled, or enabled.
EntryState StateOfTask(const platform::TaskInfo& task);
// "At log on", "Daily"...; "Ready", "Disabled", "Running"...; the last run's result. In the current
// language, or in English for scripts.
std::wstring TaskStartWords(const std::vector<TaskStart>& starts, bool english = false);
std::wstring TaskStateWord(TASK_STATE state, bool english = false);
std::wstring TaskResultText(const platform::TaskInfo& task, bool english = false);

struct TasksState
{
    TaskList List;
    bool Loaded = false;
    // The folders that could not be listed, and whether the scheduler could not be asked at all.
    std::vector<platform::TaskFolderError> FolderErrors;
    DWORD SchedulerError = ERROR_SUCCESS;
    RowButtons Buttons;
};
