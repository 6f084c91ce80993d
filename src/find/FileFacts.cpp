// File facts: resolving a command line to its file, and the table of answers.
#include "find/FileFacts.h"
#include "find/ProgramPath.h"
#include "platform/Files.h"
#include "platform/ProgramFiles.h"
#include "platform/Text.h"

#include <algorithm>
#include <unordered_set>

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

constexpr wchar_t HostedMark = L'\0';

} // namespace

std::wstring HostedQuestion(const std::wstring& commandLine, const std::wstring& dll)
{
    return dll.empty() ? commandLine : commandLine + HostedMark + dll;
}

FileFacts ResolveFileFacts(const std::wstring& question)
{
    FileFacts facts;
    const size_t mark = question.find(HostedMark);
    // Windows expands the whole line before it reads the program out of it.
    const std::wstring line = platform::ExpandEnvironment(question.substr(0, mark));
    const std::vector<ProgramCandidate> candidates = ProgramCandidates(line);
    if (candidates.empty())
        return facts;
    if (mark != std::wstring::npos)
    {
        facts.hosted = true;
        facts.file = FindFile(platform::ExpandEnvironment(question.substr(mark + 1)), L".dll");
    }
    for (size_t i = 0; !facts.hosted && i < candidates.size(); ++i)
    {
        const ProgramCandidate& candidate = candidates[i];
        if (IsRundll(candidate.program))
        {
            facts.hosted = true;
            facts.file = FindFile(RundllTarget(candidate.arguments), L".dll");
            break;
        }
        facts.file = FindFile(candidate.program, L".exe");
        if (!facts.file.empty())
            break;
    }
    // A shortcut in a StartUp folder may open a folder: the entry is there all the same.
    if (facts.file.empty() && !facts.hosted && platform::FolderExists(candidates.back().program))
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

const FileTrust* FileFactsTable::TrustOf(const FileFacts* facts) const
{
    if (!facts || facts->file.empty())
        return nullptr;
    auto found = trust_.find(platform::FoldCase(facts->file));
    return found == trust_.end() ? nullptr : &found->second;
}

void FileFactsTable::StoreSignature(const std::wstring& file, platform::Signature signature)
{
    trust_[platform::FoldCase(file)].signature = std::move(signature);
}

void FileFactsTable::StoreSha256(const std::wstring& file, std::wstring sha256)
{
    trust_[platform::FoldCase(file)].sha256 = std::move(sha256);
}

std::vector<std::wstring> FileFactsTable::Files() const
{
    std::vector<std::wstring> files;
    std::unordered_set<std::wstring> folded;
    for (const auto& [line, facts] : facts_)
        if (facts && facts->state == FileFacts::State::Found &&
            folded.insert(platform::FoldCase(facts->file)).second && !platform::FolderExists(facts->file))
            files.push_back(facts->file);
    return files;
}

std::vector<std::wstring> FileFactsTable::LinesNaming(const std::vector<std::wstring>& foldedFiles) const
{
    std::vector<std::wstring> lines;
    for (const auto& [line, facts] : facts_)
        if (facts && !facts->file.empty() &&
            std::binary_search(foldedFiles.begin(), foldedFiles.end(), platform::FoldCase(facts->file)))
            lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}
