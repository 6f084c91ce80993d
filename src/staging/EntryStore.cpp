// Entry files and the disabled-entry store.
#include "staging/EntryStore.h"
#include "app/StartupSource.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Text.h"

#include <string_view>

void CopyListToRecords(const StartupList& list, std::vector<EntryRecord>& records)
{
    for (int i = 0; i < list.Count() && static_cast<size_t>(i) < records.size(); ++i)
        records[static_cast<size_t>(i)] = list.Row(i + 1);
}

DWORD WriteEntryFile(const std::vector<EntryRecord>& records, const std::wstring& fileName, int count)
{
    if (fileName.empty()) return ERROR_SUCCESS;
    std::wstring text;
    for (int i = 0; i < count && static_cast<size_t>(i) < records.size(); ++i)
        for (const std::wstring& field : records[static_cast<size_t>(i)]) {
            text += field;
            text += L"\r\n";
        }
    bool lossless = true;
    std::string bytes = platform::CodePageFromWide(CP_ACP, text, &lossless);
    if (!lossless) bytes = "\xEF\xBB\xBF" + platform::CodePageFromWide(CP_UTF8, text);
    return platform::ReplaceFileAtomically(fileName, bytes);
}

EntryFileContent ReadEntryRecords(const std::wstring& fileName)
{
    EntryFileContent content;
    std::string bytes;
    if (!platform::ReadWholeFile(fileName, bytes, &content.error)) return content;
    std::wstring text = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0
                            ? platform::WideFromCodePage(CP_UTF8, std::string_view(bytes).substr(3))
                            : platform::WideFromCodePage(CP_ACP, bytes);

    // Lines end at CR LF, LF or CR; a last line without an end still counts.
    std::vector<std::wstring_view> lines;
    std::wstring_view rest(text);
    while (!rest.empty()) {
        size_t end = rest.find_first_of(L"\r\n");
        lines.push_back(rest.substr(0, end));
        if (end == std::wstring_view::npos) break;
        size_t next = end + 1;
        if (rest[end] == L'\r' && next < rest.size() && rest[next] == L'\n') ++next;
        rest.remove_prefix(next);
    }
    for (size_t i = 0; i < lines.size() && !lines[i].empty(); i += ColumnCount) {
        if (i + ColumnCount > lines.size()) {
            content.incomplete = true;
            break;
        }
        EntryRecord record;
        for (size_t c = 0; c < ColumnCount; ++c) record[c] = std::wstring(lines[i + c]);
        content.records.push_back(std::move(record));
    }
    return content;
}

EntryFileContent ReadEntryFile(StartupList& list, const std::wstring& fileName)
{
    EntryFileContent content = ReadEntryRecords(fileName);
    for (const EntryRecord& record : content.records) list.AppendRow(record);
    return content;
}

std::wstring StorePath()
{
    return platform::GetWindowsFolder() + platform::names::StoreFile;
}

std::vector<EntryRecord> DisabledRecords(const StartupList& list)
{
    const std::wstring disabled = DisabledWord();
    std::vector<EntryRecord> records;
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Text(row, Status) == disabled) records.push_back(list.Row(row));
    return records;
}

DWORD WriteStore(const std::vector<EntryRecord>& disabledRecords)
{
    if (disabledRecords.empty()) {
        DWORD error = platform::RemoveFile(StorePath(), true);
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    return WriteEntryFile(disabledRecords, StorePath(), static_cast<int>(disabledRecords.size()));
}

DWORD SaveDisabledEntries(const StartupList& list)
{
    return WriteStore(DisabledRecords(list));
}

namespace {

// Every name a source has had: the English one and each pack's in the Lang folder.
std::vector<std::pair<std::wstring, size_t>> KnownSourceNames()
{
    std::vector<std::pair<std::wstring, size_t>> known;
    for (size_t i = 0; i < 8; ++i) known.emplace_back(keys::SourceNames[i].text, i);
    const std::wstring folder = platform::ProgramFolder() + L"\\Lang";
    for (const std::wstring& file : platform::ListFolderFiles(folder).names) {
        if (!platform::EndsWithNoCase(file, L".ini")) continue;
        std::string bytes;
        if (!platform::ReadWholeFile(folder + L"\\" + file, bytes, nullptr)) continue;
        platform::IniFile pack = platform::IniFile::Parse(bytes);
        for (size_t i = 0; i < 8; ++i) {
            std::wstring name = platform::TrimLeadingBlanks(
                pack.GetString(platform::names::PackSection, keys::SourceNames[i].key, L"", 500));
            if (!name.empty()) known.emplace_back(std::move(name), i);
        }
    }
    return known;
}

} // namespace

std::vector<EntryRecord> StoredEntriesForLanguage(const SourceNameTable& sourceNames)
{
    if (!platform::FileExists(StorePath())) return {};
    std::vector<EntryRecord> records = ReadEntryRecords(StorePath()).records;
    if (records.empty()) return records;
    const std::wstring disabled = DisabledWord();
    const auto known = KnownSourceNames();
    for (EntryRecord& record : records) {
        record[Status] = disabled;
        for (const auto& [name, index] : known)
            if (record[LoadFrom] == name) {
                record[LoadFrom] = sourceNames[index];
                break;
            }
    }
    return records;
}

void LoadDisabledEntries(StartupList& list, const SourceNameTable& sourceNames)
{
    for (const EntryRecord& record : StoredEntriesForLanguage(sourceNames)) list.AppendRow(record);
}
