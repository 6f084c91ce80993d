// Ends an apply at each of its writes to the system in turn, in a real child process, then
// starts the program again and applies again: every entry of the start state must still be in
// its source or in the store, and once enabled again be exactly what it was.
#include "apply/ApplyFixture.h"
#include "app/StartupSource.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "staging/EntryStore.h"

#include <shlobj.h>
#include <wrl/client.h>

#include <cstdio>

using namespace applytest;

namespace {

// One entry of the start state, as it must come back.
struct Entry {
    const Place* place;
    std::wstring name; // the exact value name, the shortcut's name, or the win.ini row's name
    DWORD type = REG_SZ;
    std::vector<BYTE> data;  // registry
    std::wstring text;       // win.ini value, or shortcut target
    std::wstring arguments;  // shortcut
    bool switchedOff = false; // by Windows, under StartupApproved: listed disabled, never taken out
};

// Windows' switch, off since some time.
const std::vector<BYTE> SwitchOff = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};

std::vector<BYTE> Bytes(const std::wstring& text, bool multi = false)
{
    std::wstring z = text + L'\0';
    if (multi) z += L'\0';
    const BYTE* p = reinterpret_cast<const BYTE*>(z.data());
    return {p, p + z.size() * sizeof(wchar_t)};
}

void WriteShortcutWithArguments(const std::wstring& path, const std::wstring& target, const std::wstring& arguments)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Save(path.c_str(), TRUE));
}

// "<missing>" when there is no shortcut; else target and arguments.
std::wstring ShortcutText(const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (!platform::FileExists(path) ||
        FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return L"<missing>";
    wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, MAX_PATH);
    return std::wstring(target) + L"|" + arguments;
}

std::wstring FullWinIniValue(const std::wstring& key)
{
    return platform::ReadProfileValue(L"Windows", key, platform::GetWindowsFolder() + L"\\win.ini", 4096);
}

