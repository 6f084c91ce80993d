// StartUp-folder scanner: one row per ordinary file, Location from the shortcut's target.
#include "model/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/Shortcuts.h"

std::wstring StartupTaskName(const std::wstring& fileName)
{
    size_t at = fileName.find(L".lnk");
    if (at != std::wstring::npos && at > 0)
        return fileName.substr(0, fileName.size() - 4);
    return fileName;
}

void LoadStartupFolderEntries(StartupList& list, WindowsSwitches& switches)
{
    for (size_t source = 0; source < SourceCount; ++source)
    {
        const StartupSource& place = StartupSources[source];
        if (place.kind != SourceKind::StartUp)
            continue;
        const std::wstring folder = platform::GetSpecialFolderPath(place.csidl);
        if (folder.empty())
            continue;
        platform::FolderListing listing = platform::ListFolderFiles(folder);
        if (listing.names.empty())
            continue;
        platform::ShortcutReader reader;
        for (const std::wstring& file : listing.names)
        {
            std::wstring name = StartupTaskName(file);
            // A file that is not a readable shortcut keeps its row with an empty Location,
            // so one broken file does not hide the rest of the folder.
            std::wstring target;
            reader.Read(folder + L"\\" + name + L".lnk", target);
            StartupEntry row = ScannedEntry(source, std::move(name), std::move(target));
            switches.Mark(row, place, file);
            list.Append(std::move(row));
        }
    }
}
