// Text helpers: blank trimming, case-insensitive comparison, code-page conversion, system messages.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace platform {

// Blanks are spaces only, as the program's texts use them.
std::wstring TrimBlanks(std::wstring_view s);
std::wstring TrimLeadingBlanks(std::wstring_view s);

// Ordinal comparison without regard to case, as the registry and the file system compare names.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix);
// Position of needle in s without regard to case, or npos.
size_t FindNoCase(std::wstring_view s, std::wstring_view needle);
// The text with every line break (CR LF, CR or LF) as one LF: texts that differ only in how their
// lines end compare equal.
std::wstring NormalizeLineBreaks(std::wstring_view s);
// Upper-cases for use as a map key, the same folding as EqualsNoCase.
std::wstring FoldCase(std::wstring_view s);
// Bytes that order as the user's language orders texts, without regard to case: comparing two
// keys compares their texts.
std::string SortKey(std::wstring_view s);

// Conversion at the file boundary. AnsiFromWide reports through *lossless whether every
// character had a representation in the ANSI code page.
std::wstring WideFromCodePage(UINT codePage, std::string_view bytes);
std::string CodePageFromWide(UINT codePage, std::wstring_view text, bool* lossless = nullptr);

// The system's description of an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

std::wstring ToDecimal(long long value);

} // namespace platform
