// CSV and JSON writing of the shown rows.
#include "find/ListExport.h"

#include "platform/Text.h"

#include <cwchar>

namespace
{

constexpr const wchar_t* JsonKeys[ShownColumnCount] = {L"taskName", L"status",   L"loadFrom",  L"user",
                                                       L"when",     L"location", L"publisher", L"signer"};

using CsvFields = std::array<std::wstring, CsvColumnCount>;

std::wstring JsonOrNull(const std::wstring& text)
{
    return text.empty() ? std::wstring(L"null") : JsonString(text);
}

std::wstring CsvLine(const CsvFields& fields)
{
    std::wstring out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i == 0 ? L"" : L",") + CsvField(fields[i]);
    return out + L"\r\n";
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
        const FileFacts* known = FactsOfRow(list, facts, position);
        if (known && known->state != FileFacts::State::NoFile)
        {
            row.fileExists = known->state == FileFacts::State::Found;
            row.file = known->file;
        }
        row.state = ScriptStateWord(list.State(position));
        row.signature = SignatureWord(known, facts);
        row.sha256 = Sha256Text(known, facts);
    }
    return rows;
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

std::wstring ToCsv(const std::array<std::wstring, CsvColumnCount>& header, const std::vector<ExportRow>& rows)
{
    std::wstring out = CsvLine(header);
    for (const ExportRow& row : rows)
    {
        CsvFields fields;
        std::copy(row.cells.begin(), row.cells.end(), fields.begin());
        if (row.fileExists)
            fields[ShownColumnCount] = *row.fileExists ? L"true" : L"false";
        fields[ShownColumnCount + 1] = row.signature;
        fields[ShownColumnCount + 2] = row.sha256;
        out += CsvLine(fields);
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
            out += JsonString(JsonKeys[column]) + L": " +
                   JsonString(rows[i].cells[static_cast<size_t>(column)]) + L", ";
            if (column == Status)
                out += JsonString(L"state") + L": " + JsonString(rows[i].state) + L", ";
        }
        const std::optional<bool>& exists = rows[i].fileExists;
        out += JsonString(L"fileExists") + L": " + (exists ? (*exists ? L"true" : L"false") : L"null") +
               TrustJson(rows[i].signature, rows[i].sha256, rows[i].file) + L"}";
    }
    return out + (rows.empty() ? L"]\r\n" : L"\r\n]\r\n");
}

std::wstring TrustJson(const std::wstring& signature, const std::wstring& sha256, const std::wstring& file)
{
    return L", " + JsonString(L"signature") + L": " + JsonOrNull(signature) + L", " + JsonString(L"sha256") +
           L": " + JsonOrNull(sha256) + L", " + JsonString(L"file") + L": " + JsonOrNull(file);
}
