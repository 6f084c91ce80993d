// The list model that the main window's owner-data ListView shows.
#include "model/StartupList.h"

bool StartupEntry::operator==(const StartupEntry& other) const
{
    if (state != other.state || source != other.source || name != other.name || location != other.location)
        return false;
    if (state == EntryState::Delayed &&
        (delaySeconds != other.delaySeconds || delayOrder != other.delayOrder))
        return false;
    if (!unknownPlace || !other.unknownPlace)
        return !unknownPlace == !other.unknownPlace;
    return *unknownPlace == *other.unknownPlace;
}

int StartupList::Append(StartupEntry row)
{
    rows_.push_back(std::move(row));
    return Count();
}

void StartupList::SetState(int position, EntryState state)
{
    if (position >= 1 && position <= Count())
        rows_[static_cast<size_t>(position - 1)].state = state;
}

void StartupList::SetDelay(int position, int seconds, int order)
{
    if (position >= 1 && position <= Count())
    {
        rows_[static_cast<size_t>(position - 1)].delaySeconds = seconds;
        rows_[static_cast<size_t>(position - 1)].delayOrder = order;
    }
}

void StartupList::SetLauncherMissing(int position, bool missing)
{
    if (position >= 1 && position <= Count())
        rows_[static_cast<size_t>(position - 1)].launcherMissing = missing;
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

void StartupList::RemoveRowsIn(EntryState state, std::vector<StartupEntry>& records)
{
    size_t next = 0;
    int selected = 0;
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        if (rows_[i].state == state)
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
