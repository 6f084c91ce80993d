// Entry files: six lines a record, escaped where a text does not fit on a line.
#include "staging/EntryFile.h"
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

bool NeedsEscaping(const FileRecord& record)
{
    for (const std::wstring& text : record)
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\0' || LoneSurrogate(text, i))
                return true;
    return false;
}

} // namespace

std::wstring EscapeLine(std::wstring_view text)
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

bool UnescapeLine(std::wstring_view line, std::wstring& text)
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

std::string EntryFileBytes(const std::vector<FileRecord>& records)
{
    size_t length = 0;
    for (const FileRecord& record : records)
        for (const std::wstring& text : record)
            length += text.size() + 2;
    std::wstring text;
    text.reserve(length + 1);
    for (const FileRecord& record : records)
    {
        const bool escaped = NeedsEscaping(record);
        for (size_t c = 0; c < ColumnCount; ++c)
        {
            if (escaped && c == 0)
                text += EscapedMark;
            text += escaped ? EscapeLine(record[c]) : record[c];
            text += L"\r\n";
        }
    }
    bool lossless = true;
    std::string bytes = platform::CodePageFromWide(CP_ACP, text, &lossless);
    if (!lossless || platform::OpensWithByteOrderMark(bytes))
        bytes = "\xEF\xBB\xBF" + platform::CodePageFromWide(CP_UTF8, text);
    return bytes;
}

DWORD WriteEntryFile(const std::vector<FileRecord>& records, const std::wstring& fileName)
{
    if (fileName.empty())
        return ERROR_SUCCESS;
    return platform::ReplaceFileAtomically(fileName, EntryFileBytes(records));
}

