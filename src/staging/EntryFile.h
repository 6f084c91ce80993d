// Entry files: six lines per record, for the store and for profiles.
#pragma once
#include "model/StartupList.h"

#include <windows.h>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One record as a file holds it: six texts in the list's column order. Each kind of entry words
// its rows so; a startup entry's are English, in every language.
using FileRecord = std::array<std::wstring, ColumnCount>;

// Writes the records: six lines each, CR LF after every line, in the ANSI code page, or as UTF-8
// with a byte-order mark when some text has no ANSI form or the ANSI bytes open like a mark. A record with a
// text that does not fit on a line (line breaks, lone surrogates) is written escaped, still on six lines. The
// file is replaced only when it was written whole. An empty name writes nothing. Returns the system error, if
// any.
DWORD WriteEntryFile(const std::vector<FileRecord>& records, const std::wstring& fileName);
// The bytes WriteEntryFile writes.
std::string EntryFileBytes(const std::vector<FileRecord>& records);

// A text on one line and back, as escaped records hold it: a backslash, CR, LF, NUL and any lone
// surrogate as \\, \r, \n and \uXXXX. False when the line is no text written so.
std::wstring EscapeLine(std::wstring_view text);
bool UnescapeLine(std::wstring_view line, std::wstring& text);

struct EntryFileContent
{
    std::vector<FileRecord> records; // every complete record, six lines each, empty lines included
    bool incomplete = false;         // the file ended inside a record, which was dropped
    size_t unreadable = 0;           // escaped records that could not be read, skipped
    bool realigned = false;          // texts an older build wrote over several lines were joined again
    DWORD error = ERROR_SUCCESS;     // the file could not be read
};
EntryFileContent ReadEntryRecords(const std::wstring& fileName);
// The records of an entry file's bytes.
EntryFileContent ParseEntryRecords(const std::string& bytes);

// The words of records in any language, as this and older builds wrote them: the English ones
// and those each pack of the Lang folder gives, which are read at the first need.
class FileWords
{
  public:
    // The source a Load From names; -1 when it names none.
    int Source(const std::wstring& loadFrom);
    // The state a Status word names, a delayed one's with its seconds and order; none when no
    // language has the word.
    std::optional<EntryState> State(const std::wstring& status);

  private:
    void Read();
    std::vector<std::pair<std::wstring, size_t>> sources_;
    std::vector<std::pair<std::wstring, EntryState>> states_;
    bool read_ = false;
};

// A delayed entry's Status as files keep it: its word, its seconds and its order ("Delayed 30 1"). A
// build that knows no such text keeps the record as a disabled entry's, in its place in the file.
std::wstring DelayedStatus(const std::wstring& word, int seconds, int order);
// Splits such a Status into its word, seconds and order; false when it is none.
bool SplitDelayedStatus(const std::wstring& status, std::wstring& word, int& seconds, int& order);

// A startup entry as files keep it: its exact name, the English words of its state and place; a
// place no source of this build is, as it was read.
FileRecord ToFileRecord(const StartupEntry& entry);
// The entry a record stands for; its state from a Status word of any language, and disabled when
// no language has the word (so that nothing is written to the system for it).
StartupEntry FromFileRecord(const FileRecord& record, FileWords& words);
