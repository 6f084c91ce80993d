// Entry files and the disabled-entry store.
#include "staging/EntryStore.h"
#include "model/StartupSource.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Registry.h"
#include "platform/Text.h"

#include <array>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

void CopyListToRecords(const StartupList& list, std::vector<EntryRecord>& records)
{
    for (int i = 0; i < list.Count() && static_cast<size_t>(i) < records.size(); ++i)
        records[static_cast<size_t>(i)] = list.Row(i + 1);
}

namespace
{

// A record whose six texts each fit on one line is written as six plain lines, as every build has
// written it. Any other is escaped: its first line starts with a NUL, which no text of an entry
// holds, and in each of its lines a backslash, CR, LF, NUL and any lone surrogate are written as
// \\, \r, \n and \uXXXX. So every record takes six lines, whatever its texts hold.
constexpr wchar_t EscapedMark = L'\0';

// A surrogate without its partner, which no byte encoding of the file could carry.
bool LoneSurrogate(std::wstring_view text, size_t i)
{
    if (IS_HIGH_SURROGATE(text[i]))
        return i + 1 >= text.size() || !IS_LOW_SURROGATE(text[i + 1]);
    return IS_LOW_SURROGATE(text[i]) && (i == 0 || !IS_HIGH_SURROGATE(text[i - 1]));
}

bool NeedsEscaping(const EntryRecord& record)
{
    for (const std::wstring& text : record)
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\0' || LoneSurrogate(text, i))
                return true;
    return false;
}

std::wstring Escaped(std::wstring_view text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\\')
            out += L"\\\\";
        else if (c == L'\r')
            out += L"\\r";
        else if (c == L'\n')
            out += L"\\n";
        else if (c != L'\0' && !LoneSurrogate(text, i))
            out += c;
        else
        {
            out += L"\\u" + platform::Hex(static_cast<unsigned>(c), 4);
        }
    }
    return out;
}

// False when the line is not an escaped text this build wrote.
bool Unescape(std::wstring_view line, std::wstring& text)
{
    text.clear();
    for (size_t i = 0; i < line.size(); ++i)
    {
        if (line[i] != L'\\')
        {
            text += line[i];
            continue;
        }
        if (++i == line.size())
            return false;
        if (line[i] == L'\\')
            text += L'\\';
        else if (line[i] == L'r')
            text += L'\r';
        else if (line[i] == L'n')
            text += L'\n';
        else if (line[i] == L'u' && i + 4 < line.size())
        {
            const std::wstring digits(line.substr(i + 1, 4));
            if (digits.find_first_not_of(L"0123456789ABCDEFabcdef") != std::wstring::npos)
                return false;
            text += static_cast<wchar_t>(std::wcstoul(digits.c_str(), nullptr, 16));
            i += 4;
        }
        else
            return false;
    }
    return true;
}

std::string EntryFileBytes(const std::vector<EntryRecord>& records, int count)
{
    std::wstring text;
    for (int i = 0; i < count && static_cast<size_t>(i) < records.size(); ++i)
    {
        const EntryRecord& record = records[static_cast<size_t>(i)];
        const bool escaped = NeedsEscaping(record);
        for (size_t c = 0; c < ColumnCount; ++c)
        {
            if (escaped && c == 0)
                text += EscapedMark;
            text += escaped ? Escaped(record[c]) : record[c];
            text += L"\r\n";
        }
    }
    bool lossless = true;
    std::string bytes = platform::CodePageFromWide(CP_ACP, text, &lossless);
    if (!lossless)
        bytes = "\xEF\xBB\xBF" + platform::CodePageFromWide(CP_UTF8, text);
    return bytes;
}

} // namespace

std::wstring EscapeLine(std::wstring_view text)
{
    return Escaped(text);
}

bool UnescapeLine(std::wstring_view line, std::wstring& text)
{
    return Unescape(line, text);
}

DWORD WriteEntryFile(const std::vector<EntryRecord>& records, const std::wstring& fileName, int count)
{
    if (fileName.empty())
        return ERROR_SUCCESS;
    return platform::ReplaceFileAtomically(fileName, EntryFileBytes(records, count));
}

