// Test fixtures over the test Wine prefix.
#include "support/Fixtures.h"
#include "model/StartupSource.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/StartupSwitch.h"
#include "staging/EntryStore.h"
#include "support/Processes.h"

#include <sddl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>

namespace testsupport
{

static std::wstring MakeTempFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;)
    {
        std::wstring folder = temp + (L"ravelin-test-" + std::to_wstring(GetCurrentProcessId())) + L"-" +
                              std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return folder;
    }
}

// Deletes what the folder holds, read-only files too, and with removeFolder the folder itself.
static void EmptyFolder(const std::wstring& folder, bool removeFolder)
{
    std::error_code error; // a folder that is not there holds nothing
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(entry.path(), error);
    if (removeFolder)
        RemoveDirectoryW(folder.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
        << "cannot write";
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    return bytes;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    WriteBytes(path, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

std::wstring RepoFolder()
{
    // The test's own file, inside the source tree's build folder (Wine maps / to Z:); not
    // ProgramFolder(), which a fixture points at a scratch folder.
    std::wstring folder = ThisProgram();
    for (size_t slash; (slash = folder.find_last_of(L'\\')) != std::wstring::npos;)
    {
        folder.resize(slash);
        if (platform::FileExists(folder + L"\\CMakeLists.txt") && platform::FolderExists(folder + L"\\data"))
            return folder;
    }
    return {};
}

std::wstring Shortcut(const std::wstring& path, const std::wstring& target, const std::wstring& arguments)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)))
        return L"<no link object>";
    if (!target.empty())
    {
        link->SetPath(target.c_str());
        link->SetArguments(arguments.c_str());
        return SUCCEEDED(file->Save(path.c_str(), TRUE)) ? L"" : L"<not saved>";
    }
    if (!platform::FileExists(path) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return L"<missing>";
    wchar_t text[MAX_PATH] = {}, args[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(args, MAX_PATH);
    return std::wstring(text) + L"|" + args;
}

void SetRegString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& data,
                  DWORD type)
{
    SetRegBinary(root, path, name, type,
                 {reinterpret_cast<const BYTE*>(data.c_str()),
                  reinterpret_cast<const BYTE*>(data.c_str() + data.size() + 1)});
}

void SetRegBinary(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                  const std::vector<BYTE>& data)
{
    ASSERT_EQ(
        RegSetKeyValueW(root, path.c_str(), name.c_str(), type, data.data(), static_cast<DWORD>(data.size())),
        ERROR_SUCCESS);
}

bool RegValueExists(HKEY root, const std::wstring& path, const std::wstring& name)
{
    return RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::wstring RegStringValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD* type)
{
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer), actual = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     &actual, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    if (type)
        *type = actual;
    return buffer;
}

void DenyWrites(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR sd = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSDWD;;;WD)", SDDL_REVISION_1,
                                                                     &sd, nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    LocalFree(sd);
    RegCloseKey(key);
}

void PumpMessages()
{
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
    {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

StartupEntry MakeEntry(const FileRecord& texts)
{
    FileWords words;
    return FromFileRecord(texts, words);
}

std::vector<StartupEntry> MakeEntries(const std::vector<FileRecord>& texts)
{
    std::vector<StartupEntry> entries;
    for (const FileRecord& record : texts)
        entries.push_back(MakeEntry(record));
    return entries;
}

FileRecord ShownTexts(const StartupEntry& row)
{
    const ListWords words = LoadListWords();
    FileRecord texts;
    for (int column = 0; column < ColumnCount; ++column)
        texts[static_cast<size_t>(column)] = column == TaskName ? row.name : RowText(row, column, words);
    return texts;
}

std::vector<std::wstring> RowTexts(const StartupList& list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 1; row <= list.Count(); ++row)
        texts.push_back(ShownTexts(list.Row(row))[static_cast<size_t>(column)]);
    return texts;
}

void RavelinTest::SetUp()
{
    scratchPath_ = L"Software\\RavelinTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(GetTickCount64());
    for (HKEY* key : {&scratchUser_, &scratchMachine_})
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                                  (scratchPath_ + (key == &scratchUser_ ? L"\\HKCU" : L"\\HKLM")).c_str(), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, key, nullptr),
                  ERROR_SUCCESS);
    // Wine gives a key a 32-bit view once it has a Wow6432Node subkey, as HKLM\Software has on a
    // 64-bit Windows; Windows itself keeps that view for its real HKLM\Software alone.
    HKEY wow = nullptr;
    ASSERT_EQ(RegCreateKeyExW(scratchMachine_, L"Software\\Wow6432Node", 0, nullptr, 0, KEY_READ, nullptr,
                              &wow, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(wow);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratchUser_), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratchMachine_), ERROR_SUCCESS);

    programFolder = MakeTempFolder();
    platform::OverrideProgramFolder(programFolder);
    LanguageFile = platform::names::DefaultPack;
    LanguagePacksFound = false;
    MessageTexts = {};
    ClearSystemPlaces();
}

void RavelinTest::ClearSystemPlaces()
{
    for (const wchar_t* key : {L"Load", L"Run"})
        WritePrivateProfileStringW(L"Windows", key, nullptr, WinIniPath().c_str());
    EmptyFolder(UserStartup(), false);
    EmptyFolder(CommonStartup(), false);
    platform::RemoveFile(StorePath(), true);
    platform::RemoveFile(StoreBackupPath(), true);
    EmptyFolder(platform::GetWindowsFolder() + platform::names::CopiesFolder, true);
    EmptyFolder(platform::UserDataFolder(), true);
    std::wstring copies = platform::names::CopiesKey;
    copies.pop_back(); // the trailing separator
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        RegDeleteTreeW(root, copies.c_str());
}

void RavelinTest::UseSystemTrust()
{
    const wchar_t* cryptography = L"Software\\Microsoft\\Cryptography";
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    HKEY system = nullptr, copy = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, cryptography, 0, KEY_READ, &system), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratchMachine_), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExW(scratchMachine_, cryptography, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCopyTreeW(system, nullptr, copy), ERROR_SUCCESS);
    RegCloseKey(system);
    RegCloseKey(copy);
}

void RavelinTest::TearDown()
{
    // The WM_QUIT that closing a main window leaves behind.
    for (MSG msg; PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);)
    {
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (scratchUser_)
        RegCloseKey(scratchUser_);
    if (scratchMachine_)
        RegCloseKey(scratchMachine_);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
    platform::OverrideProgramFolder({});
    platform::OverrideStartupSwitch(std::nullopt);
    EmptyFolder(programFolder, true);
    ClearSystemPlaces();
}

void RavelinTest::WritePack(const std::wstring& fileName, const std::wstring& keyLines)
{
    CreateDirectoryW(LangFolder().c_str(), nullptr);
    WriteUtf16File(LangFolder() + L"\\" + fileName, L"[Brightfold Language Pack]\r\n" + keyLines);
}

void RavelinTest::InstallShippedPacks()
{
    CreateDirectoryW(LangFolder().c_str(), nullptr);
    const std::wstring shipped = RepoFolder() + L"\\data\\Lang";
    for (const std::wstring& name : platform::ListFolderFiles(shipped).names)
        CopyFileW((shipped + L"\\" + name).c_str(), (LangFolder() + L"\\" + name).c_str(), FALSE);
}

std::wstring WinIniPath()
{
    return platform::GetWindowsFolder() + L"\\win.ini";
}

} // namespace testsupport
