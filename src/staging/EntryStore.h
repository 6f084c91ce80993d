// Entry files (six lines per row) and the disabled-entry store SaveProf.pro.
#pragma once
#include "app/StartupList.h"
#include "i18n/Lookup.h"

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
    std::vector<EntryRecord> records; // complete records, up to an empty line where one would begin
    bool incomplete = false;          // the file ended inside a record, which was dropped
    DWORD error = ERROR_SUCCESS;      // the file could not be read
};
EntryFileContent ReadEntryRecords(const std::wstring& fileName);
// Appends one row per complete record of the file to the list.
EntryFileContent ReadEntryFile(StartupList& list, const std::wstring& fileName);

std::wstring StorePath();
// Rewrites the store from the rows whose Status is the Disabled word, or deletes it when none is.
DWORD SaveDisabledEntries(const StartupList& list);
// Its two halves: the rows to keep, and the store written with them (or deleted when empty).
std::vector<EntryRecord> DisabledRecords(const StartupList& list);
DWORD WriteStore(const std::vector<EntryRecord>& disabledRecords);
// The store's rows for the current language: Status the Disabled word of now, and a Load From
// that names a source in any pack, or in English, becomes this language's name for it.
std::vector<EntryRecord> StoredEntriesForLanguage(const SourceNameTable& sourceNames);
// Appends the store's rows to the list.
void LoadDisabledEntries(StartupList& list, const SourceNameTable& sourceNames);
