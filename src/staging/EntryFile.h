// Entry files: six lines per row, for the store and for profiles.
#pragma once
#include "model/MainState.h"

#include <windows.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Every row of the list into records, row 1 into index 0; records must hold at least Count().
void CopyListToRecords(const StartupList& list, std::vector<EntryRecord>& records);

// Writes records 0 to count - 1: six lines each, CR LF after every line, in the ANSI code page,
// or as UTF-8 with a byte-order mark when some text has no ANSI form. A record with a text that
// does not fit on a line (line breaks, lone surrogates) is written escaped, still on six lines.
// The file is replaced only when it was written whole. An empty name writes nothing. Returns the
// system error, if any.
DWORD WriteEntryFile(const std::vector<EntryRecord>& records, const std::wstring& fileName, int count);
// The bytes WriteEntryFile writes.
std::string EntryFileBytes(const std::vector<EntryRecord>& records, int count);
std::string EntryFileBytes(const std::vector<const EntryRecord*>& records);

// A text on one line and back, as escaped records hold it: a backslash, CR, LF, NUL and any lone
// surrogate as \\, \r, \n and \uXXXX. False when the line is no text written so.
std::wstring EscapeLine(std::wstring_view text);
bool UnescapeLine(std::wstring_view line, std::wstring& text);

struct EntryFileContent
{
    std::vector<EntryRecord> records; // every complete record, six lines each, empty lines included
    bool incomplete = false;          // the file ended inside a record, which was dropped
    size_t unreadable = 0;            // escaped records that could not be read, skipped
    bool realigned = false;           // texts an older build wrote over several lines were joined again
    DWORD error = ERROR_SUCCESS;      // the file could not be read
};
EntryFileContent ReadEntryRecords(const std::wstring& fileName);
// The records of an entry file's bytes.
EntryFileContent ParseEntryRecords(const std::string& bytes);

// The source a Load From names in any language: the English identifier or a name a pack of the
// Lang folder gives it, which is read at the first need; -1 when it names none.
class SourceNameReader
{
  public:
    int Find(const std::wstring& loadFrom);

  private:
    std::vector<std::pair<std::wstring, size_t>> known_;
    bool read_ = false;
};
// Records of a file as this language words them: the Disabled word, the Load From of names.
void InThisLanguage(std::vector<EntryRecord>& records, const SourceNameTable& names);
