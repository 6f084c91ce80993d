// Test fixtures: a scratch registry for HKCU and HKLM, a fresh program folder, and the
// system places the program reads (win.ini values, StartUp folders, the store) emptied.
#pragma once
#include "model/StartupList.h"
#include "staging/EntryFile.h"
#include "platform/Files.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace testsupport
{

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// A pack file in UTF-16LE with a byte-order mark, as the shipped ones are.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
std::wstring RepoFolder(); // the source tree, for the shipped data
std::wstring WinIniPath();
inline std::wstring SystemFile(const std::wstring& name) // in the system folder, system32
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}
// With a target, writes the shortcut through the shell's link object (arguments apart, which only
// an exact copy gives back); without, reads back "target|arguments", or "<missing>".
std::wstring Shortcut(const std::wstring& path, const std::wstring& target = {},
                      const std::wstring& arguments = {});

inline const std::wstring RunBase = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
inline const std::wstring RunKey = RunBase + L"Run"; // the user's or the machine's

void SetRegString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& data,
                  DWORD type = REG_SZ);
void SetRegBinary(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                  const std::vector<BYTE>& data);
bool RegValueExists(HKEY root, const std::wstring& path, const std::wstring& name);
std::wstring RegStringValue(HKEY root, const std::wstring& path, const std::wstring& name,
                            DWORD* type = nullptr);
// Nobody may write to the key (made when missing); it may be read, deleted (so the scratch root can
// still be removed) and its rights changed again.
void DenyWrites(HKEY root, const std::wstring& path);

// A handle that no other open can share (or only as share allows), as another program might hold a file.
struct HeldFile
{
    explicit HeldFile(const std::wstring& path, DWORD share = 0)
        : handle(platform::MakeUniqueHandle(
              CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_ALWAYS, 0, nullptr)))
    {
    }
    platform::UniqueHandle handle;
};

// A memory picture, in the screen's colours.
struct Canvas
{
    explicit Canvas(const RECT& r = {0, 0, 16, 14})
        : bitmap(CreateBitmap(r.right - r.left, r.bottom - r.top, 1, 32, nullptr))
    {
    }
    HDC dc = CreateCompatibleDC(nullptr);
    platform::UniqueGdi<HBITMAP> bitmap;
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
};

void PumpMessages(); // every message waiting for this thread

// The entries of records of six texts, read as an entry file's.
StartupEntry MakeEntry(const FileRecord& texts);
std::vector<StartupEntry> MakeEntries(const std::vector<FileRecord>& texts);
// The row's texts as the list shows them now, but the Task Name exact.
FileRecord ShownTexts(const StartupEntry& row);
// Each row's text of column as the list shows it now, but the Task Name exact.
std::vector<std::wstring> RowTexts(const StartupList& list, int column);

class RavelinTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // The program folder of this test; Lang is absent until a test writes packs.
    std::wstring programFolder;
    std::wstring LangFolder() const { return programFolder + L"\\Lang"; }
    void WritePack(const std::wstring& fileName, const std::wstring& keyLines);
    void InstallShippedPacks();

    // Where this test's HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE live, under the real HKCU.
    const std::wstring& ScratchPath() const { return scratchPath_; }
    // The store, its copies and the user's copies key go; win.ini and the StartUp folders are emptied.
    void ClearSystemPlaces();
    // WinVerifyTrust finds its providers under HKEY_LOCAL_MACHINE, which is the scratch: without
    // them Wine's answers every file with success. A copy of the system's for the tests of
    // signatures (about 60 ms).
    void UseSystemTrust();

    std::wstring UserStartup() const { return platform::GetSpecialFolderPath(CSIDL_STARTUP); }
    std::wstring CommonStartup() const { return platform::GetSpecialFolderPath(CSIDL_COMMON_STARTUP); }

  private:
    HKEY scratchUser_ = nullptr, scratchMachine_ = nullptr;
    std::wstring scratchPath_;
};

} // namespace testsupport
