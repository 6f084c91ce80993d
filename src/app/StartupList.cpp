// The list model that the main window's owner-data ListView shows.
#include "app/StartupList.h"

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
    if (position < 1 || position > Count() || column < 1 || column >= ColumnCount) return;
    rows_[static_cast<size_t>(position - 1)][static_cast<size_t>(column)] = std::move(text);
}

bool StartupList::Remove(int position)
{
    if (position < 1 || position > Count()) return false;
    rows_.erase(rows_.begin() + (position - 1));
    if (selected_ == position) selected_ = 0;
    else if (selected_ > position) --selected_;
    return true;
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