namespace
{

// Every name a source has had: the English one and each pack's in the Lang folder.
std::vector<std::pair<std::wstring, size_t>> KnownSourceNames()
{
    std::vector<std::pair<std::wstring, size_t>> known;
    for (size_t i = 0; i < SourceCount; ++i)
        known.emplace_back(StartupSources[i].id, i);
    const std::wstring folder = platform::LangFolder();
    for (const std::wstring& file : platform::ListFolderFiles(folder).names)
    {
        if (!platform::EndsWithNoCase(file, L".ini"))
            continue;
        std::string bytes;
        if (platform::ReadWholeFile(folder + L"\\" + file, bytes) != ERROR_SUCCESS)
            continue;
        platform::IniFile pack = platform::IniFile::Parse(bytes);
        for (size_t i = 0; i < SourceCount; ++i)
        {
            if (!StartupSources[i].nameKey)
                continue;
            std::wstring name(platform::TrimStart(
                pack.GetString(platform::names::PackSection, StartupSources[i].nameKey, L"", 500)));
            if (!name.empty())
                known.emplace_back(std::move(name), i);
        }
    }
    return known;
}

// The display text of the exact copy kept of a registry entry, when there is one.
std::optional<std::wstring> CopiedText(int source, const std::wstring& taskName)
{
    platform::RegValue copy;
    platform::Reg reg;
    if (source < 0 || StartupSources[static_cast<size_t>(source)].kind != SourceKind::Registry ||
        ReadExactCopy(StartupSources[static_cast<size_t>(source)], taskName, copy, reg) != ERROR_SUCCESS)
        return std::nullopt;
    return platform::RenderRegData(copy.type, copy.data.data(), copy.data.size());
}

std::wstring JoinLines(const std::vector<std::wstring_view>& lines, size_t first, size_t count,
                       const wchar_t* end)
{
    std::wstring text;
    for (size_t k = 0; k < count; ++k)
        text += (k ? end : L"") + std::wstring(lines[first + k]);
    return text;
}

} // namespace

int SourceNameReader::Find(const std::wstring& loadFrom)
{
    for (size_t i = 0; i < SourceCount; ++i)
        if (loadFrom == StartupSources[i].id)
            return static_cast<int>(i);
    if (!read_)
        known_ = KnownSourceNames();
    read_ = true;
    for (const auto& [name, index] : known_)
        if (loadFrom == name)
            return static_cast<int>(index);
    return -1;
}

