// Win.ini scanner: the Load and Run values of section Windows.
#include "model/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Places.h"

std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName)
{
    // Through the profile functions: Windows may keep this section in the registry. A buffer of
    // 128 characters read with a size of 127 gives at most 126 of them.
    std::wstring value = platform::ReadProfileValue(section, key, fileName, WinIniReadSize);
    return value.size() >= 2 ? value : std::wstring();
}

void LoadWinIniEntries(StartupList& list)
{
    const std::wstring file = platform::WinIniPath();
    for (size_t source = 0; source < SourceCount; ++source)
    {
        const StartupSource& place = StartupSources[source];
        if (place.kind != SourceKind::WinIni)
            continue;
        const std::wstring value = ReadIniValue(platform::names::WinIniSection, place.key, file);
        // A row is named after its line, "Win.ini Load" or "Win.ini Run", in every language.
        if (!value.empty())
            list.Append(ScannedEntry(source, place.id, value));
    }
}
