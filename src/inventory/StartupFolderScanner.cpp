// StartUp-folder scanner: one row per ordinary file, Location from the shortcut's target.
#include "app/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/Shortcuts.h"

#include <shlobj.h>

std::wstring StartupTaskName(const std::wstring& fileName)
{
    size_t at = fileName.find(L".lnk");
    if (at != std::wstring::npos && at > 0) return fileName.substr(0, fileName.size() - 4);
    return fileName;
}

void LoadStartupFolderEntries(StartupList& list, const SourceNameTable& sourceNames)
{
    struct Folder {
        int csidl;
        const SourceWordKeys& words;
        size_t sourceName;
    };
    const Folder folders[] = {{CSIDL_STARTUP, sourcewords::UserStartUp, 4},
                              {CSIDL_COMMON_STARTUP, sourcewords::Machine, 5}};
    for (const Folder& f : folders) {
        const std::wstring folder = platform::GetSpecialFolderPath(f.csidl);
        if (folder.empty()) continue;
        platform::FolderListing listing = platform::ListFolderFiles(folder);
        if (listing.names.empty()) continue;
        const RowWords words = WordsFor(f.words, sourceNames[f.sourceName]);
        platform::ShortcutReader reader;
        for (const std::wstring& file : listing.names) {
            std::wstring name = StartupTaskName(file);
            int position = list.Append(name);
            // A file that is not a readable shortcut keeps its row with an empty Location,
            // so one broken file does not hide the rest of the folder.
            std::wstring target;
            reader.Read(folder + L"\\" + name + L".lnk", target);
            SetRowColumns(list, position, words, std::move(target));
        }
    }
}