EntryFileContent ReadEntryRecords(const std::wstring& fileName)
{
    EntryFileContent content;
    std::string bytes;
    if ((content.error = platform::ReadWholeFile(fileName, bytes)) != ERROR_SUCCESS)
        return content;
    const std::wstring text = platform::DecodeText(bytes);
    const std::vector<std::wstring_view> lines = platform::SplitLines(text);

    // Six lines a record; an empty line is a field like any other (a key's unnamed value has an
    // empty name). Older builds wrote a text with line breaks as lines of their own, which shifts
    // every later record: a record whose Load From names no place, where a later line starts one
    // that does at a distance that is no multiple of six, is taken for such lines. They go back to
    // the text they were cut from: the Task Name of the record after them when an exact copy is
    // kept under that name, otherwise the Location of the record before.
    SourceNameReader sources;
    auto escaped = [&](size_t i) { return !lines[i].empty() && lines[i][0] == EscapedMark; };
    // A service's record of a profile starts a record too, though no startup place has its name.
    auto startsKnown = [&](size_t i) {
        return escaped(i) || lines[i + 2] == platform::names::ServiceLoadFrom ||
               sources.Find(std::wstring(lines[i + 2])) >= 0;
    };
    // The first record start this build knows at or after a line; the search goes on from where
    // the last one ended, so a file of unknown records is read in one pass.
    size_t searchedFrom = 0, found = 0;
    auto nextKnown = [&](size_t from) {
        if (from < searchedFrom || from > found)
            found = from;
        searchedFrom = from;
        while (found + ColumnCount <= lines.size() && !startsKnown(found))
            ++found;
        return found;
    };
    std::wstring namePrefix;
    size_t i = 0;
    while (i + ColumnCount <= lines.size())
    {
        if (!startsKnown(i))
        {
            const size_t next = nextKnown(i + 1);
            const size_t extra = next + ColumnCount <= lines.size() ? (next - i) % ColumnCount : 0;
            if (extra)
            {
                // The first lines may end the record before, the rest begin the next one's name.
                const std::wstring nextName(lines[i + extra]);
                const int nextSource = sources.Find(std::wstring(lines[i + extra + 2]));
                size_t toName = content.records.empty() ? extra : 0;
                for (size_t k = 1; k <= extra && !toName; ++k)
                    for (const wchar_t* end : {L"\r\n", L"\n", L"\r"})
                    {
                        const std::wstring prefix = JoinLines(lines, i + extra - k, k, end) + end;
                        if (!toName && CopiedText(nextSource, prefix + nextName))
                        {
                            namePrefix = prefix;
                            toName = k;
                        }
                    }
                if (toName == extra && content.records.empty())
                    namePrefix = JoinLines(lines, i, extra, L"\r\n") + L"\r\n";
                if (toName < extra)
                    content.records.back()[Location] +=
                        L"\r\n" + JoinLines(lines, i, extra - toName, L"\r\n");
                content.realigned = true;
                i += extra;
                continue;
            }
        }
        EntryRecord record;
        bool readable = true;
        for (size_t c = 0; c < ColumnCount; ++c)
        {
            std::wstring_view line = lines[i + c];
            if (escaped(i))
                readable = Unescape(c == 0 ? line.substr(1) : line, record[c]) && readable;
            else
                record[c] = std::wstring(line);
        }
        record[TaskName] = namePrefix + record[TaskName];
        namePrefix.clear();
        if (readable)
            content.records.push_back(std::move(record));
        else
            ++content.unreadable;
        i += ColumnCount;
    }
    // Lines left after the last record: the rest of its Location when its exact copy says so,
    // otherwise an incomplete record. Blank lines there are not a record.
    size_t left = lines.size() - i;
    while (left && lines[i + left - 1].empty())
        --left;
    if (left && !content.records.empty())
    {
        EntryRecord& last = content.records.back();
        const std::wstring joined = last[Location] + L"\n" + JoinLines(lines, i, left, L"\n");
        const std::optional<std::wstring> copy = CopiedText(sources.Find(last[LoadFrom]), last[TaskName]);
        if (copy && platform::NormalizeLineBreaks(*copy) == platform::NormalizeLineBreaks(joined))
        {
            last[Location] = *copy;
            content.realigned = true;
            left = 0;
        }
    }
    content.incomplete = left > 0;
    return content;
}

std::wstring StorePath()
{
    return platform::GetWindowsFolder() + platform::names::StoreFile;
}

std::wstring UserStorePath()
{
    return platform::UserDataFolder() + platform::names::StoreFile;
}

std::wstring StoreBackupPath()
{
    return platform::GetWindowsFolder() + platform::names::StoreBackupFile;
}

namespace
{

bool Missing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool ReadWhole(const EntryFileContent& content)
{
    return content.error == ERROR_SUCCESS && !content.incomplete && content.unreadable == 0;
}

// The user's own store, then the one all users share. Read in this order, the entry the user
// disabled last comes before an older build's record of the same name and place in the shared
// one, as one file lists the rows disabled last first: the first is listed, the others wait.
struct StoreFile
{
    std::wstring path;
    bool shared;
};
std::array<StoreFile, 2> StoreFiles()
{
    return {{{UserStorePath(), false}, {StorePath(), true}}};
}

// Each store file as read, its records marked with the file they came from; a file that is not
// there holds nothing.
std::vector<EntryFileContent> ReadStoreFiles()
{
    std::vector<EntryFileContent> files;
    for (const StoreFile& file : StoreFiles())
    {
        EntryFileContent& content = files.emplace_back(ReadEntryRecords(file.path));
        if (Missing(content.error))
            content = {};
        for (EntryRecord& record : content.records)
            record.sharedStore = file.shared;
    }
    return files;
}

// The part of records that one store file keeps: the user's own places' entries go to the user's
// store, unless they were read from the shared one; every other entry to the shared one.
std::vector<EntryRecord> KeptIn(const StoreFile& file, const std::vector<EntryRecord>& records)
{
    SourceNameReader sources;
    std::vector<EntryRecord> part;
    for (const EntryRecord& record : records)
    {
        const int index = sources.Find(record[LoadFrom]);
        const bool shared =
            record.sharedStore || index < 0 || !OfTheUser(StartupSources[static_cast<size_t>(index)]);
        if (shared == file.shared)
            part.push_back(record);
    }
    return part;
}

// A file that holds this already is not touched: a user who may not write the Windows folder can
// still apply what leaves the shared store as it is.
DWORD WriteStoreFile(const StoreFile& file, const std::vector<EntryRecord>& records)
{
    const std::string bytes = EntryFileBytes(records, static_cast<int>(records.size()));
    std::string held;
    const DWORD read = platform::ReadWholeFile(file.path, held);
    if ((read == ERROR_SUCCESS && held == bytes) || (Missing(read) && records.empty()))
        return ERROR_SUCCESS;
    if (records.empty())
    {
        const DWORD error = platform::RemoveFile(file.path, true);
        return Missing(error) ? ERROR_SUCCESS : error;
    }
    if (!file.shared)
        if (const DWORD error = platform::CreateFolderPath(platform::UserDataFolder()))
            return error;
    return platform::ReplaceFileAtomically(file.path, bytes);
}

} // namespace

