// The disabled-entry store SaveProf.pro: the user's own file and the one all users share.
#pragma once
#include "model/StartupState.h"
#include "staging/EntryFile.h"

#include <windows.h>
#include <array>
#include <string>
#include <vector>

// The store is two files: the one in the Windows folder that all users share, for the machine's
// places (and the user's entries older builds kept there), and the user's own, for the entries
// of the user's places. Both are read as one store.
std::wstring StorePath();
std::wstring UserStorePath();
// While one lives, the store's files are where they were first found: an apply reads and writes
// them several times, and under Wine each look for the user's folder is several round trips.
class StoreFilesHeld
{
  public:
    StoreFilesHeld();
    ~StoreFilesHeld();
    StoreFilesHeld(const StoreFilesHeld&) = delete;
    StoreFilesHeld& operator=(const StoreFilesHeld&) = delete;
};
// Where the store is kept as it was when it had to be read realigned.
std::wstring StoreBackupPath();

// Reads the store into Store.Entries and Store.Problem, then appends its entries as disabled rows.
// An entry whose source holds it again (a row of the same place, Task Name and Location is
// already listed) is neither listed nor kept; one whose source holds an
// entry of that name again, written back by its program, is kept but not listed: that row is
// marked alsoStored.
void LoadDisabledEntries(StartupState& state);

// What the store must hold: the list's disabled and delayed rows (but those disabled by Windows,
// which are in their sources) in list order, then every stored entry that no disabled row stands for and that
// was not released (written back to its source, or removed by the user) by the apply that asks.
// The rows of a marked alsoStored that the apply acted on decide for the stored entries of their
// name and place (decided): those go. An entry leaves the store only by being released or decided.
std::vector<EntryRecord> ComposeStore(const StartupList& list, const std::vector<EntryRecord>& stored,
                                      const std::vector<const EntryRecord*>& released,
                                      const std::vector<EntryRecord>& decided = {});
// The same with rows for the list's rows to be held, in list order, each as a disabled one but
// those delayed.
std::vector<EntryRecord> ComposeStore(const std::vector<const EntryRecord*>& rows,
                                      const std::vector<EntryRecord>& stored,
                                      const std::vector<const EntryRecord*>& released,
                                      const std::vector<EntryRecord>& decided = {});
// Writes each store file with its part of records, or deletes it when it has nothing to hold; one
// that holds exactly that already is left untouched. Returns the first system error; written
// receives each file's bytes as the records make them (none for a file deleted or not there).
// held: each file's bytes as read just before under the apply lock, which spares reading them
// again to tell what they hold.
DWORD WriteStore(const std::vector<EntryRecord>& records, std::array<std::string, 2>* written = nullptr,
                 const std::array<std::string, 2>* held = nullptr);
// Run under the apply lock, before an apply composes the store: reads the store again and adds
// to Store.Entries the records other programs wrote since this one last read or wrote it, to be
// kept like its own. False, and nothing changed, when the store cannot be read whole now (or was
// not at the fill): then nothing may rewrite it.
bool TakeStoreChanges(StartupState& state);
// Which store file could not be read whole at the fill, and why, in this language.
std::wstring StoreProblemText(const StartupState& state);
// After the store was written whole with records, as bytes: Store.Entries and Store.AsRead follow.
void RememberStoreWritten(StartupState& state, std::vector<EntryRecord> records,
                          std::array<std::string, 2> bytes);
// The store composed from the list and written, when it was read whole; Store.Entries follows.
// ERROR_FILE_CORRUPT when it was not read whole and so was left as it was.
DWORD SaveDisabledEntries(StartupState& state);
