// File facts: resolving a command line to its file, the table of answers, the worker thread.
#include "find/FileFacts.h"
#include "find/ProgramPath.h"
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/ProgramFiles.h"
#include "platform/Text.h"

#include <exception>
#include <thread>

namespace
{

// The file a path names: as written, with the default extension when it has none, or looked
// for along the search path when it has no folder. Empty when there is none.
std::wstring FindFile(const std::wstring& path, const wchar_t* defaultExtension)
{
    if (path.empty())
        return {};
    if (IsBareName(path))
        return platform::SearchSystemFolders(path, defaultExtension);
    if (platform::FileExists(path))
        return path;
    if (!HasExtension(path) && platform::FileExists(path + defaultExtension))
        return path + defaultExtension;
    return {};
}

} // namespace

FileFacts ResolveFileFacts(const std::wstring& commandLine)
{
    FileFacts facts;
    // Windows expands the whole line before it reads the program out of it.
    const std::wstring line = platform::ExpandEnvironment(commandLine);
    const std::vector<ProgramCandidate> candidates = ProgramCandidates(line);
    if (candidates.empty())
        return facts;
    for (const ProgramCandidate& candidate : candidates)
    {
        if (IsRundll(candidate.program))
        {
            facts.file = FindFile(RundllTarget(candidate.arguments), L".dll");
            break;
        }
        facts.file = FindFile(candidate.program, L".exe");
        if (!facts.file.empty())
            break;
    }
    // A shortcut in a StartUp folder may open a folder: the entry is there all the same.
    if (facts.file.empty() && platform::FolderExists(candidates.back().program))
        facts.file = candidates.back().program;
    if (facts.file.empty())
    {
        facts.state = FileFacts::State::Missing;
        return facts;
    }
    facts.state = FileFacts::State::Found;
    facts.publisher = platform::FileCompanyName(facts.file);
    return facts;
}

const FileFacts* FileFactsTable::Find(const std::wstring& commandLine) const
{
    auto found = facts_.find(commandLine);
    return found == facts_.end() || !found->second ? nullptr : &*found->second;
}

void FileFactsTable::Store(const std::wstring& commandLine, FileFacts facts)
{
    facts_.insert_or_assign(commandLine, std::move(facts));
}

std::vector<std::wstring> FileFactsTable::TakeUnasked(const StartupList& list)
{
    std::vector<std::wstring> unasked;
    for (int row = 1; row <= list.Count(); ++row)
        if (TakeUnasked(list.Row(row).location))
            unasked.push_back(list.Row(row).location);
    return unasked;
}

bool FileFactsTable::TakeUnasked(const std::wstring& commandLine)
{
    return facts_.try_emplace(commandLine).second;
}

FactsWorker::FactsWorker(std::function<void()> answersWaiting) : shared_(std::make_shared<Shared>())
{
    shared_->answersWaiting = std::move(answersWaiting);
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

std::vector<std::pair<std::wstring, FileFacts>> FactsWorker::TakeAnswers()
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

void FactsWorker::Answer(Shared& shared)
{
    for (;;)
    {
        std::wstring question;
        {
            std::unique_lock lock(shared.mutex);
            shared.wake.wait(lock, [&] { return shared.stopped || !shared.questions.empty(); });
            if (shared.stopped)
                return;
            question = std::move(shared.questions.front());
            shared.questions.pop_front();
        }
        FileFacts facts = ResolveFileFacts(question);
        // Told under the lock, so that no call comes once the destructor has stopped the thread.
        std::lock_guard lock(shared.mutex);
        if (shared.stopped)
            return;
        const bool first = shared.answers.empty();
        shared.answers.emplace_back(std::move(question), std::move(facts));
        if (first)
            shared.answersWaiting();
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
