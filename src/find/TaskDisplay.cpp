// Cell texts, the display and the export of the scheduled tasks.
#include "find/TaskDisplay.h"
#include "find/ListExport.h"
#include "i18n/Lookup.h"

const FileFacts* FactsOfTask(const TaskList& list, const FileFactsTable& facts, int position)
{
    const std::wstring& command = list.Row(position).command;
    return command.empty() ? nullptr : facts.Find(command);
}

std::wstring TaskCellText(const TaskList& list, const FileFactsTable& facts, int position, int column)
{
    const TaskRow& row = list.Row(position);
    switch (column)
    {
    case TaskNameColumn:
        return row.task.name;
    case TaskStatus:
        return StateWord(row.staged);
    case TaskState:
        return TaskStateWord(row.task.state);
    case TaskStarts:
        return row.problem.empty() && !row.task.error ? TaskStartWords(row.starts) : std::wstring();
    case TaskFolder:
        return row.task.folder;
    case TaskPublisher: {
        const FileFacts* known = FactsOfTask(list, facts, position);
        return known ? known->publisher : std::wstring();
    }
    case TaskSigner:
        return SignerText(FactsOfTask(list, facts, position), facts);
    case TaskCommand:
        if (row.task.error)
            return FormatText(LookupText(keys::TaskUnreadable), {ErrorReasonText(row.task.error)});
        if (!row.problem.empty())
            return FormatText(LookupText(keys::TaskUnreadable), {row.problem});
        return !row.command.empty() || row.handler.empty()
                   ? LocationText(row.command, FactsOfTask(list, facts, position))
                   : FormatText(LookupText(keys::TaskHandler), {row.handler});
    case TaskResult:
        return TaskResultText(row.task);
    }
    return {};
}

namespace
{

// Listed by default: it starts with a logon or the machine, or what it does cannot be read.
bool ListedFirst(const TaskRow& row)
{
    return row.atLogonOrBoot || row.task.error || !row.problem.empty();
}

} // namespace

int UpdateTaskDisplay(DisplayList& display, const TaskList& list, const FileFactsTable& facts, bool all,
                      const TrustHiding& hiding, int* hidden)
{
    int left = 0, trusted = 0;
    display.Update(
        list.Count(), TaskColumnCount,
        [&](int row, int column) { return TaskCellText(list, facts, row, column); },
        [&](int row) {
            if (!all && !ListedFirst(list.Row(row)))
                return ++left, true;
            return HiddenByTrust(hiding, FactsOfTask(list, facts, row), facts) && ++trusted > 0;
        });
    if (hidden)
        *hidden = trusted;
    return left;
}

std::wstring TasksToCsv(const TaskList& list, const FileFactsTable& facts, const DisplayList& display)
{
    std::wstring out;
    for (int column = 0; column < TaskColumnCount; ++column)
        out += CsvField(LookupText(TaskColumnHeaders[column])) + L",";
    out += FileCsvHeader();
    for (int index = 0; index < display.Count(); ++index)
    {
        const int position = display.Position(index);
        for (int column = 0; column < TaskColumnCount; ++column)
            out += CsvField(column == TaskCommand && !list.Row(position).command.empty()
                                ? list.Row(position).command
                                : TaskCellText(list, facts, position, column)) +
                   L",";
        out += FileCsv(FileColumnsOf(FactsOfTask(list, facts, position), facts));
    }
    return out;
}

std::wstring TasksToJson(const TaskList& list, const FileFactsTable& facts, const DisplayList& display)
{
    std::wstring out = L"[";
    for (int index = 0; index < display.Count(); ++index)
    {
        const int position = display.Position(index);
        const TaskRow& row = list.Row(position);
        const FileFacts* known = FactsOfTask(list, facts, position);
        const std::pair<const wchar_t*, std::wstring> fields[] = {
            {L"name", row.task.name},
            {L"path", row.task.path},
            {L"folder", row.task.folder},
            {L"status", ScriptStateWord(row.staged)},
            {L"state", TaskStateWord(row.task.state, true)},
            {L"starts", row.problem.empty() ? TaskStartWords(row.starts, true) : std::wstring()},
            {L"command", !row.command.empty() || row.handler.empty() ? row.command : row.handler},
            {L"publisher", known ? known->publisher : std::wstring()},
            {L"signer", SignerText(known, facts)},
            {L"lastResult", TaskResultText(row.task, true)},
            {L"problem", row.task.error ? ErrorReasonText(row.task.error) : row.problem},
        };
        out += index == 0 ? L"\r\n  {" : L",\r\n  {";
        for (const auto& [key, text] : fields)
            out += JsonString(key) + L": " + JsonString(text) + L", ";
        out += JsonString(L"hidden") + L": " + (row.hidden ? L"true" : L"false") + L", " +
               FileJson(FileColumnsOf(known, facts)) + L"}";
    }
    return out + (display.Count() == 0 ? L"]\r\n" : L"\r\n]\r\n");
}
