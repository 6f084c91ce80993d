// Where the files and keys of the system and of the program are: win.ini, the Lang folder and
// its packs, the run keys and Windows' own switches for them. Each path is made here only.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace platform
{

// The folder of the user's own store, in the user's roaming application data.
std::wstring UserDataFolder();
// Tests play another user of the machine; the program never calls this.
void OverrideUserDataFolder(const std::wstring& folder);
// win.ini in the Windows folder.
std::wstring WinIniPath();
// The Lang folder beside the program, and a file in it.
std::wstring LangFolder();
std::wstring LangFile(std::wstring_view fileName);
// A run key, "Run" or "Policies\Explorer\Run", under Software\Microsoft\Windows\CurrentVersion of
// its root. The path stays the same in either view: the system finds the 32-bit one itself.
std::wstring RunKeyPath(std::wstring_view key);
// Our own values of the Run key of a root (the launcher's, the watcher's), which the list never
// shows: the line one holds (empty when it is not there); its line written as text; its removal,
// where one that is not there is no failure. Return the system error.
std::wstring OwnRunValue(HKEY root, const wchar_t* name);
DWORD SetOwnRunValue(HKEY root, const wchar_t* name, const std::wstring& line);
DWORD DeleteOwnRunValue(HKEY root, const wchar_t* name);
// Whether a value of a run key of a view is one of those: the launcher's in either root's Run key,
// the watcher's in the user's.
bool IsOwnRunValue(HKEY root, std::wstring_view key, REGSAM view, std::wstring_view name);
// Where the registry stores that key in a view: the 32-bit programs' keys under Wow6432Node.
std::wstring StoredRunKeyPath(std::wstring_view key, REGSAM view);
// The subkey of Explorer\StartupApproved that holds Windows' switches, in the user's or the
// machine's registry.
std::wstring ApprovedKeyPath(std::wstring_view subkey);

} // namespace platform
