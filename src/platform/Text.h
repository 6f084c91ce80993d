// Text helpers: trimming, case-insensitive comparison, hexadecimal digits, decoding text files
// and splitting them into lines, code-page conversion, system messages.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

// s without any of the characters of chars at both ends, at its start, or at its end. Blanks are
// spaces only, as the program's texts use them; readers of other texts name their own.
std::wstring_view Trim(std::wstring_view s, std::wstring_view chars = L" ");
std::wstring_view TrimStart(std::wstring_view s, std::wstring_view chars = L" ");
std::wstring_view TrimEnd(std::wstring_view s, std::wstring_view chars = L" ");

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
// Appends FoldCase(s) to out without a string of its own.
void AppendFoldedCase(std::wstring& out, std::wstring_view s);
// Bytes that order as the user's language orders texts, without regard to case: comparing two
// keys compares their texts.
std::string SortKey(std::wstring_view s);

// Conversion at the file boundary. CodePageFromWide reports through *lossless whether every
// character had a representation in the code page (false, with no bytes, where it failed).
std::wstring WideFromCodePage(UINT codePage, std::string_view bytes);
std::string CodePageFromWide(UINT codePage, std::wstring_view text, bool* lossless = nullptr);
// Whether the bytes are well-formed UTF-8, as the system decodes it.
bool IsUtf8(std::string_view bytes);

// The system's description of an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);
// The Win32 code a COM result carries, or the result itself when it carries none; 0 for success.
DWORD ErrorFromHResult(HRESULT hr);

std::wstring ToDecimal(long long value);
// A time of the file system (UTC) as "2026-12-08 22:00:01" in the local time; empty for none.
std::wstring LocalTimeText(ULONGLONG fileTime);
// value in hexadecimal, with at least digits digits: upper-case letters, or lower-case ones.
std::wstring Hex(unsigned long long value, int digits, bool lowerCase = false);

// The text of a file's bytes: UTF-8 or UTF-16 (either byte order) after its byte-order mark,
// otherwise the code page unmarked text is in, the ANSI one unless told.
std::wstring DecodeText(std::string_view bytes, UINT unmarked = CP_ACP);
// Whether the bytes open with a byte-order mark DecodeText reads: unmarked text that does (an ANSI
// name starting with "\xFF\xFE", say) must be written in a marked form, or it reads back garbled.
bool OpensWithByteOrderMark(std::string_view bytes);
// The lines of a text: each ends at CR LF, LF or CR, and a last line without an end still counts.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);

} // namespace platform
