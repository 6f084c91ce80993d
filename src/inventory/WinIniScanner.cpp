// Win.ini scanner: the Load and Run values of section Windows.
#include "app/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"

std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName)
{
    // Through the profile functions: Windows may keep this section in the registry. A buffer of
    // 128 characters read with a size of 127 gives at most 126 of them.
    std::wstring value = platform::ReadProfileValue(section, key, fileName, WinIniReadSize);
    return value.size() >= 2 ? value : std::wstring();
}

void LoadWinIniEntries(StartupList& list, const SourceNameTable& sourceNames)
{
    const std::wstring file = platform::GetWindowsFolder() + platform::names::WinIniFile;
    const std::wstring load = ReadIniValue(L"Windows", L"Load", file);
    const std::wstring run = ReadIniValue(L"Windows", L"Run", file);
    if (!load.empty())
        SetRowColumns(list, list.Append(L"Win.ini Load"), WordsFor(sourcewords::Machine, sourceNames[6]), load);
    if (!run.empty())
        SetRowColumns(list, list.Append(L"Win.ini Run"), WordsFor(sourcewords::WinIniRun, sourceNames[7]), run);
}
