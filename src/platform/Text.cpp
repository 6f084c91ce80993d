// Text helpers shared by every layer.
#include "platform/Text.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace platform
{

std::wstring_view TrimStart(std::wstring_view s, std::wstring_view chars)
{
    const size_t first = s.find_first_not_of(chars);
    return first == std::wstring_view::npos ? std::wstring_view() : s.substr(first);
}

std::wstring_view TrimEnd(std::wstring_view s, std::wstring_view chars)
{
    const size_t last = s.find_last_not_of(chars);
    return last == std::wstring_view::npos ? std::wstring_view() : s.substr(0, last + 1);
}

std::wstring_view Trim(std::wstring_view s, std::wstring_view chars)
{
    return TrimEnd(TrimStart(s, chars), chars);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    if (a.empty())
        return true;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix)
{
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

size_t FindNoCase(std::wstring_view s, std::wstring_view needle)
{
    if (needle.size() > s.size())
        return std::wstring_view::npos;
    for (size_t i = 0; i + needle.size() <= s.size(); ++i)
        if (EqualsNoCase(s.substr(i, needle.size()), needle))
            return i;
    return std::wstring_view::npos;
}

std::wstring NormalizeLineBreaks(std::wstring_view s)
{
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] == L'\r')
        {
            if (i + 1 < s.size() && s[i + 1] == L'\n')
                ++i;
            out += L'\n';
        }
        else
        {
            out += s[i];
        }
    }
    return out;
}

std::wstring FoldCase(std::wstring_view s)
{
    std::wstring out;
    AppendFoldedCase(out, s);
    return out;
}

void AppendFoldedCase(std::wstring& out, std::wstring_view s)
{
    const size_t from = out.size();
    out.append(s);
    if (!s.empty())
        CharUpperBuffW(out.data() + from, static_cast<DWORD>(s.size()));
}

std::string SortKey(std::wstring_view s)
{
    if (s.empty())
        return {};
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
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

bool IsUtf8(std::string_view bytes)
{
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

std::string CodePageFromWide(UINT codePage, std::wstring_view text, bool* lossless)
{
    if (lossless)
        *lossless = true;
    if (text.empty())
        return {};
    // ASCII is the same in every ANSI code page and in UTF-8: nothing to ask the system.
    if ((codePage == CP_ACP || codePage == CP_UTF8) &&
        std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; }))
        return std::string(text.begin(), text.end());
    BOOL usedDefault = FALSE;
    // UTF-8 refuses the lossy-conversion flag; it represents everything anyway. The ANSI code page
    // is UTF-8 too where the user chose it, and the flag would then make every conversion fail.
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    BOOL* usedDefaultArg = utf8 ? nullptr : &usedDefault;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, usedDefaultArg);
    // A conversion that fails is never an empty text: a caller writing a file would write nothing.
    if (n <= 0)
    {
        if (lossless)
            *lossless = false;
        return {};
    }
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        usedDefaultArg);
    if (lossless)
        *lossless = !usedDefault;
    return out;
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    text.resize(TrimEnd(text, L"\r\n .").size());
    if (text.empty())
        text = L"Error " + ToDecimal(static_cast<long long>(error));
    return text;
}

DWORD ErrorFromHResult(HRESULT hr)
{
    if (SUCCEEDED(hr))
        return ERROR_SUCCESS;
    return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
}

std::wstring ToDecimal(long long value)
{
    return std::to_wstring(value);
}

std::wstring LocalTimeText(ULONGLONG fileTime)
{
    const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!fileTime || !FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    wchar_t text[32] = {};
    swprintf(text, std::size(text), L"%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
             time.wHour, time.wMinute, time.wSecond);
    return text;
}

std::wstring Hex(unsigned long long value, int digits, bool lowerCase)
{
    const wchar_t* symbols = lowerCase ? L"0123456789abcdef" : L"0123456789ABCDEF";
    std::wstring out;
    for (; value || static_cast<int>(out.size()) < digits; value >>= 4)
        out.insert(out.begin(), symbols[value & 15]);
    return out;
}

bool OpensWithByteOrderMark(std::string_view bytes)
{
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
           bytes.starts_with("\xFE\xFF");
}

std::wstring DecodeText(std::string_view bytes, UINT unmarked)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return WideFromCodePage(CP_UTF8, bytes.substr(3));
    if (OpensWithByteOrderMark(bytes))
    {
        const bool bigEndian = bytes[0] == '\xFE';
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        {
            auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
            auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
            text += static_cast<wchar_t>(lo | (hi << 8));
        }
        return text;
    }
    return WideFromCodePage(unmarked, bytes);
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    while (!text.empty())
    {
        const size_t end = text.find_first_of(L"\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::wstring_view::npos)
            break;
        size_t next = end + 1;
        if (text[end] == L'\r' && next < text.size() && text[next] == L'\n')
            ++next;
        text.remove_prefix(next);
    }
    return lines;
}

} // namespace platform
