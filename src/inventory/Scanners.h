// The three scanners that fill the startup list from the system.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "platform/Registry.h"

#include <windows.h>
#include <string>
#include <vector>

// One row per value standing directly in the key of registry source number source (of
// StartupSources); a value Windows has switched off gives a row disabled by Windows, or where
// Windows does not honour its switch, an enabled row that says so.
void SetRegRunIntoList(StartupList& list, platform::Reg& reg, size_t source, WindowsSwitches& switches);

// The "Load" and "Run" values of section "Windows" of win.ini, one row each when not empty.
void LoadWinIniEntries(StartupList& list);
// A value of at most 126 characters; one of fewer than two characters counts as empty.
inline constexpr unsigned long WinIniReadSize = 127;
std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName);

// One row per ordinary file of the user's, then the all-users StartUp folder.
void LoadStartupFolderEntries(StartupList& list, WindowsSwitches& switches);
// Task name of a StartUp folder file: a ".lnk" found after the first character drops the last four.
std::wstring StartupTaskName(const std::wstring& fileName);
