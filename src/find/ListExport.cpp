// CSV and JSON writing of the shown rows.
#include "find/ListExport.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

#include <cwchar>

namespace
{

constexpr const wchar_t* JsonKeys[ShownColumnCount] = {
    L"taskName", L"status", L"loadFrom", L"user", L"when", L"location", L"publisher", L"signer", L"impact"};

// The figures of a measured entry as CSV fields or JSON numbers: CPU in milliseconds, disk in bytes.
std::wstring Figure(const std::optional<EntryImpact>& impact, bool cpu, const wchar_t* none)
{
    if (!impact || !impact->figures)
        return none;
    return platform::ToDecimal(
        static_cast<long long>(cpu ? impact->figures->cpuMicroseconds / 1000 : impact->figures->diskBytes));
}

std::wstring JsonOrNull(const std::wstring& text)
{
    return text.empty() ? std::wstring(L"null") : JsonString(text);
}

// The characters JSON escapes by a letter, in the order of those letters: " \ b f n r t.
constexpr wchar_t JsonNamedEscapes[] = L"\"\\\b\f\n\r\t";

} // namespace

std::vector<ExportRow> ExportRows(const StartupList& list, const ListWords& words,
                                  const FileFactsTable& facts, const DisplayList& display)
{
    std::vector<ExportRow> rows(static_cast<size_t>(display.Count()));
    for (int index = 0; index < display.Count(); ++index)
    {
        const int position = display.Position(index);
        ExportRow& row = rows[static_cast<size_t>(index)];
        for (int column = 0; column < ShownColumnCount; ++column)
            row.cells[static_cast<size_t>(column)] = CellText(list, words, facts, position, column);
        // Scripts compare command lines: the DLL beside it is the window's.
        row.cells[Location] = list.Row(position).location;
        row.state = ScriptStateWord(list.State(position));
        if (list.State(position) == EntryState::Delayed)
        {
            row.delaySeconds = list.Row(position).delaySeconds;
            row.delayOrder = list.Row(position).delayOrder;
        }
        row.file = FileColumnsOf(FactsOfRow(list, facts, position), facts);
        row.impact = ImpactOfRow(list, facts, position);
    }
    return rows;
}

FileColumns FileColumnsOf(const FileFacts* facts, const FileFactsTable& table)
{
    FileColumns columns{std::nullopt, SignatureWord(facts, table), Sha256Text(facts, table), {}};
    if (facts && facts->state != FileFacts::State::NoFile)
    {
        columns.exists = facts->state == FileFacts::State::Found;
        columns.file = facts->file;
    }
    return columns;
}

std::wstring CsvField(std::wstring_view text)
{
    // Names and commands are chosen by whatever program wrote them: none may become a formula.
    const bool formula =
        !text.empty() && std::wstring_view(L"=+-@\t\r").find(text[0]) != std::wstring_view::npos;
    if (!formula && text.find_first_of(L",\"\r\n") == std::wstring_view::npos)
        return std::wstring(text);
    std::wstring out = formula ? L"\"'" : L"\"";
    for (wchar_t c : text)
    {
        if (c == L'"')
            out += L'"';
        out += c;
    }
    return out + L'"';
}

std::wstring FileCsvHeader()
{
    return CsvField(LookupText(keys::FileExistsHeader)) + L"," + CsvField(LookupText(keys::SignatureHeader)) +
           L"," + CsvField(LookupText(keys::Sha256Header)) + L"\r\n";
}

std::wstring FileCsv(const FileColumns& file)
{
    return (file.exists ? (*file.exists ? L"true" : L"false") : L"") + std::wstring(L",") + file.signature +
           L"," + file.sha256 + L"\r\n";
}

std::wstring ToCsv(const std::vector<ExportRow>& rows)
{
    std::wstring out;
    for (int column = 0; column < ShownColumnCount; ++column)
        out += CsvField(LookupText(keys::ColumnHeaders[column])) + L",";
    out +=
        CsvField(LookupText(keys::CpuTimeHeader)) + L"," + CsvField(LookupText(keys::DiskBytesHeader)) + L",";
    out += FileCsvHeader();
    for (const ExportRow& row : rows)
    {
        for (const std::wstring& cell : row.cells)
            out += CsvField(cell) + L",";
        out += Figure(row.impact, true, L"") + L"," + Figure(row.impact, false, L"") + L",";
        out += FileCsv(row.file);
    }
    return out;
}

std::wstring JsonString(std::wstring_view text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text)
    {
        const wchar_t* named = c ? wcschr(JsonNamedEscapes, c) : nullptr;
        if (named)
        {
            out += L'\\';
            out += L"\"\\bfnrt"[named - JsonNamedEscapes];
        }
        else if (c < 0x20 || c == 0x2028 || c == 0x2029)
        {
            // Control characters, and the two separators that end a line in JavaScript.
            out += L"\\u" + platform::Hex(static_cast<unsigned>(c), 4, true);
        }
        else
        {
            out += c;
        }
    }
    return out + L'"';
}

std::wstring ToJson(const std::vector<ExportRow>& rows)
{
    std::wstring out = L"[";
    for (size_t i = 0; i < rows.size(); ++i)
    {
        out += i == 0 ? L"\r\n  {" : L",\r\n  {";
        for (int column = 0; column < ShownColumnCount; ++column)
        {
            if (column == ImpactColumn)
            {
                const std::optional<EntryImpact>& impact = rows[i].impact;
                out += JsonString(JsonKeys[column]) + L": " +
                       (impact ? JsonString(ScriptImpactWord(impact->impact)) : L"null") + L", " +
                       JsonString(L"cpuMs") + L": " + Figure(impact, true, L"null") + L", " +
                       JsonString(L"diskBytes") + L": " + Figure(impact, false, L"null") + L", ";
                continue;
            }
            out += JsonString(JsonKeys[column]) + L": " +
                   JsonString(rows[i].cells[static_cast<size_t>(column)]) + L", ";
            if (column == Status)
            {
                out += JsonString(L"state") + L": " + JsonString(rows[i].state) + L", ";
                if (rows[i].delayOrder > 0)
                    out += JsonString(L"delaySeconds") + L": " + platform::ToDecimal(rows[i].delaySeconds) +
                           L", " + JsonString(L"delayOrder") + L": " +
                           platform::ToDecimal(rows[i].delayOrder) + L", ";
            }
        }
        out += FileJson(rows[i].file) + L"}";
    }
    return out + (rows.empty() ? L"]\r\n" : L"\r\n]\r\n");
}

std::wstring FileJson(const FileColumns& file)
{
    return JsonString(L"fileExists") + L": " + (file.exists ? (*file.exists ? L"true" : L"false") : L"null") +
           L", " + JsonString(L"signature") + L": " + JsonOrNull(file.signature) + L", " +
           JsonString(L"sha256") + L": " + JsonOrNull(file.sha256) + L", " + JsonString(L"file") + L": " +
           JsonOrNull(file.file);
}
