// The list model that the main window's owner-data ListView shows.
#include "model/StartupList.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "model/StatusWords.h"
#include "platform/StartupSwitch.h"
#include "platform/Text.h"

int StartupList::Append(std::wstring taskName)
{
    StartupEntry row;
    row[TaskName] = std::move(taskName);
    rows_.push_back(std::move(row));
    return Count();
}

void StartupList::AppendRow(const StartupEntry& row)
{
    rows_.push_back(row);
}

void StartupList::SetSubItem(int position, int column, std::wstring text)
{
    if (position < 1 || position > Count() || column < 1 || column >= ColumnCount)
        return;
    rows_[static_cast<size_t>(position - 1)][static_cast<size_t>(column)] = std::move(text);
}

void StartupList::SetDisabledByWindows(int position, bool off)
{
    if (position >= 1 && position <= Count())
        rows_[static_cast<size_t>(position - 1)].disabledByWindows = off;
}

void StartupList::SetAlsoStored(int position, bool stored)
{
    if (position >= 1 && position <= Count())
        rows_[static_cast<size_t>(position - 1)].alsoStored = stored;
}

bool StartupList::Remove(int position)
{
    if (position < 1 || position > Count())
        return false;
    rows_.erase(rows_.begin() + (position - 1));
    if (selected_ == position)
        selected_ = 0;
    else if (selected_ > position)
        --selected_;
    return true;
}

void StartupList::RemoveRowsWithStatus(const std::wstring& status, std::vector<StartupEntry>& records)
{
    size_t next = 0;
    int selected = 0;
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        if (rows_[i][Status] == status)
            continue;
        if (static_cast<int>(i) + 1 == selected_)
            selected = static_cast<int>(next) + 1;
        if (next != i)
        {
            rows_[next] = std::move(rows_[i]);
            records[next] = std::move(records[i]);
        }
        ++next;
    }
    rows_.resize(next);
    records.resize(next);
    selected_ = selected;
}

void StartupList::Clear()
{
    rows_.clear();
    selected_ = 0;
}

void StartupList::Select(int position)
{
    selected_ = (position >= 1 && position <= Count()) ? position : 0;
}

std::wstring StartupList::Shown(int position, int column) const
{
    const std::wstring& text = Text(position, column);
    if (column == TaskName)
        return std::wstring(platform::Trim(text));
    if (column == Status && Row(position).disabledByWindows && text == DisabledWord() &&
        !platform::WindowsHonoursStartupSwitch())
        return FormatText(LookupText(keys::DisabledByWindows), {text});
    return text;
}