DWORD WriteStore(const std::vector<EntryRecord>& records)
{
    DWORD first = ERROR_SUCCESS;
    for (const StoreFile& file : StoreFiles())
        if (const DWORD error = WriteStoreFile(file, KeptIn(file, records)); error && !first)
            first = error;
    return first;
}

namespace
{

// The place an entry takes in its source: a registry key holds one value of a name and a folder one
// file, whatever the case of the name, as Windows compares names.
std::wstring SlotKey(const EntryRecord& record)
{
    return record[LoadFrom] + L'\n' + platform::FoldCase(record[TaskName]);
}

// Which entry a row or record stands for, whatever its Status, User or When? words say.
std::wstring EntryKey(const EntryRecord& record)
{
    return SlotKey(record) + L'\n' + record[Location];
}

using KeyCounts = std::unordered_map<std::wstring, int>;

bool TakeKey(KeyCounts& counts, const std::wstring& key)
{
    auto it = counts.find(key);
    if (it == counts.end() || it->second == 0)
        return false;
    --it->second;
    return true;
}

} // namespace

void InThisLanguage(std::vector<EntryRecord>& records, const SourceNameTable& names)
{
    const std::wstring disabled = DisabledWord();
    SourceNameReader sources;
    for (EntryRecord& record : records)
    {
        record[Status] = disabled;
        if (const int index = sources.Find(record[LoadFrom]); index >= 0)
            record[LoadFrom] = names[static_cast<size_t>(index)];
    }
}

void LoadDisabledEntries(MainState& state)
{
    state.StoredEntries.clear();
    state.StoreAsRead.clear();
    state.StoreProblem = {};
    state.StoreRealigned = false;
    EntryFileContent content;
    const std::vector<EntryFileContent> files = ReadStoreFiles();
    for (size_t f = 0; f < files.size(); ++f)
    {
        const EntryFileContent& file = files[f];
        // No store is no problem; any other failure to read one is, and the first is told.
        if (!ReadWhole(file) && state.StoreReadWhole())
        {
            state.StoreProblem = {file.error, file.incomplete, file.unreadable, StoreFiles()[f].path};
        }
        content.records.insert(content.records.end(), file.records.begin(), file.records.end());
        content.realigned = content.realigned || file.realigned;
    }
    // A store an older build wrote with texts over several lines is read back realigned, and kept
    // as it was beside the store before anything rewrites it. Older builds wrote the shared one only.
    if (files[1].realigned && state.StoreReadWhole() && !platform::FileExists(StoreBackupPath()))
    {
        std::string bytes;
        DWORD error = platform::ReadWholeFile(StorePath(), bytes);
        if (error == ERROR_SUCCESS)
            error = platform::ReplaceFileAtomically(StoreBackupPath(), bytes);
        state.StoreProblem.error = error;
        state.StoreProblem.path = StoreBackupPath();
    }
    state.StoreRealigned = content.realigned;

    KeyCounts listed;
    std::unordered_map<std::wstring, std::vector<int>> slots;
    for (int row = 1; row <= state.List.Count(); ++row)
    {
        ++listed[EntryKey(state.List.Row(row))];
        slots[SlotKey(state.List.Row(row))].push_back(row);
    }
    InThisLanguage(content.records, state.SourceNames);
    state.StoreAsRead = content.records;
    for (EntryRecord& record : content.records)
    {
        // Written back before the store could be rewritten: its source has it.
        if (TakeKey(listed, EntryKey(record)))
            continue;
        // Its program wrote it back, perhaps changed, or the store holds an entry of that name and
        // place already: one row, the first, and the record kept until that row is acted on.
        if (auto slot = slots.find(SlotKey(record)); slot != slots.end())
        {
            for (int row : slot->second)
                state.List.SetAlsoStored(row, true);
            state.StoredEntries.push_back(std::move(record));
            continue;
        }
        state.List.AppendRow(record);
        slots[SlotKey(record)].push_back(state.List.Count());
        state.StoredEntries.push_back(std::move(record));
    }
}

