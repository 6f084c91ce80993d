// Shared by the apply tests: the places of the source table, read back, and a list state to stage on.
#pragma once
#include "model/StartupState.h"
#include "staging/EntryFile.h"
#include "support/Fixtures.h"

#include <windows.h>
#include <string>
#include <vector>

namespace applytest
{

using testsupport::DenyWrites, testsupport::HeldFile, testsupport::RunBase, testsupport::RunKey;

// Where one entry lives, as the program names it and as a test reads it back.
struct Place
{
    std::wstring loadFrom;
    enum Kind
    {
        Registry,
        StartUp,
        WinIni
    } kind;
    HKEY root;         // Registry
    std::wstring name; // run key, or win.ini key
    int csidl;         // StartUp
    // Registry: a 32-bit view's is its Wow6432Node key, where the program's writes through the view land.
    std::wstring path;
    std::wstring approved; // the key of Windows' own switches for its entries, or empty
    HKEY approvedRoot;     // and where it is
};
// Every place the program reads, in the order of its fill, stated here rather than taken from it.
const std::vector<Place>& Places();
const Place& PlaceOf(const std::wstring& loadFrom);

// "<missing>" when the value, shortcut or win.ini key is not there.
std::wstring ReadPlace(const Place& place, const std::wstring& taskName);
void SeedPlace(const Place& place, const std::wstring& taskName, const std::wstring& location);
// Windows' switch for an entry of the place: its bytes, or none.
void SetSwitch(const Place& place, const std::wstring& taskName, const std::vector<BYTE>& bytes);
std::vector<BYTE> Switch(const Place& place, const std::wstring& taskName);

// The entry of a record of English words.
EntryRecord Record(const std::wstring& taskName, const std::wstring& status, const std::wstring& loadFrom,
                   const std::wstring& location);
std::vector<FileRecord> FileRecords(const std::vector<EntryRecord>& entries);
// In the order of their English texts, to compare as sets.
std::vector<FileRecord> Sorted(const std::vector<EntryRecord>& entries);
// The text of a column of the row as the list shows it now.
std::wstring Shown(const EntryRecord& row, int column);
std::vector<EntryRecord> StoredRecords(); // the user's own store's, then the shared one's
std::vector<std::wstring> StoredNames();
// Stages a delay of the row by seconds; the test fails when staging refuses it.
void Delay(StartupState& state, int row, int seconds);

class ApplyTest : public testsupport::RavelinTest
{
  protected:
    // A fresh start: the list as the program fills it from the system and the store.
    StartupState& Start();
    int Position(const std::wstring& taskName) const;
    void Stage(const std::wstring& taskName, EntryState state);
    // One record per row in the row's state; with sameEntries, the row's own entry too.
    void ExpectBaselinePaired(bool sameEntries = true) const;

    std::unique_ptr<StartupState> state;
};

} // namespace applytest