class FaultInjectionTest : public ApplyTest {
  protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        auto reg = [](const wchar_t* loadFrom, std::wstring name, DWORD type, std::vector<BYTE> data) {
            return Entry{&PlaceOf(loadFrom), std::move(name), type, std::move(data), L"", L""};
        };
        auto other = [](const wchar_t* loadFrom, std::wstring name, std::wstring text, std::wstring arguments = {}) {
            return Entry{&PlaceOf(loadFrom), std::move(name), REG_SZ, {}, std::move(text), std::move(arguments)};
        };
        entries = {
            reg(L"Registry(User Run)", L"Alpha", REG_SZ, Bytes(L"C:\\a.exe")),
            reg(L"Registry(User Run)", L"  Beta  ", REG_SZ, Bytes(L"C:\\b.exe")),
            reg(L"Registry(User Run)", L"", REG_EXPAND_SZ, Bytes(L"C:\\default.exe")),
            reg(L"Registry(User Run)", L"   ", REG_SZ, Bytes(L"C:\\blanks.exe")),
            reg(L"Registry(User Run)", L"Percent", REG_SZ, Bytes(L"%TEMP%\\p.exe")),
            reg(L"Registry(Machine Run)", L"Gamma", REG_EXPAND_SZ, Bytes(L"%SystemRoot%\\g.exe")),
            reg(L"Registry(Machine Run)", L"Multi", REG_MULTI_SZ, Bytes(std::wstring(L"m.exe\0-a", 8), true)),
            reg(L"Registry(Machine RunOnce)", L"Once", REG_SZ, Bytes(L"C:\\once.exe")),
            reg(L"Registry(Machine Run 32-bit)", L"Wide", REG_EXPAND_SZ, Bytes(L"%ProgramFiles(x86)%\\w.exe")),
            other(L"Win.ini Load", L"Win.ini Load", L"C:\\load.exe"),
            other(L"Win.ini Run", L"Win.ini Run", L"C:\\Long\\run.exe " + std::wstring(140, L'x')),
            other(L"StartUp (Current User)", L"Tool", L"C:\\tool.exe", L"-x --quiet"),
            other(L"StartUp (All Users)", L"Common", L"C:\\common.exe", L"/min"),
            // Only in the store, as an older build wrote it: no exact copy goes with it.
            reg(L"Registry(User Run)", L"Stored", REG_SZ, Bytes(L"C:\\stored.exe")),
            reg(L"Registry(User Run)", L"Switched", REG_SZ, Bytes(L"C:\\switched.exe")),
        };
        entries.back().switchedOff = true;
    }

    // The start state, from nothing.
    void Seed()
    {
        ClearSystemPlaces();
        for (const Place& place : Places())
            if (place.kind == Place::Registry) RegDeleteTreeW(place.root, place.path.c_str());
        for (const Entry& e : entries) {
            const Place& place = *e.place;
            if (e.name == L"Stored") {
                WriteEntryFile({Record(e.name, L"Disabled", place.loadFrom, L"C:\\stored.exe")}, StorePath(), 1);
            } else if (place.kind == Place::Registry) {
                testsupport::SetRegBinary(place.root, place.path, e.name, e.type, e.data);
                if (e.switchedOff) SetSwitch(place, e.name, SwitchOff);
            } else if (place.kind == Place::WinIni) {
                WritePrivateProfileStringW(L"Windows", place.name.c_str(), e.text.c_str(), WinIniPath().c_str());
            } else {
                WriteShortcutWithArguments(Folder(place) + L"\\" + e.name + L".lnk", e.text, e.arguments);
            }
        }
    }

    std::wstring Folder(const Place& place) const { return platform::GetSpecialFolderPath(place.csidl); }

    // Runs the child; true when it stopped before write stopAt and was ended there.
    bool RunChild(const wchar_t* mode, int stopAt)
    {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring child = self;
        child = child.substr(0, child.find_last_of(L'\\')) + L"\\apply_child.exe";
        std::wstring line = L"\"" + child + L"\" \"" + ScratchPath() + L"\" " + mode + L" " + std::to_wstring(stopAt) +
                            L" RavelinFaultStop";
        platform::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, L"RavelinFaultStop"));
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(child.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
        HANDLE waits[] = {event.get(), pi.hProcess};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 120000);
        if (woke == WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 9);
            WaitForSingleObject(pi.hProcess, INFINITE);
            return true;
        }
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(woke, WAIT_OBJECT_0 + 1) << "the child did not end";
        EXPECT_EQ(code, 0u) << "child " << std::string(mode, mode + wcslen(mode));
        return false;
    }

    bool InSource(const Entry& e) const
    {
        const Place& place = *e.place;
        if (place.kind == Place::Registry) return testsupport::RegValueExists(place.root, place.path, e.name);
        if (place.kind == Place::WinIni) return !FullWinIniValue(place.name).empty();
        return platform::FileExists(Folder(place) + L"\\" + e.name + L".lnk");
    }

    // Exactly as the start state had it: name, type and data; whole text; target and arguments.
    std::wstring Exactly(const Entry& e) const
    {
        const Place& place = *e.place;
        if (place.kind == Place::WinIni) return FullWinIniValue(place.name) == e.text ? L"" : L"win.ini value differs";
        if (place.kind == Place::StartUp)
            return ShortcutText(Folder(place) + L"\\" + e.name + L".lnk") == e.text + L"|" + e.arguments
                       ? L""
                       : L"shortcut differs";
        platform::RegValue value;
        if (platform::ReadRegValue(place.root, place.path, e.name, value) != ERROR_SUCCESS) return L"missing";
        if (value.type != e.type) return L"type " + std::to_wstring(value.type);
        if (e.switchedOff && SwitchedOffByWindows(Switch(place, e.name))) return L"still switched off";
        return value.data == e.data ? L"" : L"data differs";
    }

    std::vector<Entry> entries;
};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

TEST_F(FaultInjectionTest, AnApplyEndedAtAnyWriteLosesNoEntry)
{
    int steps = 0, checked = 0;
    for (int stopAt = 1;; ++stopAt) {
        Seed();
        const bool stopped = RunChild(L"stage", stopAt);
        if (stopped) ++steps;
        // Started again and applied again: each entry in its source or in the store.
        RunChild(L"again", 0);
        const std::vector<EntryRecord> stored = StoredRecords();
        for (const Entry& e : entries) {
            bool inStore = false;
            for (const EntryRecord& r : stored) inStore |= r[TaskName] == e.name && r[LoadFrom] == e.place->loadFrom;
            EXPECT_TRUE(InSource(e) || inStore) << "stopped at write " << stopAt << ": \"" << Narrow(e.name) << "\" lost";
            ++checked;
        }
        // Enabled again, each is what it was.
        RunChild(L"enable", 0);
        for (const Entry& e : entries)
            EXPECT_EQ(Exactly(e), L"") << "stopped at write " << stopAt << ": \"" << Narrow(e.name) << "\"";
        EXPECT_TRUE(StoredRecords().empty()) << "stopped at write " << stopAt;
        if (!stopped || HasFailure()) break;
    }
    EXPECT_GT(steps, static_cast<int>(entries.size()));
    std::printf("%d writes tried, %d entries checked\n", steps, checked);
}
