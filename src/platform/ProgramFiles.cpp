// Program files through the environment, SearchPathW and the version-information functions.
#include "platform/ProgramFiles.h"
#include "platform/Text.h"

#include <windows.h>
#include <winver.h>

#include <cwchar>
#include <vector>

namespace platform
{

std::wstring ExpandEnvironment(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    std::wstring out(text.size() + 256, L'\0');
    for (;;)
    {
        DWORD n = ExpandEnvironmentStringsW(text.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return text;
        if (n <= out.size())
        {
            out.resize(n - 1);
            return out;
        }
        out.resize(n);
    }
}

namespace
{

std::wstring Folder(UINT (*get)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH];
    UINT n = get(buffer, MAX_PATH);
    return std::wstring(buffer, n < MAX_PATH ? n : 0);
}

std::wstring Variable(const wchar_t* name)
{
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    return value;
}

} // namespace

std::wstring SearchSystemFolders(const std::wstring& name, const wchar_t* defaultExtension)
{
    // An explicit list leaves out the program's own folder and the current folder, which say
    // nothing about where Windows would find the name at logon.
    const std::wstring folders =
        Folder(GetSystemDirectoryW) + L';' + Folder(GetWindowsDirectoryW) + L';' + Variable(L"PATH");
    wchar_t found[MAX_PATH * 2];
    DWORD n = SearchPathW(folders.c_str(), name.c_str(), defaultExtension, MAX_PATH * 2, found, nullptr);
    if (n == 0 || n >= MAX_PATH * 2)
        return {};
    DWORD attributes = GetFileAttributesW(found);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return std::wstring(found, n);
}

std::wstring FileCompanyName(const std::wstring& path)
{
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    if (size == 0)
        return {};
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()))
        return {};

    struct Translation
    {
        WORD language, codePage;
    };
    std::vector<Translation> translations;
    Translation* listed = nullptr;
    UINT listedSize = 0;
    if (VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&listed),
                       &listedSize))
        translations.assign(listed, listed + listedSize / sizeof(Translation));
    // Files that list no language mostly carry US English in Unicode or in the Windows code page.
    translations.push_back({0x0409, 1200});
    translations.push_back({0x0409, 1252});
    for (const Translation& t : translations)
    {
        const std::wstring query =
            L"\\StringFileInfo\\" + Hex(t.language, 4, true) + Hex(t.codePage, 4, true) + L"\\CompanyName";
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            continue;
        return std::wstring(TrimEnd(std::wstring_view(value, wcsnlen(value, length))));
    }
    return {};
}

} // namespace platform
