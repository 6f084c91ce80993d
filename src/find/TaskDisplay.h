// What the scheduled tasks' view shows: its columns and cell texts, which tasks show in which
// order, and the shown tasks for scripts.
#pragma once
#include "find/DisplayList.h"
#include "find/FileFacts.h"
#include "i18n/Keys.h"
#include "model/TaskList.h"

#include <optional>
#include <string>
#include <vector>

enum TaskColumn
{
    TaskNameColumn = 0,
    TaskStatus,
    TaskState,
    TaskStarts,
    TaskFolder,
    TaskPublisher,
    TaskSigner,
    TaskCommand,
    TaskResult,
    TaskColumnCount
};
inline constexpr keys::KeyText TaskColumnHeaders[TaskColumnCount] = {
    keys::ScheduledTaskHeader, keys::StatusHeader,      keys::StateHeader,
    keys::TaskStartsHeader,    keys::TaskFolderHeader,  keys::PublisherHeader,
    keys::SignerHeader,        keys::TaskCommandHeader, keys::TaskResultHeader};

// The facts of the task's program file; null while they are not known, or it starts none.
const FileFacts* FactsOfTask(const TaskList& list, const FileFactsTable& facts, int position);
// A task whose definition cannot be read says why in its Command cell.
std::wstring TaskCellText(const TaskList& list, const FileFactsTable& facts, int position, int column);

// Works out which tasks show, in which order; without all, only those that start at log on or
// boot, and those whose definition cannot be read. Returns how many that leaves out, and in
// hidden how many of the rest the boxes hide.
int UpdateTaskDisplay(DisplayList& display, const TaskList& list, const FileFactsTable& facts, bool all,
                      const TrustHiding& hiding = {}, int* hidden = nullptr);

// The shown tasks as CSV (a header line of the view's columns, File exists, Signature and SHA-256;
// the Command without the DLL beside it) or as JSON: an array of objects with the keys name, path,
// folder, status, state, starts, command, publisher, signer, lastResult, problem, hidden,
// fileExists (true, false or null), signature, sha256 and file, whose words are English, as scripts
// read them in every language.
std::wstring TasksToCsv(const TaskList& list, const FileFactsTable& facts, const DisplayList& display);
std::wstring TasksToJson(const TaskList& list, const FileFactsTable& facts, const DisplayList& display);
