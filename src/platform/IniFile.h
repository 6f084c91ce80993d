// An INI file held in memory, answering lookups the way the system's profile-string reader
// does on the same bytes (encoding, trimming, quotes, first section and key win, cut to size).
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform
{

class IniFile
{
  public:
    // Bytes of the file: UTF-8 or UTF-16 with a byte-order mark, else the ANSI code page.
    static IniFile Parse(std::string_view bytes);

    // What GetPrivateProfileStringW returns into a buffer of bufferSize characters.
    std::wstring GetString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultText,
                           size_t bufferSize) const;
    bool HasSection(std::wstring_view section) const;

  private:
    struct Key
    {
        std::wstring name;
        std::optional<std::wstring> value; // none: a line without '='
    };
    struct Section
    {
        std::wstring name;
        std::vector<Key> keys;
        std::unordered_map<std::wstring, size_t> firstKey; // folded name -> index
    };
    const Section* FindSection(std::wstring_view section) const;

    std::vector<Section> sections_;
    std::unordered_map<std::wstring, size_t> firstSection_;
};

} // namespace platform

namespace platform
{

// Sets key to value in section of an INI file through the profile functions, which may keep
// the section in the registry; the key stays, with an empty value when value is empty.
// Returns the system error (ERROR_SUCCESS on success).
DWORD WriteProfileValue(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                        const std::wstring& fileName);
// Reads key of section through the profile functions into a buffer of bufferSize characters,
// with an empty default: the characters the reader reports.
std::wstring ReadProfileValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& fileName, DWORD bufferSize);

} // namespace platform
