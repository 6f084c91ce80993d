// Reading and writing the remembered start types.
#include "staging/ServiceStore.h"
#include "staging/EntryFile.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Text.h"

std::wstring ServiceStartsPath()
{
    return platform::GetWindowsFolder() + platform::names::ServiceStartsFile;
}

namespace
{

// "<type> <delayed> <name>", the name escaped; false for any other line.
bool ParseLine(std::wstring_view line, RememberedStart& entry)
{
    const size_t first = line.find(L' '),
                 second = first == std::wstring_view::npos ? first : line.find(L' ', first + 1);
    if (second == std::wstring_view::npos || first == 0)
        return false;
    const std::wstring type(line.substr(0, first)), delayed(line.substr(first + 1, second - first - 1));
    // A start type Windows has: from boot (0) to disabled (4).
    if (type.size() != 1 || type[0] < L'0' || type[0] > L'4' || (delayed != L"0" && delayed != L"1"))
        return false;
    entry.start = {static_cast<DWORD>(type[0] - L'0'), delayed == L"1"};
    return UnescapeLine(line.substr(second + 1), entry.name) && !entry.name.empty();
}

} // namespace

RememberedStarts ReadRememberedStarts()
{
    RememberedStarts read;
    std::string bytes;
    const DWORD error = platform::ReadWholeFile(ServiceStartsPath(), bytes);
    if (platform::IsMissing(error))
        return read;
    read.error = error;
    const std::wstring text = platform::DecodeText(bytes);
    for (std::wstring_view line : platform::SplitLines(text))
    {
        RememberedStart entry;
        if (line.empty())
            continue;
        if (ParseLine(line, entry))
            read.entries.push_back(std::move(entry));
        else
            ++read.unreadable;
    }
    return read;
}

DWORD WriteRememberedStarts(const std::vector<RememberedStart>& entries)
{
    if (entries.empty())
    {
        const DWORD error = platform::RemoveFile(ServiceStartsPath(), true);
        return platform::IsMissing(error) ? ERROR_SUCCESS : error;
    }
    std::wstring text;
    for (const RememberedStart& entry : entries)
        text += platform::ToDecimal(entry.start.type) + (entry.start.delayed ? L" 1 " : L" 0 ") +
                EscapeLine(entry.name) + L"\r\n";
    return platform::ReplaceFileAtomically(ServiceStartsPath(),
                                           "\xEF\xBB\xBF" + platform::CodePageFromWide(CP_UTF8, text));
}

std::wstring StartsProblemText(const ServicesState& state)
{
    return FormatText(
        LookupText(keys::StartsFileNotRead),
        {ServiceStartsPath(),
         state.StartsError != ERROR_SUCCESS
             ? ErrorReasonText(state.StartsError)
             : FormatText(LookupText(keys::StoreUnreadableEntries),
                          {platform::ToDecimal(static_cast<long long>(state.StartsUnreadable))})});
}

void LoadRememberedStarts(ServicesState& state)
{
    RememberedStarts read = ReadRememberedStarts();
    state.Remembered = std::move(read.entries);
    state.StartsError = read.error;
    state.StartsUnreadable = read.unreadable;
}

const RememberedStart* RememberedFor(const std::vector<RememberedStart>& entries, const std::wstring& name)
{
    for (const RememberedStart& entry : entries)
        if (platform::EqualsNoCase(entry.name, name))
            return &entry;
    return nullptr;
}

void Remember(std::vector<RememberedStart>& entries, const std::wstring& name, platform::ServiceStart start)
{
    for (RememberedStart& entry : entries)
        if (platform::EqualsNoCase(entry.name, name))
        {
            entry.start = start;
            return;
        }
    entries.push_back({name, start});
}
