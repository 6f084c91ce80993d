// Entry files (six lines per row) and the disabled-entry store SaveProf.pro.
#pragma once
#include "model/MainState.h"

#include <windows.h>
#include <string>
#include <vector>

// Every row of the list into records, row 1 into index 0; records must hold at least Count().
void CopyListToRecords(const StartupList& list, std::vector<EntryRecord>& records);

// Writes records 0 to count - 1: six lines each, CR LF after every line, in the ANSI code page,
// or as UTF-8 with a byte-order mark when some text has no ANSI form. The file is replaced only
// when it was written whole. An empty name writes nothing. Returns the system error, if any.
DWORD WriteEntryFile(const std::vector<EntryRecord>& records, const std::wstring& fileName, int count);

struct EntryFileContent {
    std::vector<EntryRecord> records; // every complete record, six lines each, empty lines included
    bool incomplete = false;          // the file ended inside a record, which was dropped
    DWORD error = ERROR_SUCCESS;      // the file could not be read
};
EntryFileContent ReadEntryRecords(const std::wstring& fileName);

std::wstring StorePath();

// Reads the store into StoredEntries and StoreProblem, then appends its entries as disabled rows,
// in this language's words. An entry whose source holds it again (a row with the same Load From,
// Task Name and Location is already listed) is neither listed nor kept.
void LoadDisabledEntries(MainState& state);

// What the store must hold: the list's disabled rows (but those disabled by Windows, which are in
// their sources) in list order, then every stored entry that
// no disabled row stands for and that was not released (written back to its source, or removed
// by the user) by the apply that asks. An entry leaves the store only by being released.
std::vector<EntryRecord> ComposeStore(const StartupList& list, const std::vector<EntryRecord>& stored,
                                      const std::vector<EntryRecord>& released);
// Writes the store, or deletes it when there is nothing to hold. Returns the system error.
DWORD WriteStore(const std::vector<EntryRecord>& records);
// The store composed from the list and written, when it was read whole; StoredEntries follows.
// ERROR_FILE_CORRUPT when it was not read whole and so was left as it was.
DWORD SaveDisabledEntries(MainState& state);
