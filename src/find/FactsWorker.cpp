// The file facts worker: command lines first, then signatures, its cache saved when it is idle.
#include "find/FactsWorker.h"
#include "find/FileTrust.h"
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <exception>
#include <thread>
#include <unordered_set>

FactsWorker::FactsWorker(std::function<void()> answersWaiting, std::wstring signatureCache,
                         std::function<LogonImpact()> readImpact)
    : shared_(std::make_shared<Shared>())
{
    shared_->readImpact = std::move(readImpact);
    shared_->answersWaiting = std::move(answersWaiting);
    shared_->signatureCache = std::move(signatureCache);
    std::thread(Run, shared_).detach();
}

FactsWorker::~FactsWorker()
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopped = true;
        shared_->questions.clear();
    }
    shared_->wake.notify_one();
}

void FactsWorker::Ask(std::vector<std::wstring> commandLines)
{
    if (commandLines.empty())
        return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->questions.insert(shared_->questions.end(), std::make_move_iterator(commandLines.begin()),
                                  std::make_move_iterator(commandLines.end()));
    }
    shared_->wake.notify_one();
}

FactsAnswers FactsWorker::TakeAnswers()
{
    std::lock_guard lock(shared_->mutex);
    if (!shared_->failure.empty())
        platform::EndWithFailure(shared_->failure, platform::WorkerFailedCode);
    return std::exchange(shared_->answers, {});
}

void FactsWorker::Run(std::shared_ptr<Shared> shared)
{
    // Nothing may leave a thread's function: the answers would stop coming, and no one would know.
    try
    {
        Answer(*shared);
    }
    catch (const std::exception& failure)
    {
        HandOver(*shared, failure.what());
    }
    catch (...)
    {
        HandOver(*shared, "an exception of no standard type");
    }
}

void FactsWorker::Told(Shared& shared, bool first)
{
    if (first)
        shared.answersWaiting();
}

void FactsWorker::Answer(Shared& shared)
{
    TrustJudge judge(shared.signatureCache);
    // The files whose signatures are still to be checked; one check a file, however many lines
    // name it.
    std::deque<std::wstring> checks;
    std::unordered_set<std::wstring> pending;
    for (;;)
    {
        std::wstring question;
        bool asked = false;
        {
            std::unique_lock lock(shared.mutex);
            const auto idle = [&] {
                return shared.questions.empty() && checks.empty() && !shared.readImpact;
            };
            // Nothing left to do, or the window is going: what was learned is kept for the next start.
            if ((idle() || shared.stopped) && judge.Unsaved())
            {
                lock.unlock();
                judge.Save();
                lock.lock();
            }
            shared.wake.wait(lock, [&] { return shared.stopped || !idle(); });
            if (shared.stopped)
            {
                lock.unlock();
                if (judge.Unsaved())
                    judge.Save();
                return;
            }
            if (!shared.questions.empty())
            {
                question = std::move(shared.questions.front());
                shared.questions.pop_front();
                asked = true;
            }
        }
        if (!asked && shared.readImpact)
        {
            // The record is small; it comes after the rows in view have their files.
            LogonImpact impact = std::exchange(shared.readImpact, {})();
            std::lock_guard lock(shared.mutex);
            if (shared.stopped)
                continue;
            const bool first = shared.answers.Empty();
            shared.answers.impact = std::move(impact);
            Told(shared, first);
            continue;
        }
        if (!asked)
        {
            const std::wstring file = std::move(checks.front());
            checks.pop_front();
            pending.erase(platform::FoldCase(file));
            platform::Signature signature = judge.Check(file);
            std::lock_guard lock(shared.mutex);
            if (shared.stopped)
                continue; // and saved before the thread ends
            const bool first = shared.answers.Empty();
            shared.answers.signatures.emplace_back(file, std::move(signature));
            Told(shared, first);
            continue;
        }
        FileFacts facts = ResolveFileFacts(question);
        std::optional<platform::Signature> known;
        if (facts.state == FileFacts::State::Found && platform::FileExists(facts.file))
        {
            known = judge.Known(facts.file);
            if (!known && pending.insert(platform::FoldCase(facts.file)).second)
                checks.push_back(facts.file);
        }
        // Told under the lock, so that no call comes once the destructor has stopped the thread.
        std::lock_guard lock(shared.mutex);
        if (shared.stopped)
            continue;
        const bool first = shared.answers.Empty();
        if (known)
            shared.answers.signatures.emplace_back(facts.file, *known);
        shared.answers.facts.emplace_back(std::move(question), std::move(facts));
        Told(shared, first);
    }
}

void FactsWorker::HandOver(Shared& shared, const char* what)
{
    std::lock_guard lock(shared.mutex);
    shared.failure = L"The file facts thread failed: " + platform::WideFromCodePage(CP_ACP, what);
    if (shared.stopped)
        return;
    try
    {
        shared.answersWaiting();
    }
    catch (...)
    {
        // It may be what failed: the next TakeAnswers, whenever it comes, still tells.
    }
}
