// The services' rows and the words of their start types and states.
#include "model/ServiceList.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

int ServiceList::FindName(const std::wstring& name) const
{
    for (int position = 1; position <= Count(); ++position)
        if (platform::EqualsNoCase(Row(position).name, name))
            return position;
    return 0;
}

int ServiceList::Find(const std::wstring& name) const
{
    if (const int position = FindName(name))
        return position;
    for (int position = 1; position <= Count(); ++position)
        if (platform::EqualsNoCase(Row(position).displayName, name))
            return position;
    return 0;
}

void ServiceList::Clear()
{
    rows_.clear();
    selected_ = 0;
}

EntryState StateOfStart(const platform::ServiceStart& start)
{
    return start.type == SERVICE_DISABLED ? EntryState::Disabled : EntryState::Enabled;
}

namespace
{

std::wstring Word(const keys::KeyText& key, bool english)
{
    return english ? std::wstring(key.text) : LookupText(key);
}

} // namespace

std::wstring StartTypeWord(const platform::ServiceStart& start, bool english)
{
    switch (start.type)
    {
    case SERVICE_AUTO_START:
        return Word(start.delayed ? keys::DelayedStart : keys::AutomaticStart, english);
    case SERVICE_DEMAND_START:
        return Word(keys::ManualStart, english);
    case SERVICE_DISABLED:
        return Word(keys::DisabledStart, english);
    }
    return platform::ToDecimal(start.type);
}

std::wstring ServiceStateWord(DWORD state, bool english)
{
    switch (state)
    {
    case SERVICE_STOPPED:
        return Word(keys::Stopped, english);
    case SERVICE_START_PENDING:
        return Word(keys::Starting, english);
    case SERVICE_STOP_PENDING:
        return Word(keys::Stopping, english);
    case SERVICE_RUNNING:
        return Word(keys::Running, english);
    case SERVICE_CONTINUE_PENDING:
        return Word(keys::Resuming, english);
    case SERVICE_PAUSE_PENDING:
        return Word(keys::Pausing, english);
    case SERVICE_PAUSED:
        return Word(keys::Paused, english);
    }
    return platform::ToDecimal(state);
}
