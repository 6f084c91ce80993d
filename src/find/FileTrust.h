// Judging files' signatures: each file checked once while it stays as it was (same size, same last
// write), the answers kept across starts in a cache file of the user's.
#pragma once
#include "platform/Signatures.h"

#include <optional>
#include <string>
#include <unordered_map>

class FileFactsTable;

// The cache file in the user's folder of this program.
std::wstring SignatureCachePath();

// One file's answer as the cache keeps it, by the file's folded path.
struct CachedSignature
{
    std::wstring path;
    platform::FileStamp stamp;
    platform::Signature signature;
};
using CachedSignatures = std::unordered_map<std::wstring, CachedSignature>;

// One thread at a time. The cache file is read at the first question; a file that is not one of
// ours, or a line that cannot be read, is passed over.
class TrustJudge
{
  public:
    // cacheFile empty: SignatureCachePath(), found when first needed.
    explicit TrustJudge(std::wstring cacheFile = {});

    // The answer for the file as it is now when it is known: kept, or missing when there is no
    // such file. An answer kept for the file as it was before is dropped.
    std::optional<platform::Signature> Known(const std::wstring& file);
    // The file checked now; the answer is kept for it as it is.
    platform::Signature Check(const std::wstring& file);
    // Answers learned or dropped since the last save was tried.
    bool Unsaved() const { return unsaved_; }
    // Under the lock of its writers: the cache file read again, what was learned here put over it,
    // and the whole replaced at once. What fails is tried again at the next save.
    DWORD Save();

  private:
    // A change since the last save: an answer learned, or one dropped.
    struct Change
    {
        CachedSignature entry;
        bool dropped = false;
    };
    void Load();

    std::wstring path_;
    bool loaded_ = false, unsaved_ = false;
    CachedSignatures entries_;
    std::unordered_map<std::wstring, Change> changes_;
    platform::SignatureChecker checker_;
};

// For the command line, which has no worker: the signature of every file the table's answers name,
// checked now (verify) or as the cache knows it, and its SHA-256.
void JudgeFiles(FileFactsTable& table, bool verify);
