// The worker thread of the file facts: each command line's file, then each file's signature.
#pragma once
#include "find/FileFacts.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A thread that answers command lines one by one and keeps the answers until they are taken, then,
// while no command line waits, checks the signature of each file they named that its cache file
// (empty: the user's) does not know as it is now, and saves what it learned when it has nothing
// left to do. It never touches the list or the window: it only calls answersWaiting, from its own
// thread, when answers start to wait. An exception that ends the thread is handed over the same way: the
// next TakeAnswers tells it and ends the program with platform::WorkerFailedCode, rather than
// the program going on without answers.
class FactsWorker
{
  public:
    // readImpact, when given, reads the logon record once, after the first command lines' answers.
    explicit FactsWorker(std::function<void()> answersWaiting, std::wstring signatureCache = {},
                         std::function<LogonImpact()> readImpact = {});
    // Once this returns, answersWaiting is not called again. The thread is not waited for: a
    // file on a slow network share must not hold up the window's close.
    ~FactsWorker();
    FactsWorker(const FactsWorker&) = delete;
    FactsWorker& operator=(const FactsWorker&) = delete;

    void Ask(std::vector<std::wstring> commandLines);
    FactsAnswers TakeAnswers();

  private:
    // What the thread shares with the window's thread; it lives as long as either of them.
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::wstring> questions;
        FactsAnswers answers;
        std::function<void()> answersWaiting;
        std::wstring signatureCache;
        std::function<LogonImpact()> readImpact; // empty once it was called
        bool stopped = false;
        std::wstring failure; // what ended the thread; empty while it runs
    };
    static void Run(std::shared_ptr<Shared> shared);
    static void Answer(Shared& shared);
    static void HandOver(Shared& shared, const char* what);
    // Under the lock: told at the first answer that waits.
    static void Told(Shared& shared, bool first);

    std::shared_ptr<Shared> shared_;
};
