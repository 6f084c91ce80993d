// The signature judge and its cache file: one line a file, tab-separated, the path last.
#include "find/FileTrust.h"
#include "find/FileFacts.h"
#include "platform/Files.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Text.h"

#include <cwchar>
#include <vector>

namespace
{

constexpr wchar_t CacheHeader[] = L"Brightfold Ravelin signatures 1";
constexpr DWORD CacheLockWait = 2000;
constexpr int CacheFields = 8;

// A signer's name may hold anything; the line holds no tab or line break.
std::wstring OneLine(std::wstring text)
{
    for (wchar_t& c : text)
        if (c < 0x20)
            c = L' ';
    return text;
}

std::wstring EntryLine(const std::wstring& path, const platform::FileStamp& stamp,
                       const platform::Signature& s)
{
    return std::to_wstring(stamp.size) + L'\t' + std::to_wstring(stamp.lastWrite) + L'\t' +
           std::to_wstring(static_cast<int>(s.state)) + L'\t' + std::to_wstring(static_cast<int>(s.problem)) +
           L'\t' + std::to_wstring(static_cast<unsigned long>(s.code)) + L'\t' + (s.catalog ? L"1" : L"0") +
           L'\t' + OneLine(s.signer) + L'\t' + path + L"\r\n";
}

bool Number(const std::wstring& text, unsigned long long limit, unsigned long long& value)
{
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos || text.size() > 20)
        return false;
    value = std::wcstoull(text.c_str(), nullptr, 10);
    return value <= limit;
}

// One entry, or false for a line that is none.
bool ParseLine(std::wstring_view line, CachedSignature& entry)
{
    std::vector<std::wstring> fields;
    for (size_t start = 0; fields.size() + 1 < CacheFields;)
    {
        const size_t tab = line.find(L'\t', start);
        if (tab == std::wstring_view::npos)
            return false;
        fields.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
        if (fields.size() + 1 == CacheFields)
            fields.emplace_back(line.substr(start));
    }
    unsigned long long size, written, state, problem, code, catalog;
    if (!Number(fields[0], ~0ULL, size) || !Number(fields[1], ~0ULL, written) ||
        !Number(fields[2], static_cast<int>(platform::SignatureState::FileMissing) - 1, state) ||
        !Number(fields[3], static_cast<int>(platform::TrustProblem::Other), problem) ||
        !Number(fields[4], 0xFFFFFFFFULL, code) || !Number(fields[5], 1, catalog) || fields[7].empty())
        return false;
    entry.path = fields[7];
    entry.stamp = {size, written};
    entry.signature = {static_cast<platform::SignatureState>(state),
                       static_cast<platform::TrustProblem>(problem),
                       static_cast<LONG>(static_cast<unsigned long>(code)), fields[6], catalog == 1};
    return true;
}

// The entries of a cache file; none for a file that is missing, unreadable or no cache of ours.
CachedSignatures ReadCache(const std::wstring& path)
{
    CachedSignatures entries;
    std::string bytes;
    if (platform::ReadWholeFile(path, bytes) != ERROR_SUCCESS)
        return entries;
    const std::wstring text = platform::WideFromCodePage(CP_UTF8, bytes);
    size_t start = text.find(L"\r\n");
    if (start == std::wstring::npos || text.compare(0, start, CacheHeader) != 0)
        return entries;
    for (start += 2; start < text.size();)
    {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size(); // a line cut short ends the file: it is passed over below if broken
        CachedSignature entry;
        if (ParseLine(std::wstring_view(text).substr(start, end - start), entry))
            entries.insert_or_assign(platform::FoldCase(entry.path), std::move(entry));
        start = end + 2;
    }
    return entries;
}

// Open failures (a file held by another program, a denied read) say nothing of the file itself.
bool WorthKeeping(const platform::Signature& signature)
{
    return signature.state != platform::SignatureState::FileMissing &&
           !(signature.state == platform::SignatureState::NotVerified &&
             HRESULT_FACILITY(signature.code) == FACILITY_WIN32);
}

} // namespace

std::wstring SignatureCachePath()
{
    return platform::UserDataFolder() + platform::names::SignatureCacheFile;
}

TrustJudge::TrustJudge(std::wstring cacheFile) : path_(std::move(cacheFile)) {}

void TrustJudge::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    if (path_.empty())
        path_ = SignatureCachePath();
    entries_ = ReadCache(path_);
}

std::optional<platform::Signature> TrustJudge::Known(const std::wstring& file)
{
    Load();
    platform::FileStamp stamp;
    if (!platform::ReadFileStamp(file, stamp))
        return platform::NoSigner(platform::SignatureState::FileMissing);
    const std::wstring key = platform::FoldCase(file);
    auto found = entries_.find(key);
    if (found == entries_.end())
        return std::nullopt;
    if (found->second.stamp == stamp)
        return found->second.signature;
    // Changed since it was checked: what was found of it then no longer holds.
    changes_.insert_or_assign(key, Change{std::move(found->second), true});
    entries_.erase(found);
    unsaved_ = true;
    return std::nullopt;
}

platform::Signature TrustJudge::Check(const std::wstring& file)
{
    Load();
    platform::FileStamp stamp;
    const bool stamped = platform::ReadFileStamp(file, stamp);
    platform::Signature signature = checker_.Check(file);
    if (stamped && WorthKeeping(signature))
    {
        const std::wstring key = platform::FoldCase(file);
        CachedSignature entry{file, stamp, signature};
        entries_.insert_or_assign(key, entry);
        changes_.insert_or_assign(key, Change{std::move(entry), false});
        unsaved_ = true;
    }
    return signature;
}

DWORD TrustJudge::Save()
{
    Load();
    unsaved_ = false;
    if (changes_.empty())
        return ERROR_SUCCESS;
    // Two programs may save at once: each puts its own answers over what the other wrote.
    const platform::MachineLock lock(platform::names::SignatureCacheLock, CacheLockWait);
    if (!lock.Held())
        return lock.Error();
    CachedSignatures merged = ReadCache(path_);
    for (auto& [key, change] : changes_)
    {
        auto there = merged.find(key);
        if (!change.dropped)
            merged.insert_or_assign(key, change.entry);
        else if (there != merged.end() && there->second.stamp == change.entry.stamp)
            merged.erase(there);
    }
    std::wstring text = std::wstring(CacheHeader) + L"\r\n";
    for (const auto& [key, entry] : merged)
        text += EntryLine(entry.path, entry.stamp, entry.signature);
    const std::wstring folder = path_.substr(0, path_.find_last_of(L'\\'));
    DWORD error = platform::CreateFolderPath(folder);
    if (error == ERROR_SUCCESS)
        error = platform::ReplaceFileAtomically(path_, platform::CodePageFromWide(CP_UTF8, text));
    if (error != ERROR_SUCCESS)
        return error;
    changes_.clear();
    entries_ = std::move(merged);
    return ERROR_SUCCESS;
}

void JudgeFiles(FileFactsTable& table, bool verify)
{
    TrustJudge judge;
    for (const std::wstring& file : table.Files())
    {
        const std::optional<platform::Signature> known = verify ? judge.Check(file) : judge.Known(file);
        if (known)
            table.StoreSignature(file, *known);
        table.StoreSha256(file, platform::FileSha256(file));
    }
    if (verify)
        judge.Save();
}
