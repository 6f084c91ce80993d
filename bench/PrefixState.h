// What the benchmarks find in their prefix: every place a startup entry can stand, emptied
// before a benchmark sets up its own entries, whatever ran in the prefix before it.
#pragma once
#include <windows.h>

#include <string>

namespace bench
{

// Every place a startup entry can stand, as the system has it; the benchmarks' own list, so that
// the program's source table is measured, not trusted.
struct Place
{
    HKEY root; // nullptr: a StartUp folder (csidl) or a win.ini key (iniKey)
    const wchar_t* key;
    REGSAM view;
    const wchar_t* approved; // Windows' flag subkey, or nullptr
    int csidl;
    const wchar_t* iniKey;
    HKEY approvedRoot = nullptr; // where the flag subkey is: the user's places' or the machine's
};
extern const Place AllPlaces[14];
extern const std::wstring RunKeyBase;

// Empties every place and Windows' flags for them, and removes the disabled-entry store with its
// exact copies.
void ResetPrefixState();

} // namespace bench
