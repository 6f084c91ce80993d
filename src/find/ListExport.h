// The shown list as CSV or JSON text, for scripts.
#pragma once
#include "find/DisplayList.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One shown row: the texts of its columns in column order, Publisher and Signer last, the Location
// as its command line alone; whether its file exists (none when the row names no file), and its
// state in words of no language: "enabled", "disabled" (by Windows too, where it honours its
// switch) or "remove"; its signature's word (SignatureWord), the SHA-256 of its file and the file
// that judges it.
struct ExportRow
{
    std::array<std::wstring, ShownColumnCount> cells;
    std::optional<bool> fileExists;
    std::wstring state, signature, sha256, file;
};
std::vector<ExportRow> ExportRows(const StartupList& list, const ListWords& words,
                                  const FileFactsTable& facts, const DisplayList& display);

// A CSV field: quoted, with quotes doubled, when it holds a comma, a quote or a line break. A
// text a spreadsheet would take for a formula (one that begins with =, +, -, @, a tab or a CR)
// is quoted behind an apostrophe, which makes the spreadsheet show it as text.
std::wstring CsvField(std::wstring_view text);
// The columns of the CSV: the shown ones, File exists, Signature and SHA-256.
inline constexpr int CsvColumnCount = ShownColumnCount + 3;
// A header line, then one line per row; lines end with CR LF. fileExists is "true" or "false",
// empty for a row that names no file.
std::wstring ToCsv(const std::array<std::wstring, CsvColumnCount>& header,
                   const std::vector<ExportRow>& rows);

// A JSON string literal, quotes included.
std::wstring JsonString(std::wstring_view text);
// An array of objects whose keys do not depend on the language: taskName, status, state (the
// state's word), loadFrom, user, when, location, publisher, signer, fileExists (true, false or
// null), then signature, sha256 and file (null where the row names no file). Every text is kept
// exactly.
std::wstring ToJson(const std::vector<ExportRow>& rows);
// The signature's fields of an object, as ToJson writes them: ", \"signature\": ..." on.
std::wstring TrustJson(const std::wstring& signature, const std::wstring& sha256, const std::wstring& file);
