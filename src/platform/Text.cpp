// Text helpers shared by every layer.
#include "platform/Text.h"

#include <vector>

namespace platform {

std::wstring TrimBlanks(std::wstring_view s)
{
    size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    size_t last = s.find_last_not_of(L' ');
    return std::wstring(s.substr(first, last - first + 1));
}

std::wstring TrimLeadingBlanks(std::wstring_view s)
{
    size_t first = s.find_first_not_of(L' ');
    return first == std::wstring_view::npos ? std::wstring() : std::wstring(s.substr(first));
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix)
{
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

size_t FindNoCase(std::wstring_view s, std::wstring_view needle)
{
    if (needle.size() > s.size()) return std::wstring_view::npos;
    for (size_t i = 0; i + needle.size() <= s.size(); ++i)
        if (EqualsNoCase(s.substr(i, needle.size()), needle)) return i;
    return std::wstring_view::npos;
}

std::wstring NormalizeLineBreaks(std::wstring_view s)
{
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\r') {
            if (i + 1 < s.size() && s[i + 1] == L'\n') ++i;
            out += L'\n';
        } else {
            out += s[i];
        }
    }
    return out;
}

std::wstring FoldCase(std::wstring_view s)
{
    std::wstring out(s);
    if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

std::string SortKey(std::wstring_view s)
{
    if (s.empty()) return {};
    const int length = static_cast<int>(s.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, s.data(), length, nullptr, 0, nullptr, nullptr, 0);
    std::string key(static_cast<size_t>(n), '\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, s.data(), length, reinterpret_cast<LPWSTR>(key.data()), n,
                  nullptr, nullptr, 0);
    return key;
}

std::wstring WideFromCodePage(UINT codePage, std::string_view bytes)
{
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string CodePageFromWide(UINT codePage, std::wstring_view text, bool* lossless)
{
    if (lossless) *lossless = true;
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    // UTF-8 refuses the lossy-conversion flag; it represents everything anyway.
    BOOL* usedDefaultArg = (codePage == CP_UTF8) ? nullptr : &usedDefault;
    DWORD flags = (codePage == CP_UTF8) ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                usedDefaultArg);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        usedDefaultArg);
    if (lossless) *lossless = !usedDefault;
    return out;
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty()) text = L"Error " + ToDecimal(static_cast<long long>(error));
    return text;
}

std::wstring ToDecimal(long long value)
{
    return std::to_wstring(value);
}

} // namespace platform
