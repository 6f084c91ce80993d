// INI parsing with the profile-string reader's rules.
#include "platform/IniFile.h"
#include "platform/WriteSteps.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>

namespace platform
{

namespace
{

// What the profile-string reader takes for blanks around names and values.
constexpr wchar_t ProfileSpaces[] = L" \t\n\r\v\f\x1a";

std::wstring_view TrimProfileSpace(std::wstring_view s)
{
    return Trim(s, ProfileSpaces);
}

} // namespace

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile ini;
    const std::wstring text = DecodeText(bytes);
    Section* current = nullptr;
    for (std::wstring_view line : SplitLines(text))
    {
        line = TrimProfileSpace(line);
        if (line.empty())
            continue;
        if (line.front() == L'[')
        {
            size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos)
            {
                ini.sections_.push_back({std::wstring(TrimProfileSpace(line.substr(1, close - 1))), {}, {}});
                current = &ini.sections_.back();
                ini.firstSection_.emplace(FoldCase(current->name), ini.sections_.size() - 1);
                continue;
            }
        }
        if (!current)
            continue; // lines before the first section belong to no section we look up
        Key key;
        size_t equals = line.find(L'=');
        if (equals != std::wstring_view::npos)
        {
            key.name = std::wstring(TrimProfileSpace(line.substr(0, equals)));
            key.value = std::wstring(TrimProfileSpace(line.substr(equals + 1)));
        }
        else
        {
            key.name = std::wstring(line);
        }
        current->firstKey.emplace(FoldCase(key.name), current->keys.size());
        current->keys.push_back(std::move(key));
    }
    return ini;
}

const IniFile::Section* IniFile::FindSection(std::wstring_view section) const
{
    auto it = firstSection_.find(FoldCase(TrimProfileSpace(section)));
    return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

bool IniFile::HasSection(std::wstring_view section) const
{
    return FindSection(section) != nullptr;
}

std::wstring IniFile::GetString(std::wstring_view section, std::wstring_view key,
                                std::wstring_view defaultText, size_t bufferSize) const
{
    if (bufferSize == 0)
        return {};
    if (const Section* s = FindSection(section))
    {
        auto it = s->firstKey.find(FoldCase(TrimProfileSpace(key)));
        if (it != s->firstKey.end() && s->keys[it->second].value)
        {
            std::wstring_view value = *s->keys[it->second].value;
            bool quoted = false;
            if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                value.back() == value.front())
            {
                quoted = true;
                value.remove_prefix(1);
            }
            std::wstring out(value.substr(0, bufferSize - 1));
            // The closing quote is dropped only when the whole value fitted the buffer.
            if (quoted && bufferSize >= value.size() && !out.empty())
                out.pop_back();
            return out;
        }
    }
    // The reader drops trailing blanks of the default.
    size_t length = defaultText.size();
    while (length > 1 && defaultText[length - 1] == L' ')
        --length;
    return std::wstring(defaultText.substr(0, std::min(length, bufferSize - 1)));
}

} // namespace platform

namespace platform
{

DWORD WriteProfileValue(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                        const std::wstring& fileName)
{
    BeforeWrite(L"write profile value");
    if (WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), fileName.c_str()))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

std::wstring ReadProfileValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& fileName, DWORD bufferSize)
{
    std::wstring buffer(bufferSize + 1, L'\0');
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(), bufferSize,
                                             fileName.c_str());
    buffer.resize(n);
    return buffer;
}

} // namespace platform
