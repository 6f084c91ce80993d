// What the file an entry starts says about the entry: whether it exists, and who published it.
// Found on a worker thread so that the list shows at once and fills in as answers come.
#pragma once
#include "model/StartupList.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
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
};

// Resolves a command line: environment variables expanded, each reading of it tried in turn, a
// bare name looked for in the system folders and PATH. Calls only thread-safe system functions.
FileFacts ResolveFileFacts(const std::wstring& commandLine);

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

  private:
    std::unordered_map<std::wstring, std::optional<FileFacts>> facts_;
};

// A thread that answers command lines one by one and keeps the answers until they are taken.
// It never touches the list or the window: it only calls answersWaiting, from its own thread,
// when answers start to wait. An exception that ends the thread is handed over the same way: the
// next TakeAnswers tells it and ends the program with platform::WorkerFailedCode, rather than
// the program going on without answers.
class FactsWorker
{
  public:
    explicit FactsWorker(std::function<void()> answersWaiting);
    // Once this returns, answersWaiting is not called again. The thread is not waited for: a
    // file on a slow network share must not hold up the window's close.
    ~FactsWorker();
    FactsWorker(const FactsWorker&) = delete;
    FactsWorker& operator=(const FactsWorker&) = delete;

    void Ask(std::vector<std::wstring> commandLines);
    std::vector<std::pair<std::wstring, FileFacts>> TakeAnswers();

  private:
    // What the thread shares with the window's thread; it lives as long as either of them.
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::wstring> questions;
        std::vector<std::pair<std::wstring, FileFacts>> answers;
        std::function<void()> answersWaiting;
        bool stopped = false;
        std::wstring failure; // what ended the thread; empty while it runs
    };
    static void Run(std::shared_ptr<Shared> shared);
    static void Answer(Shared& shared);
    static void HandOver(Shared& shared, const char* what);

    std::shared_ptr<Shared> shared_;
};
