// Win.ini scanner: the Load and Run values of section Windows.
#include "app/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Files.h"
#include "platform/Names.h"

std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName)
{
    // Through the profile functions: Windows may keep this section in the registry.
    wchar_t buffer[128] = {};
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, 127, fileName.c_str());
    return n >= 2 ? std::wstring(buffer, n) : std::wstring();
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
