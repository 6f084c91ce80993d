// Command-line readings: quotes, blanks inside unquoted paths, rundll32's DLL.
#include "find/ProgramPath.h"
#include "platform/Text.h"

namespace
{

constexpr wchar_t Blanks[] = L" \t";

std::wstring_view TrimmedView(std::wstring_view s)
{
    return platform::Trim(s, Blanks);
}

std::wstring_view FileNameOf(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// Text in quotes at the start of s, and what follows the closing quote; an unclosed quote runs
// to the end.
ProgramCandidate SplitQuoted(std::wstring_view s)
{
    const size_t close = s.find(L'"', 1);
    if (close == std::wstring_view::npos)
        return {std::wstring(s.substr(1)), {}};
    return {std::wstring(s.substr(1, close - 1)), std::wstring(TrimmedView(s.substr(close + 1)))};
}

} // namespace

std::vector<ProgramCandidate> ProgramCandidates(std::wstring_view commandLine)
{
    const std::wstring_view line = TrimmedView(commandLine);
    if (line.empty())
        return {};
    if (line.front() == L'"')
        return {SplitQuoted(line)};
    std::vector<ProgramCandidate> candidates;
    for (size_t blank = line.find_first_of(Blanks); blank != std::wstring_view::npos;)
    {
        const size_t next = line.find_first_not_of(Blanks, blank);
        candidates.push_back({std::wstring(line.substr(0, blank)), std::wstring(line.substr(next))});
        blank = line.find_first_of(Blanks, next);
    }
    candidates.push_back({std::wstring(line), {}});
    return candidates;
}

bool IsRundll(std::wstring_view program)
{
    const std::wstring_view name = FileNameOf(program);
    return platform::EqualsNoCase(name, L"rundll32") || platform::EqualsNoCase(name, L"rundll32.exe");
}

bool IsServiceHost(std::wstring_view program)
{
    const std::wstring_view name = FileNameOf(program);
    return platform::EqualsNoCase(name, L"svchost") || platform::EqualsNoCase(name, L"svchost.exe");
}

std::wstring RundllTarget(std::wstring_view arguments)
{
    const std::wstring_view args = TrimmedView(arguments);
    if (args.empty())
        return {};
    if (args.front() == L'"')
        return SplitQuoted(args).program;
    // Without a comma the entry point follows a blank.
    size_t end = args.find(L',');
    if (end == std::wstring_view::npos)
        end = args.find_first_of(Blanks);
    return std::wstring(TrimmedView(args.substr(0, end)));
}

bool IsBareName(std::wstring_view path)
{
    return !path.empty() && path.find_first_of(L"\\/:") == std::wstring_view::npos;
}

bool HasExtension(std::wstring_view path)
{
    const std::wstring_view name = FileNameOf(path);
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring_view::npos && dot + 1 < name.size();
}
