// The shown list as CSV or JSON text, for scripts.
#pragma once
#include "find/DisplayList.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What every kind's list says of an entry's file, last in each row: whether it exists (none when
// the entry names no file), its signature's word (SignatureWord), its SHA-256, and the file that
// judges the entry.
struct FileColumns
{
    std::optional<bool> exists;
    std::wstring signature, sha256, file;
};
FileColumns FileColumnsOf(const FileFacts* facts, const FileFactsTable& table);

// One shown row: the texts of its columns in column order, Publisher and Signer last, the Location
// as its command line alone; its state in words of no language: "enabled", "disabled" (by Windows
// too, where it honours its switch), "remove" or "delayed"; and its file's columns.
struct ExportRow
{
    std::array<std::wstring, ShownColumnCount> cells;
    std::wstring state;
    // Of a delayed row: its seconds and order; 0 for any other.
    int delaySeconds = 0, delayOrder = 0;
    FileColumns file;
    std::optional<EntryImpact> impact; // none where the file facts were not asked for
};
std::vector<ExportRow> ExportRows(const StartupList& list, const ListWords& words,
                                  const FileFactsTable& facts, const DisplayList& display);

// A CSV field: quoted, with quotes doubled, when it holds a comma, a quote or a line break. A
// text a spreadsheet would take for a formula (one that begins with =, +, -, @, a tab or a CR)
// is quoted behind an apostrophe, which makes the spreadsheet show it as text.
std::wstring CsvField(std::wstring_view text);
// The end of a CSV line of every kind, CR LF included: the headers File exists, Signature and
// SHA-256 in the pack's words; a row's values of them ("true" or "false", empty for no file).
std::wstring FileCsvHeader();
std::wstring FileCsv(const FileColumns& file);
// A header line of the shown columns, CPU time and disk bytes (empty where not measured), and the file's,
// then one line per row; lines end with CR LF.
std::wstring ToCsv(const std::vector<ExportRow>& rows);

// A JSON string literal, quotes included.
std::wstring JsonString(std::wstring_view text);
// An array of objects whose keys do not depend on the language: taskName, status, state (the
// state's word; a delayed row's with delaySeconds and delayOrder), loadFrom, user, when, location,
// publisher, signer, impact (ScriptImpactWord), cpuMs and diskBytes (numbers, null where not
// measured), fileExists (true, false or null), then signature, sha256 and file (null where the row
// names no file). Every text is kept exactly.
std::wstring ToJson(const std::vector<ExportRow>& rows);
// The file's fields of an object as every kind writes them, last: "\"fileExists\": ..." on.
std::wstring FileJson(const FileColumns& file);