std::vector<EntryRecord> ComposeStore(const StartupList& list, const std::vector<EntryRecord>& stored,
                                      const std::vector<EntryRecord>& released,
                                      const std::vector<EntryRecord>& decided)
{
    const std::wstring disabled = DisabledWord();
    std::vector<EntryRecord> records;
    KeyCounts listed, gone;
    // An entry Windows switched off is still in its source: the store never holds it.
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Text(row, Status) == disabled && !list.Row(row).disabledByWindows)
        {
            records.push_back(list.Row(row));
            ++listed[EntryKey(records.back())];
        }
    for (const EntryRecord& record : released)
        ++gone[EntryKey(record)];
    std::unordered_set<std::wstring> decidedSlots;
    for (const EntryRecord& record : decided)
        decidedSlots.insert(SlotKey(record));
    const size_t rows = records.size();
    for (const EntryRecord& record : stored)
    {
        const std::wstring key = EntryKey(record);
        if (!TakeKey(listed, key) && !TakeKey(gone, key) && !decidedSlots.contains(SlotKey(record)))
            records.push_back(record);
    }
    // What the rows of a decided name and place stood for is theirs alone now.
    for (size_t k = 0; k < rows; ++k)
        records[k].alsoStored = false;
    return records;
}

bool TakeStoreChanges(MainState& state)
{
    if (!state.StoreReadWhole())
        return false;
    EntryFileContent content;
    for (const EntryFileContent& file : ReadStoreFiles())
    {
        if (!ReadWhole(file))
            return false;
        content.records.insert(content.records.end(), file.records.begin(), file.records.end());
    }
    InThisLanguage(content.records, state.SourceNames);
    // Written by another program since: kept like this program's own. Those this program holds
    // stay too, even when another released them: a record too many costs a row, one too few loses.
    KeyCounts before;
    for (const EntryRecord& record : state.StoreAsRead)
        ++before[EntryKey(record)];
    std::vector<EntryRecord> merged = std::move(state.StoredEntries);
    for (const EntryRecord& record : content.records)
        if (!TakeKey(before, EntryKey(record)))
            merged.push_back(record);
    state.StoredEntries = std::move(merged);
    state.StoreAsRead = std::move(content.records);
    return true;
}

void RememberStoreWritten(MainState& state, std::vector<EntryRecord> records)
{
    state.StoreAsRead = records;
    InThisLanguage(state.StoreAsRead, state.SourceNames);
    state.StoredEntries = std::move(records);
}

DWORD SaveDisabledEntries(MainState& state)
{
    if (!state.StoreReadWhole())
        return ERROR_FILE_CORRUPT;
    std::vector<EntryRecord> records = ComposeStore(state.List, state.StoredEntries, {});
    const DWORD error = WriteStore(records);
    if (error == ERROR_SUCCESS)
        RememberStoreWritten(state, std::move(records));
    return error;
}

std::wstring StoreProblemText(const MainState& state)
{
    const auto& problem = state.StoreProblem;
    const std::wstring reason =
        problem.error != ERROR_SUCCESS ? ErrorReasonText(problem.error)
        : problem.incomplete           ? LookupText(keys::StoreEndsInsideEntry)
                                       : FormatText(LookupText(keys::StoreUnreadableEntries),
                                                    {platform::ToDecimal(static_cast<long long>(problem.unreadable))});
    return FormatText(LookupText(keys::StoreNotRead), {problem.path, reason});
}
