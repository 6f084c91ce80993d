// Test fixtures over the test Wine prefix.
#include "support/Fixtures.h"
#include "support/WindowFixture.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "staging/EntryStore.h"

#include <shlobj.h>

namespace testsupport {

std::wstring MakeTempFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        std::wstring folder = std::wstring(temp) + L"ravelin-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    }
}

void EmptyFolder(const std::wstring& folder)
{
    if (folder.empty()) return;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(path);
        else DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

void DeleteTree(const std::wstring& folder)
{
    EmptyFolder(folder);
    RemoveDirectoryW(folder.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create test file";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    platform::ReadWholeFile(path, bytes, nullptr);
    return bytes;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    WriteBytes(path, bytes);
}

std::wstring RepoFolder()
{
    // The test programs are built inside the source tree's build folder; Wine maps / to Z:.
    // The test's own file, not ProgramFolder(), which a fixture points at a scratch folder.
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder.resize(folder.find_last_of(L'\\') == std::wstring::npos ? 0 : folder.find_last_of(L'\\'));
    while (!folder.empty()) {
        if (platform::FileExists(folder + L"\\CMakeLists.txt") && platform::FolderExists(folder + L"\\data")) return folder;
        size_t slash = folder.find_last_of(L'\\');
        if (slash == std::wstring::npos) break;
        folder.resize(slash);
    }
    return {};
}

void SetRegString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& data, DWORD type)
{
    ASSERT_EQ(RegSetKeyValueW(root, path.c_str(), name.c_str(), type, data.c_str(),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void SetRegBinary(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                  const std::vector<BYTE>& data)
{
    ASSERT_EQ(RegSetKeyValueW(root, path.c_str(), name.c_str(), type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

bool RegValueExists(HKEY root, const std::wstring& path, const std::wstring& name)
{
    return RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring RegStringValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD* type)
{
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer);
    DWORD actual = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &actual,
                     buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    if (type) *type = actual;
    return buffer;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void DrainQuit()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

std::vector<std::wstring> RowTexts(const StartupList& list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 1; row <= list.Count(); ++row) texts.push_back(list.Text(row, column));
    return texts;
}


void RavelinTest::SetUp()
{
    scratchPath_ = L"Software\\RavelinTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(GetTickCount64());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (scratchPath_ + L"\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &scratchUser_, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (scratchPath_ + L"\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &scratchMachine_, nullptr),
              ERROR_SUCCESS);
    // Wine gives a key a 32-bit view once it has a Wow6432Node subkey, as HKLM\Software has on a
    // 64-bit Windows; Windows itself keeps that view for its real HKLM\Software alone.
    HKEY wow = nullptr;
    ASSERT_EQ(RegCreateKeyExW(scratchMachine_, L"Software\\Wow6432Node", 0, nullptr, 0, KEY_READ, nullptr, &wow, nullptr),
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
    const std::wstring winIni = WinIniPath();
    WritePrivateProfileStringW(L"Windows", L"Load", nullptr, winIni.c_str());
    WritePrivateProfileStringW(L"Windows", L"Run", nullptr, winIni.c_str());
    EmptyFolder(UserStartup());
    EmptyFolder(CommonStartup());
    platform::RemoveFile(StorePath(), true);
    DeleteTree(platform::GetWindowsFolder() + platform::names::CopiesFolder);
    std::wstring copies = platform::names::CopiesKey;
    copies.pop_back(); // the trailing separator
    RegDeleteTreeW(HKEY_CURRENT_USER, copies.c_str());
}

void RavelinTest::TearDown()
{
    DrainQuit();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (scratchUser_) RegCloseKey(scratchUser_);
    if (scratchMachine_) RegCloseKey(scratchMachine_);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
    platform::OverrideProgramFolder({});
    DeleteTree(programFolder);
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

std::wstring RavelinTest::WinIniPath() const
{
    return platform::GetWindowsFolder() + L"\\win.ini";
}

std::wstring RavelinTest::UserStartup() const
{
    return platform::GetSpecialFolderPath(CSIDL_STARTUP);
}

std::wstring RavelinTest::CommonStartup() const
{
    return platform::GetSpecialFolderPath(CSIDL_COMMON_STARTUP);
}

} // namespace testsupport
