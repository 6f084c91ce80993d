// Entry files and the disabled-entry store.
#include "staging/EntryStore.h"
#include "model/StartupSource.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Text.h"

#include <string_view>
#include <unordered_map>

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
    if ((content.error = platform::ReadWholeFile(fileName, bytes)) != ERROR_SUCCESS) return content;
    const std::wstring text = platform::DecodeText(bytes);
    const std::vector<std::wstring_view> lines = platform::SplitLines(text);
    // Whole records: an empty line is a field like any other (a key's unnamed value has an empty
    // name). Blank lines after the last record are not a record.
    size_t i = 0;
    for (; i + ColumnCount <= lines.size(); i += ColumnCount) {
        EntryRecord record;
        for (size_t c = 0; c < ColumnCount; ++c) record[c] = std::wstring(lines[i + c]);
        content.records.push_back(std::move(record));
    }
    for (; i < lines.size(); ++i)
        if (!lines[i].empty()) content.incomplete = true;
    return content;
}

std::wstring StorePath()
{
    return platform::GetWindowsFolder() + platform::names::StoreFile;
}

DWORD WriteStore(const std::vector<EntryRecord>& records)
{
    if (records.empty()) {
        DWORD error = platform::RemoveFile(StorePath(), true);
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    return WriteEntryFile(records, StorePath(), static_cast<int>(records.size()));
}

namespace {

// Every name a source has had: the English one and each pack's in the Lang folder.
std::vector<std::pair<std::wstring, size_t>> KnownSourceNames()
{
    std::vector<std::pair<std::wstring, size_t>> known;
    for (size_t i = 0; i < SourceCount; ++i) known.emplace_back(StartupSources[i].id, i);
    const std::wstring folder = platform::LangFolder();
    for (const std::wstring& file : platform::ListFolderFiles(folder).names) {
        if (!platform::EndsWithNoCase(file, L".ini")) continue;
        std::string bytes;
        if (platform::ReadWholeFile(folder + L"\\" + file, bytes) != ERROR_SUCCESS) continue;
        platform::IniFile pack = platform::IniFile::Parse(bytes);
        for (size_t i = 0; i < SourceCount; ++i) {
            if (!StartupSources[i].nameKey) continue;
            std::wstring name(
                platform::TrimStart(pack.GetString(platform::names::PackSection, StartupSources[i].nameKey, L"", 500)));
            if (!name.empty()) known.emplace_back(std::move(name), i);
        }
    }
    return known;
}

// Which entry a row or record stands for, whatever its Status, User or When? words say.
std::wstring EntryKey(const EntryRecord& record)
{
    return record[LoadFrom] + L'\n' + record[TaskName] + L'\n' + record[Location];
}

using KeyCounts = std::unordered_map<std::wstring, int>;

bool TakeKey(KeyCounts& counts, const std::wstring& key)
{
    auto it = counts.find(key);
    if (it == counts.end() || it->second == 0) return false;
    --it->second;
    return true;
}

} // namespace

void LoadDisabledEntries(MainState& state)
{
    state.StoredEntries.clear();
    state.StoreProblem = {};
    EntryFileContent content = ReadEntryRecords(StorePath());
    // No store is no problem; any other failure to read it is.
    if (content.error == ERROR_FILE_NOT_FOUND || content.error == ERROR_PATH_NOT_FOUND) return;
    state.StoreProblem.error = content.error;
    state.StoreProblem.incomplete = content.incomplete;

    KeyCounts listed;
    for (int row = 1; row <= state.List.Count(); ++row) ++listed[EntryKey(state.List.Row(row))];
    const std::wstring disabled = DisabledWord();
    const auto known = KnownSourceNames();
    for (EntryRecord& record : content.records) {
        record[Status] = disabled;
        for (const auto& [name, index] : known)
            if (record[LoadFrom] == name) {
                record[LoadFrom] = state.SourceNames[index];
                break;
            }
        // Written back before the store could be rewritten: its source has it.
        if (TakeKey(listed, EntryKey(record))) continue;
        state.List.AppendRow(record);
        state.StoredEntries.push_back(std::move(record));
    }
}

std::vector<EntryRecord> ComposeStore(const StartupList& list, const std::vector<EntryRecord>& stored,
                                      const std::vector<EntryRecord>& released)
{
    const std::wstring disabled = DisabledWord();
    std::vector<EntryRecord> records;
    KeyCounts listed, gone;
    // An entry Windows switched off is still in its source: the store never holds it.
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Text(row, Status) == disabled && !list.Row(row).disabledByWindows) {
            records.push_back(list.Row(row));
            ++listed[EntryKey(records.back())];
        }
    for (const EntryRecord& record : released) ++gone[EntryKey(record)];
    for (const EntryRecord& record : stored) {
        const std::wstring key = EntryKey(record);
        if (!TakeKey(listed, key) && !TakeKey(gone, key)) records.push_back(record);
    }
    return records;
}

DWORD SaveDisabledEntries(MainState& state)
{
    if (!state.StoreReadWhole()) return ERROR_FILE_CORRUPT;
    std::vector<EntryRecord> records = ComposeStore(state.List, state.StoredEntries, {});
    const DWORD error = WriteStore(records);
    if (error == ERROR_SUCCESS) state.StoredEntries = std::move(records);
    return error;
}
