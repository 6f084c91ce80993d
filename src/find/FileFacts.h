// What the file an entry starts says about the entry: whether it exists, who published it, and
// whether its signature holds. Found on a worker thread so that the list shows at once and fills
// in as answers come: first each command line's file, then each file's signature, once a file.
#pragma once
#include "model/StartupList.h"
#include "find/LogonImpact.h"
#include "platform/Signatures.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct FileFacts
{
    enum class State
    {
        NoFile,  // the command line is blank
        Found,   // file is the program's file (or the DLL rundll32 is given)
        Missing, // no reading of the command line names an existing file
    };
    State state = State::NoFile;
    std::wstring file;
    std::wstring publisher; // CompanyName of the file's version information
    // The file is a DLL the line's program runs, which says what the entry is: rundll32's, or the
    // one svchost hosts for a service.
    bool hosted = false;
};

// What the worker is asked: a command line alone, or with the DLL its program hosts after a NUL
// (which no command line holds), for a service whose ServiceDll judges it.
std::wstring HostedQuestion(const std::wstring& commandLine, const std::wstring& dll);

// Resolves a question: environment variables expanded, each reading of the line tried in turn, a
// bare name looked for in the system folders and PATH. Calls only thread-safe system functions.
FileFacts ResolveFileFacts(const std::wstring& question);

// What is known of a file's signature, and of its contents where a script asked for them.
struct FileTrust
{
    std::optional<platform::Signature> signature; // none while it is not known
    std::wstring sha256;
};

// The answers known so far, by command line: rows that start the same line share them, and
// they stay right whatever is added, removed or reordered in the list.
class FileFactsTable
{
  public:
    // Null while the command line has not been answered.
    const FileFacts* Find(const std::wstring& commandLine) const;
    void Store(const std::wstring& commandLine, FileFacts facts);
    // The Locations of the list never asked about; from now on they count as asked.
    std::vector<std::wstring> TakeUnasked(const StartupList& list);
    // True when the command line was never asked about; from now on it counts as asked.
    bool TakeUnasked(const std::wstring& commandLine);

    // By the file the facts name, whatever its case; null when nothing is known of it.
    const FileTrust* TrustOf(const FileFacts* facts) const;
    void StoreSignature(const std::wstring& file, platform::Signature signature);
    void StoreSha256(const std::wstring& file, std::wstring sha256);
    // The existing files the answered command lines name, each once.
    std::vector<std::wstring> Files() const;
    // The answered command lines that name one of these files (folded, sorted), sorted.
    std::vector<std::wstring> LinesNaming(const std::vector<std::wstring>& foldedFiles) const;

    // The newest record of a logon; null while it has not been read.
    const LogonImpact* Impact() const { return impact_ ? &*impact_ : nullptr; }
    void StoreImpact(LogonImpact impact) { impact_ = std::move(impact); }

  private:
    std::optional<LogonImpact> impact_;
    std::unordered_map<std::wstring, std::optional<FileFacts>> facts_;
    std::unordered_map<std::wstring, FileTrust> trust_; // by folded file
};

// The worker's answers since they were last taken: facts by command line, signatures by file.
struct FactsAnswers
{
    std::vector<std::pair<std::wstring, FileFacts>> facts;
    std::vector<std::pair<std::wstring, platform::Signature>> signatures;
    std::optional<LogonImpact> impact;

    bool Empty() const { return facts.empty() && signatures.empty() && !impact; }
};
