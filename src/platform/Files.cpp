// Files and folders through the Win32 file and shell functions.
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/WriteSteps.h"

#include <shlobj.h>

#include <algorithm>

namespace platform
{

namespace
{
std::wstring& ProgramFolderOverride()
{
    static std::wstring folder;
    return folder;
}
std::wstring& WindowsFolderOverride()
{
    static std::wstring folder;
    return folder;
}
} // namespace

void OverrideWindowsFolder(const std::wstring& folder)
{
    WindowsFolderOverride() = folder;
}

void OverrideProgramFolder(const std::wstring& folder)
{
    ProgramFolderOverride() = folder;
}

std::wstring ProgramFolder()
{
    if (!ProgramFolderOverride().empty())
        return ProgramFolderOverride();
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size())
        {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring GetWindowsFolder()
{
    if (!WindowsFolderOverride().empty())
        return WindowsFolderOverride();
    wchar_t buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    std::wstring path(buffer, n < MAX_PATH ? n : 0);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

std::wstring GetSpecialFolderPath(int csidl)
{
    wchar_t buffer[MAX_PATH + 1] = {};
    if (SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return {};
    std::wstring path(buffer);
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

bool FileExists(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FolderListing ListFolderFiles(const std::wstring& folder)
{
    FolderListing listing;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, 0));
    if (find.get() == INVALID_HANDLE_VALUE)
    {
        find.release();
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_NO_MORE_FILES)
            listing.error = error;
        return listing;
    }
    const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do
    {
        if (!(data.dwFileAttributes & skipped))
            listing.names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    std::stable_sort(listing.names.begin(), listing.names.end(),
                     [](const std::wstring& a, const std::wstring& b) {
                         return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
                     });
    return listing;
}

DWORD ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    UniqueHandle file =
        MakeUniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return GetLastError();
    if (size.QuadPart > (1LL << 30))
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size()))
    {
        const DWORD error = GetLastError();
        bytes.clear();
        return error != ERROR_SUCCESS ? error : ERROR_READ_FAULT;
    }
    return ERROR_SUCCESS;
}

DWORD WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        done += written;
    }
    return ERROR_SUCCESS;
}

DWORD ReplaceFileAtomically(const std::wstring& path, const std::string& bytes)
{
    std::wstring temp = path + L".new";
    UniqueHandle file = MakeUniqueHandle(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    DWORD error = WriteAll(file.get(), bytes);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.get()))
        error = GetLastError();
    file.reset();
    if (error == ERROR_SUCCESS)
        BeforeWrite(L"replace file");
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileW(temp.c_str());
    return error;
}

DWORD WriteConverted(HANDLE file, UINT codePage, std::wstring_view text)
{
    char bytes[1024]; // room for 256 characters in any code page, UTF-8 included
    while (!text.empty())
    {
        size_t count = std::min<size_t>(text.size(), 256);
        // A surrogate pair is converted whole.
        if (count < text.size() && IS_HIGH_SURROGATE(text[count - 1]))
            --count;
        const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(count), bytes,
                                               sizeof(bytes), nullptr, nullptr);
        if (length == 0)
            return GetLastError();
        for (DWORD done = 0, written = 0; done < static_cast<DWORD>(length); done += written)
        {
            if (!WriteFile(file, bytes + done, length - done, &written, nullptr))
                return GetLastError();
            if (written == 0)
                return ERROR_WRITE_FAULT;
        }
        text.remove_prefix(count);
    }
    return ERROR_SUCCESS;
}

DWORD AppendErrorRecord(const std::wstring& logFile, std::wstring_view message)
{
    wchar_t date[128] = {}, time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    UniqueHandle file = MakeUniqueHandle(CreateFileW(logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    for (std::wstring_view part :
         {std::wstring_view(L"\"\r\nDate: "), std::wstring_view(date), std::wstring_view(L"\",\"Time: "),
          std::wstring_view(time), std::wstring_view(L"\",\""), message, std::wstring_view(L"\"\r\n")})
        if (const DWORD error = WriteConverted(file.get(), CP_ACP, part))
            return error;
    return ERROR_SUCCESS;
}

DWORD CreateFolderPath(const std::wstring& folder)
{
    const int r = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return r == ERROR_ALREADY_EXISTS || r == ERROR_FILE_EXISTS ? ERROR_SUCCESS : static_cast<DWORD>(r);
}

bool IsMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

DWORD RemoveFile(const std::wstring& path, bool force)
{
    if (force)
    {
        DWORD a = GetFileAttributesW(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(path.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    }
    BeforeWrite(L"delete file");
    return DeleteFileW(path.c_str()) ? ERROR_SUCCESS : GetLastError();
}

DWORD RemoveEmptyFolder(const std::wstring& folder)
{
    BeforeWrite(L"delete empty folder");
    return RemoveDirectoryW(folder.c_str()) ? ERROR_SUCCESS : GetLastError();
}

std::wstring DosPathOfDevicePath(std::wstring_view path)
{
    // The device is the path's first two parts: "\\Device\\HarddiskVolume3".
    const size_t device = path.find(L'\\', path.find(L'\\', 1) + 1);
    if (path.size() < 2 || path[0] != L'\\' || device == std::wstring_view::npos)
        return {};
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
    {
        const wchar_t drive[] = {letter, L':', 0};
        wchar_t target[MAX_PATH] = {};
        if (QueryDosDeviceW(drive, target, MAX_PATH) &&
            CompareStringOrdinal(target, -1, path.data(), static_cast<int>(device), TRUE) == CSTR_EQUAL)
            return drive + std::wstring(path.substr(device));
    }
    return {};
}

} // namespace platform
