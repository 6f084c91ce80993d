// Registry run-key scanner.
#include "model/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Text.h"
#include "platform/Places.h"

namespace
{

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// RunOnceEx's subkeys hold the commands Windows runs, one section each: their named text values.
// A section's unnamed value is its title, and a subkey of a section (Depend) no command.
void ListSections(StartupList& list, size_t source, const std::wstring& path)
{
    const StartupSource& place = StartupSources[source];
    for (const std::wstring& section : platform::ReadRegSubkeyNames(place.root, path, place.view))
    {
        platform::UniqueHKey key = platform::OpenRegKey(place.root, path + L"\\" + section, place.view);
        for (const platform::RegValue& value : platform::ReadRegValues(key.get()))
        {
            if (value.name.empty() || !IsText(value.type))
                continue;
            list.Append(
                ScannedEntry(source, section + L"\\" + value.name,
                             platform::RenderRegData(value.type, value.data.data(), value.data.size())));
        }
    }
}

} // namespace

void SetRegRunIntoList(StartupList& list, platform::Reg& reg, size_t source, WindowsSwitches& switches)
{
    const StartupSource& place = StartupSources[source];
    // Names and data come in one enumeration pass; Reg answers ReadValue from it. A row keeps
    // the value's exact name, blanks and all, so that its data is read, and later deleted or
    // written, under that name and no other; the list shows the name trimmed.
    const std::wstring path = platform::RunKeyPath(place.key);
    std::vector<platform::RegValue> values =
        platform::ReadRegValues(platform::OpenRegKey(place.root, path, place.view).get());
    if (values.empty() && !place.sections)
        return;

    std::vector<std::wstring> names;
    for (const platform::RegValue& value : values)
        // A place with sections has settings beside its entries: Flags, Title, numbers. Our own
        // values are no user's entry: the launcher's, disabled into the store, would leave every
        // delayed entry unstarted; the watcher's would start again the day it was enabled.
        if ((!place.sections || (IsText(value.type) && !IsPlaceSetting(place, value.name))) &&
            !platform::IsOwnRunValue(place.root, place.key, place.view, value.name))
            names.push_back(value.name);

    reg.RootKey(place.root);
    reg.View(place.view);
    reg.KeyPath(path);
    reg.ServeReadsFrom(std::move(values));
    for (const std::wstring& name : names)
    {
        reg.ValueName(name);
        StartupEntry row = ScannedEntry(source, name, reg.ReadValue());
        switches.Mark(row, place, name);
        list.Append(std::move(row));
    }
    reg.StopServingReads();
    if (place.sections)
        ListSections(list, source, path);
}