namespace
{

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

void FileWords::Read()
{
    read_ = true;
    const std::wstring folder = platform::LangFolder();
    for (const std::wstring& file : platform::ListFolderFiles(folder).names)
    {
        if (!platform::EndsWithNoCase(file, L".ini"))
            continue;
        std::string bytes;
        if (platform::ReadWholeFile(folder + L"\\" + file, bytes) != ERROR_SUCCESS)
            continue;
        const platform::IniFile pack = platform::IniFile::Parse(bytes);
        auto text = [&](const wchar_t* key) {
            return std::wstring(
                platform::TrimStart(pack.GetString(platform::names::PackSection, key, L"", 500)));
        };
        for (size_t i = 0; i < SourceCount; ++i)
            if (StartupSources[i].nameKey)
                if (std::wstring name = text(StartupSources[i].nameKey); !name.empty())
                    sources_.emplace_back(std::move(name), i);
        for (size_t i = 0; i < StateCount; ++i)
            if (std::wstring word = text(StateKey(static_cast<EntryState>(i)).key); !word.empty())
                states_.emplace_back(std::move(word), static_cast<EntryState>(i));
    }
}

int FileWords::Source(const std::wstring& loadFrom)
{
    for (size_t i = 0; i < SourceCount; ++i)
        if (loadFrom == StartupSources[i].id)
            return static_cast<int>(i);
    if (!read_)
        Read();
    for (const auto& [name, index] : sources_)
        if (loadFrom == name)
            return static_cast<int>(index);
    return -1;
}

std::wstring DelayedStatus(const std::wstring& word, int seconds, int order)
{
    return word + L" " + platform::ToDecimal(seconds) + L" " + platform::ToDecimal(order);
}

bool SplitDelayedStatus(const std::wstring& status, std::wstring& word, int& seconds, int& order)
{
    const size_t last = status.rfind(L' ');
    if (last == std::wstring::npos || last == 0)
        return false;
    const size_t middle = status.rfind(L' ', last - 1);
    if (middle == std::wstring::npos || middle == 0)
        return false;
    const std::wstring_view text(status);
    if (!ParseCount(text.substr(middle + 1, last - middle - 1), MaxDelaySeconds, seconds) ||
        !ParseCount(text.substr(last + 1), MaxDelayOrder, order))
        return false;
    word = status.substr(0, middle);
    return true;
}

std::optional<EntryState> FileWords::State(const std::wstring& status)
{
    std::wstring word;
    int seconds = 0, order = 0;
    if (SplitDelayedStatus(status, word, seconds, order))
        return State(word) == EntryState::Delayed ? std::optional(EntryState::Delayed) : std::nullopt;
    for (size_t i = 0; i < StateCount; ++i)
        if (status == StateKey(static_cast<EntryState>(i)).text)
            return static_cast<EntryState>(i);
    if (!read_)
        Read();
    for (const auto& [word, state] : states_)
        if (status == word)
            return state;
    return std::nullopt;
}

FileRecord ToFileRecord(const StartupEntry& entry)
{
    static const ListWords english = LoadListWords(true);
    FileRecord record;
    record[TaskName] = entry.name;
    for (int column = Status; column < ColumnCount; ++column)
        record[static_cast<size_t>(column)] = RowText(entry, column, english);
    // Windows' switch is this program's to know: the file says the state.
    record[Status] = english.states[static_cast<size_t>(entry.state)];
    if (entry.state == EntryState::Delayed)
        record[Status] = DelayedStatus(record[Status], entry.delaySeconds, entry.delayOrder);
    return record;
}

StartupEntry FromFileRecord(const FileRecord& record, FileWords& words)
{
    StartupEntry entry;
    entry.name = record[TaskName];
    entry.location = record[Location];
    entry.state = words.State(record[Status]).value_or(EntryState::Disabled);
    std::wstring word;
    // A Delayed without its seconds and order (no build writes one) keeps the default delay.
    if (entry.state == EntryState::Delayed &&
        !SplitDelayedStatus(record[Status], word, entry.delaySeconds, entry.delayOrder))
        entry.delaySeconds = DefaultDelaySeconds, entry.delayOrder = 1;
    entry.source = words.Source(record[LoadFrom]);
    if (entry.source < 0)
        entry.unknownPlace = std::make_shared<const std::array<std::wstring, 3>>(
            std::array{record[LoadFrom], record[User], record[When]});
    return entry;
}

EntryFileContent ReadEntryRecords(const std::wstring& fileName)
{
    std::string bytes;
    if (const DWORD error = platform::ReadWholeFile(fileName, bytes))
    {
        EntryFileContent content;
        content.error = error;
        return content;
    }
    return ParseEntryRecords(bytes);
}

EntryFileContent ParseEntryRecords(const std::string& bytes)
{
    EntryFileContent content;
    const std::wstring text = platform::DecodeText(bytes);
    const std::vector<std::wstring_view> lines = platform::SplitLines(text);

    // Six lines a record; an empty line is a field like any other (a key's unnamed value has an
    // empty name). Older builds wrote a text with line breaks as lines of their own, which shifts
    // every later record: a record that names neither a place nor a state, and is not followed by
    // one that does, where a later line starts one that names a place at a distance that is no
    // multiple of six, is taken for such lines. (A newer build's place comes with a state word or
    // before a record of this build's, so its texts may name places: they never shift what
    // follows.) They go back to
    // the text they were cut from: the Task Name of the record after them when an exact copy is
    // kept under that name, otherwise the Location of the record before.
    FileWords sources;
    auto escaped = [&](size_t i) { return !lines[i].empty() && lines[i][0] == EscapedMark; };
    // A service's record of a profile starts a record too, though no startup place has its name.
    auto startsKnown = [&](size_t i) {
        return escaped(i) || lines[i + 2] == platform::names::ServiceLoadFrom ||
               sources.Source(std::wstring(lines[i + 2])) >= 0;
    };
    auto plausible = [&](size_t i) {
        return startsKnown(i) || sources.State(std::wstring(lines[i + Status])).has_value();
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
        if (!plausible(i) && (i + 2 * ColumnCount > lines.size() || !plausible(i + ColumnCount)))
        {
            const size_t next = nextKnown(i + 1);
            const size_t extra = next + ColumnCount <= lines.size() ? (next - i) % ColumnCount : 0;
            if (extra)
            {
                // The first lines may end the record before, the rest begin the next one's name.
                const std::wstring nextName(lines[i + extra]);
                const int nextSource = sources.Source(std::wstring(lines[i + extra + 2]));
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
        FileRecord record;
        bool readable = true;
        for (size_t c = 0; c < ColumnCount; ++c)
        {
            std::wstring_view line = lines[i + c];
            if (escaped(i))
                readable = UnescapeLine(c == 0 ? line.substr(1) : line, record[c]) && readable;
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
        FileRecord& last = content.records.back();
        const std::wstring joined = last[Location] + L"\n" + JoinLines(lines, i, left, L"\n");
        const std::optional<std::wstring> copy = CopiedText(sources.Source(last[LoadFrom]), last[TaskName]);
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
