// Registry run-key scanner.
#include "model/StartupSource.h"
#include "inventory/Scanners.h"
#include "inventory/LogonWatch.h"
#include "platform/Names.h"
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

// The Run value that starts our launcher of delayed entries is no user's entry: disabled into the
// store by mistake, it would leave every delayed entry unstarted with nothing to say why. The
// delayed rows stand for it, and each apply writes or deletes it as they come and go.
bool OurLauncher(const StartupSource& place, const std::wstring& valueName)
{
    return place.view == 0 && std::wstring_view(place.key) == L"Run" &&
           platform::EqualsNoCase(valueName, platform::names::LauncherValue);
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
        // A place with sections has settings beside its entries: Flags, Title, numbers.
        if ((!place.sections || (IsText(value.type) && !IsPlaceSetting(place, value.name))) &&
            !OurLauncher(place, value.name) && !IsLogonWatchValue(place.root, place.key, value.name))
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
