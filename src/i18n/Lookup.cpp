// Text lookup: the chosen pack is read once and kept in memory while the file is unchanged,
// which answers exactly as the profile-string reader would on the same file, at a fraction of
// its cost per lookup.
#include "i18n/Lookup.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Settings.h"
#include "platform/Text.h"

#include <windows.h>

std::wstring LanguageFile;
bool LanguagePacksFound = false;
std::array<std::wstring, 3> MessageTexts;

namespace
{

constexpr size_t LookupBufferSize = 500;

struct CachedPack
{
    std::wstring path;
    FILETIME written{};
    ULONGLONG size = 0;
    bool valid = false;
    platform::IniFile ini;
    // The open batches, and the pack the outermost one has looked at (none while it has not).
    int batchDepth = 0;
    std::wstring batchPath;
    const platform::IniFile* batchPack = nullptr;
};

CachedPack& Cache()
{
    static CachedPack cache;
    return cache;
}

std::wstring ErrorMessage(DWORD error)
{
    return L"Error Description: " + platform::SystemErrorText(error) + L", Error Number: " +
           platform::ToDecimal(static_cast<long>(error)) + L", Method: SetCaptionfromINI";
}

} // namespace

LookupBatch::LookupBatch()
{
    ++Cache().batchDepth;
}

LookupBatch::~LookupBatch()
{
    if (CachedPack& cache = Cache(); --cache.batchDepth == 0)
        cache.batchPack = nullptr;
}

void LoadStoredLanguage()
{
    LanguageFile = platform::LoadLanguageSetting();
    if (LanguageFile.empty())
        LanguageFile = platform::names::DefaultPack;
}

std::wstring LanguagePackPath()
{
    return platform::LangFile(LanguageFile);
}

bool RightToLeftLanguage()
{
    return LookupText(keys::RightToLeft) == L"1";
}

namespace
{

// The pack at path as the disk has it now: none when it is not there, nullptr when it cannot be read.
const platform::IniFile* PackOnDisk(const std::wstring& path)
{
    static const platform::IniFile noPack;
    CachedPack& cache = Cache();
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return &noPack;
    ULONGLONG size = (ULONGLONG(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (!cache.valid || cache.path != path ||
        CompareFileTime(&cache.written, &attributes.ftLastWriteTime) != 0 || cache.size != size)
    {
        cache.valid = false;
        std::string bytes;
        if (const DWORD error = platform::ReadWholeFile(path, bytes))
        {
            WriteErrorLog(ErrorMessage(error));
            return nullptr;
        }
        cache.ini = platform::IniFile::Parse(bytes);
        cache.path = path;
        cache.written = attributes.ftLastWriteTime;
        cache.size = size;
        cache.valid = true;
    }
    return &cache.ini;
}

} // namespace

std::wstring SetCaptionfromINI(std::wstring_view key, std::wstring_view defaultText)
{
    CachedPack& cache = Cache();
    std::wstring path = LanguagePackPath();
    const platform::IniFile* pack =
        cache.batchPack && cache.batchPath == path ? cache.batchPack : PackOnDisk(path);
    if (!pack)
        return {};
    if (cache.batchDepth > 0)
    {
        cache.batchPack = pack;
        cache.batchPath = std::move(path);
    }
    return std::wstring(platform::TrimStart(
        pack->GetString(platform::names::PackSection, key, defaultText, LookupBufferSize)));
}

void WriteErrorLog(const std::wstring& message)
{
    platform::AppendErrorRecord(platform::ProgramFolder() + platform::names::ErrorLogFile, message);
}

std::wstring LookupText(const keys::KeyText& key)
{
    return SetCaptionfromINI(key.key, key.text);
}

std::wstring CaptionText(const keys::KeyText& key)
{
    return SetCaptionfromINI(key.key);
}

std::wstring FormatText(const std::wstring& pattern, std::initializer_list<std::wstring> args)
{
    std::wstring out;
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] >= L'1' &&
            static_cast<size_t>(pattern[i + 1] - L'1') < args.size())
        {
            out += *(args.begin() + (pattern[i + 1] - L'1'));
            ++i;
        }
        else
        {
            out += pattern[i];
        }
    }
    return out;
}

std::wstring ErrorReasonText(unsigned long error)
{
    switch (error)
    {
    case ERROR_ACCESS_DENIED:
        return LookupText(keys::AccessDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return LookupText(keys::InUse);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return LookupText(keys::NotFound);
    }
    return platform::SystemErrorText(error);
}

std::wstring PackProblem(const std::wstring& fileName)
{
    std::string bytes;
    // A pack that is not there gives the lookup's defaults, as it always has.
    if (const DWORD error = platform::ReadWholeFile(platform::LangFile(fileName), bytes))
        return platform::IsMissing(error) ? std::wstring() : ErrorReasonText(error);
    if (!platform::IniFile::Parse(bytes).HasSection(platform::names::PackSection))
        return LookupText(keys::PackHoldsNoTexts);
    return {};
}
