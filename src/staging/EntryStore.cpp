// The disabled-entry store: the user's own file and the one all users share, read as one.
#include "staging/EntryStore.h"
#include "model/StartupSource.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Text.h"

#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>

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
constexpr size_t SharedFile = 1; // its place in StoreFiles
struct HeldFiles
{
    int depth = 0;
    std::optional<std::array<StoreFile, 2>> files;
};
HeldFiles& Held()
{
    static HeldFiles held;
    return held;
}
std::array<StoreFile, 2> StoreFiles()
{
    HeldFiles& held = Held();
    if (held.depth > 0 && held.files)
        return *held.files;
    std::array<StoreFile, 2> files{{{UserStorePath(), false}, {StorePath(), true}}};
    if (held.depth > 0)
        held.files = files;
    return files;
}

// Each store file's bytes: none when it is not there. The error of each that is there but could
// not be read.
std::array<DWORD, 2> ReadStoreBytes(std::array<std::string, 2>& bytes)
{
    std::array<DWORD, 2> errors{};
    const std::array<StoreFile, 2> files = StoreFiles();
    for (size_t f = 0; f < files.size(); ++f)
        if (errors[f] = platform::ReadWholeFile(files[f].path, bytes[f]); platform::IsMissing(errors[f]))
            errors[f] = ERROR_SUCCESS;
    return errors;
}

// The entries of one store file's bytes, disabled or delayed, marked with the file they came from.
struct StoreContent
{
    std::vector<EntryRecord> records;
    EntryFileContent file; // its records moved into records
};
StoreContent StoreFileContent(const std::string& bytes, size_t file, FileWords& words)
{
    StoreContent content{{}, ParseEntryRecords(bytes)};
    content.records.reserve(content.file.records.size());
    for (const FileRecord& record : content.file.records)
    {
        EntryRecord& entry = content.records.emplace_back(FromFileRecord(record, words));
        // Out of its place, whatever other word a record holds; a delayed one waits for the launcher.
        if (entry.state != EntryState::Delayed)
            entry.state = EntryState::Disabled;
        entry.sharedStore = file == SharedFile;
    }
    content.file.records.clear();
    return content;
}

// The part of records that one store file keeps: the user's own places' entries go to the user's
// store, unless they were read from the shared one; every other entry to the shared one.
// Both parts in one pass, in the order of StoreFiles.
std::array<std::vector<const EntryRecord*>, 2> KeptIn(const std::vector<EntryRecord>& records)
{
    std::array<std::vector<const EntryRecord*>, 2> parts;
    for (const EntryRecord& record : records)
    {
        const bool shared = record.sharedStore || record.source < 0 ||
                            !OfTheUser(StartupSources[static_cast<size_t>(record.source)]);
        parts[shared ? SharedFile : 0].push_back(&record);
    }
    return parts;
}

// A file that holds this already is not touched: a user who may not write the Windows folder can
// still apply what leaves the shared store as it is. bytes: what it is to hold, none for nothing;
// held: what it holds, when known, else it is read.
DWORD WriteStoreFile(const StoreFile& file, const std::string& bytes, const std::string* held)
{
    std::string now; // a file that is not there holds nothing
    if (!held)
        if (const DWORD read = platform::ReadWholeFile(file.path, now); !read || platform::IsMissing(read))
            held = &now;
    if (held && *held == bytes)
        return ERROR_SUCCESS;
    if (bytes.empty())
    {
        const DWORD error = platform::RemoveFile(file.path, true);
        return platform::IsMissing(error) ? ERROR_SUCCESS : error;
    }
    if (!file.shared)
        if (const DWORD error = platform::CreateFolderPath(platform::UserDataFolder()))
            return error;
    return platform::ReplaceFileAtomically(file.path, bytes);
}

} // namespace

StoreFilesHeld::StoreFilesHeld()
{
    ++Held().depth;
}

StoreFilesHeld::~StoreFilesHeld()
{
    if (HeldFiles& held = Held(); --held.depth == 0)
        held.files.reset();
}

DWORD WriteStore(const std::vector<EntryRecord>& records, std::array<std::string, 2>* written,
                 const std::array<std::string, 2>* held)
{
    DWORD first = ERROR_SUCCESS;
    const std::array<StoreFile, 2> files = StoreFiles();
    const std::array<std::vector<const EntryRecord*>, 2> parts = KeptIn(records);
    for (size_t f = 0; f < files.size(); ++f)
    {
        std::vector<FileRecord> kept;
        kept.reserve(parts[f].size());
        for (const EntryRecord* record : parts[f])
            kept.push_back(ToFileRecord(*record));
        std::string bytes = EntryFileBytes(kept);
        if (const DWORD error = WriteStoreFile(files[f], bytes, held ? &(*held)[f] : nullptr);
            error && !first)
            first = error;
        if (written)
            (*written)[f] = std::move(bytes);
    }
    return first;
}

namespace
{

// The place and the name folded, then with location the Location: built in one piece, since the
// store is composed from thousands of them. A place no source is goes by its text.
std::wstring RecordKey(const EntryRecord& record, bool location)
{
    const std::wstring &name = record.name, &where = record.location;
    const std::wstring* from = record.unknownPlace ? &(*record.unknownPlace)[0] : nullptr;
    std::wstring key;
    key.reserve((from ? from->size() : 0) + name.size() + (location ? where.size() + 3 : 2));
    key.append(1, static_cast<wchar_t>(L'A' + record.source + 1));
    if (from)
        key.append(*from);
    key.append(1, L'\n');
    platform::AppendFoldedCase(key, name);
    if (location)
        key.append(1, L'\n').append(where);
    return key;
}

// The place an entry takes in its source: a registry key holds one value of a name and a folder one
// file, whatever the case of the name, as Windows compares names.
std::wstring SlotKey(const EntryRecord& record)
{
    return RecordKey(record, false);
}

// Which entry a row or record stands for, whatever its Status, User or When? words say.
std::wstring EntryKey(const EntryRecord& record)
{
    return RecordKey(record, true);
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

// Marks in drop, of the stored records not marked yet, the first of each entry once for each of
// by that stands for it. Most often they come in the same order (a store composed from these
// rows before), and are taken one by one without keys while they do: the same ones go.
void DropStoodFor(const std::vector<const EntryRecord*>& by, const std::vector<EntryRecord>& stored,
                  std::vector<bool>& drop)
{
    size_t b = 0, s = 0;
    for (; b < by.size() && s < stored.size(); ++s)
    {
        if (drop[s])
            continue;
        const EntryRecord &row = *by[b], &record = stored[s];
        if (row.source != record.source || row.name != record.name || row.location != record.location ||
            !record.unknownPlace != !row.unknownPlace ||
            (row.unknownPlace && (*row.unknownPlace)[0] != (*record.unknownPlace)[0]))
            break;
        drop[s] = true;
        ++b;
    }
    if (b == by.size() || s == stored.size())
        return;
    KeyCounts counts;
    for (; b < by.size(); ++b)
        ++counts[EntryKey(*by[b])];
    for (; s < stored.size(); ++s)
        if (!drop[s] && TakeKey(counts, EntryKey(stored[s])))
            drop[s] = true;
}

// The row of those in its slot that stands for a delayed record its program wrote back: delayed.
void MarkWrittenBack(StartupList& list, const std::vector<int>& slot, const EntryRecord& record)
{
    const std::wstring key = EntryKey(record);
    for (int row : slot)
        if (list.State(row) != EntryState::Delayed && EntryKey(list.Row(row)) == key)
        {
            list.SetState(row, EntryState::Delayed);
            list.SetDelay(row, record.delaySeconds, record.delayOrder);
            return;
        }
}

} // namespace

void LoadDisabledEntries(StartupState& state)
{
    state.Store.Entries.clear();
    state.Store.Problem = {};
    state.Store.Realigned = false;
    std::vector<EntryRecord> records;
    bool realigned = false, sharedRealigned = false;
    FileWords words;
    const std::array<DWORD, 2> errors = ReadStoreBytes(state.Store.AsRead);
    for (size_t f = 0; f < errors.size(); ++f)
    {
        StoreContent content;
        if (errors[f])
            content.file.error = errors[f];
        else
            content = StoreFileContent(state.Store.AsRead[f], f, words);
        const EntryFileContent& file = content.file;
        // No store is no problem; any other failure to read one is, and the first is told.
        if (!ReadWhole(file) && state.Store.ReadWhole())
        {
            state.Store.Problem = {file.error, file.incomplete, file.unreadable, StoreFiles()[f].path};
        }
        records.insert(records.end(), std::make_move_iterator(content.records.begin()),
                       std::make_move_iterator(content.records.end()));
        realigned = realigned || file.realigned;
        if (f == SharedFile)
            sharedRealigned = file.realigned;
    }
    // A store an older build wrote with texts over several lines is read back realigned, and kept
    // as it was beside the store before anything rewrites it. Older builds wrote the shared one only.
    if (sharedRealigned && state.Store.ReadWhole() && !platform::FileExists(StoreBackupPath()))
    {
        std::string bytes;
        DWORD error = platform::ReadWholeFile(StorePath(), bytes);
        if (error == ERROR_SUCCESS)
            error = platform::ReplaceFileAtomically(StoreBackupPath(), bytes);
        state.Store.Problem.error = error;
        state.Store.Problem.path = StoreBackupPath();
    }
    state.Store.Realigned = realigned;

    KeyCounts listed;
    std::unordered_map<std::wstring, std::vector<int>> slots;
    for (int row = 1; row <= state.List.Count(); ++row)
    {
        ++listed[EntryKey(state.List.Row(row))];
        slots[SlotKey(state.List.Row(row))].push_back(row);
    }
    for (EntryRecord& record : records)
    {
        if (TakeKey(listed, EntryKey(record)))
        {
            // A disabled entry its source has again was written back before the store could be
            // rewritten (an undelay's is stored as disabled until then). A delayed one was written
            // back by its program: still delayed, one row, and the launcher takes it out again.
            if (record.state == EntryState::Delayed)
            {
                MarkWrittenBack(state.List, slots[SlotKey(record)], record);
                state.Store.Entries.push_back(std::move(record));
            }
            continue;
        }
        // Its program wrote it back, perhaps changed, or the store holds an entry of that name and
        // place already: one row, the first, and the record kept until that row is acted on.
        if (auto slot = slots.find(SlotKey(record)); slot != slots.end())
        {
            for (int row : slot->second)
                state.List.SetAlsoStored(row, true);
            state.Store.Entries.push_back(std::move(record));
            continue;
        }
        state.List.AppendRow(record);
        slots[SlotKey(record)].push_back(state.List.Count());
        state.Store.Entries.push_back(std::move(record));
    }
}

std::vector<EntryRecord> ComposeStore(const StartupList& list, const std::vector<EntryRecord>& stored,
                                      const std::vector<const EntryRecord*>& released,
                                      const std::vector<EntryRecord>& decided)
{
    std::vector<const EntryRecord*> rows;
    // An entry Windows switched off is still in its source: the store never holds it.
    for (int row = 1; row <= list.Count(); ++row)
        if (KeptInStore(list.State(row)) && !list.Row(row).disabledByWindows)
            rows.push_back(&list.Row(row));
    return ComposeStore(rows, stored, released, decided);
}

std::vector<EntryRecord> ComposeStore(const std::vector<const EntryRecord*>& rows,
                                      const std::vector<EntryRecord>& stored,
                                      const std::vector<const EntryRecord*>& released,
                                      const std::vector<EntryRecord>& decided)
{
    std::vector<EntryRecord> records;
    records.reserve(rows.size() + stored.size());
    for (const EntryRecord* row : rows)
    {
        records.push_back(*row);
        if (row->state != EntryState::Delayed)
            records.back().state = EntryState::Disabled;
        // What the rows of a decided name and place stood for is theirs alone now.
        records.back().alsoStored = false;
    }
    // The stored entries that rows stand for, then those released.
    std::vector<bool> drop(stored.size());
    DropStoodFor(rows, stored, drop);
    DropStoodFor(released, stored, drop);
    std::unordered_set<std::wstring> decidedSlots;
    for (const EntryRecord& record : decided)
        decidedSlots.insert(SlotKey(record));
    for (size_t s = 0; s < stored.size(); ++s)
        if (!drop[s] && (decidedSlots.empty() || !decidedSlots.contains(SlotKey(stored[s]))))
            records.push_back(stored[s]);
    return records;
}

bool TakeStoreChanges(StartupState& state)
{
    if (!state.Store.ReadWhole())
        return false;
    std::array<std::string, 2> now;
    if (const std::array<DWORD, 2> errors = ReadStoreBytes(now); errors[0] || errors[1])
        return false;
    // The files hold what this program last read or wrote: nothing new, and nothing to parse.
    if (now == state.Store.AsRead)
        return true;
    std::vector<EntryRecord> records, before;
    FileWords words;
    for (size_t f = 0; f < now.size(); ++f)
    {
        StoreContent file = StoreFileContent(now[f], f, words);
        if (!ReadWhole(file.file))
            return false;
        records.insert(records.end(), file.records.begin(), file.records.end());
        StoreContent earlier = StoreFileContent(state.Store.AsRead[f], f, words);
        before.insert(before.end(), earlier.records.begin(), earlier.records.end());
    }
    // Written by another program since: kept like this program's own. Those this program holds
    // stay too, even when another released them: a record too many costs a row, one too few loses.
    KeyCounts known;
    for (const EntryRecord& record : before)
        ++known[EntryKey(record)];
    for (const EntryRecord& record : records)
        if (!TakeKey(known, EntryKey(record)))
            state.Store.Entries.push_back(record);
    state.Store.AsRead = std::move(now);
    return true;
}

void RememberStoreWritten(StartupState& state, std::vector<EntryRecord> records,
                          std::array<std::string, 2> bytes)
{
    state.Store.AsRead = std::move(bytes);
    state.Store.Entries = std::move(records);
}

DWORD SaveDisabledEntries(StartupState& state)
{
    if (!state.Store.ReadWhole())
        return ERROR_FILE_CORRUPT;
    std::vector<EntryRecord> records = ComposeStore(state.List, state.Store.Entries, {});
    std::array<std::string, 2> bytes;
    const DWORD error = WriteStore(records, &bytes);
    if (error == ERROR_SUCCESS)
        RememberStoreWritten(state, std::move(records), std::move(bytes));
    return error;
}

std::wstring StoreProblemText(const StartupState& state)
{
    const auto& problem = state.Store.Problem;
    const std::wstring reason =
        problem.error != ERROR_SUCCESS ? ErrorReasonText(problem.error)
        : problem.incomplete           ? LookupText(keys::StoreEndsInsideEntry)
                                       : FormatText(LookupText(keys::StoreUnreadableEntries),
                                                    {platform::ToDecimal(static_cast<long long>(problem.unreadable))});
    return FormatText(LookupText(keys::StoreNotRead), {problem.path, reason});
}
