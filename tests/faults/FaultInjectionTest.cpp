// Ends an apply at each of its writes to the system in turn, in a real child process, then
// starts the program again and applies again: every entry of the start state must still be in
// its source or in the store, and once enabled again be exactly what it was.
#include "apply/ApplyFixture.h"
#include "model/StartupSource.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Registry.h"
#include "staging/EntryStore.h"

#include <shlobj.h>
#include <wrl/client.h>

#include <cstdio>

using namespace applytest;

namespace {

// One entry of the start state, as it must come back.
struct Entry {
    const wchar_t* loadFrom;
    std::wstring name; // the exact value name, the shortcut's name, or the win.ini row's name
    DWORD type;        // registry
    std::wstring text; // registry data, win.ini value, or shortcut target
    std::wstring arguments = {}; // shortcut
    bool switchedOff = false;    // by Windows, under StartupApproved: listed disabled, never taken out
    bool storedOnly = false;     // in the store, as an older build wrote it: no exact copy goes with it
};

const Entry Entries[] = {
    {L"Registry(User Run)", L"Alpha", REG_SZ, L"C:\\a.exe"},
    {L"Registry(User Run)", L"  Beta  ", REG_SZ, L"C:\\b.exe"},
    {L"Registry(User Run)", L"", REG_EXPAND_SZ, L"C:\\default.exe"},
    {L"Registry(User Run)", L"   ", REG_SZ, L"C:\\blanks.exe"},
    {L"Registry(User Run)", L"Percent", REG_SZ, L"%TEMP%\\p.exe"},
    {L"Registry(Machine Run)", L"Gamma", REG_EXPAND_SZ, L"%SystemRoot%\\g.exe"},
    {L"Registry(Machine Run)", L"Multi", REG_MULTI_SZ, std::wstring(L"m.exe\0-a", 8)},
    {L"Registry(Machine RunOnce)", L"Once", REG_SZ, L"C:\\once.exe"},
    {L"Registry(Machine Run 32-bit)", L"Wide", REG_EXPAND_SZ, L"%ProgramFiles(x86)%\\w.exe"},
    {L"Win.ini Load", L"Win.ini Load", REG_SZ, L"C:\\load.exe"},
    {L"Win.ini Run", L"Win.ini Run", REG_SZ, L"C:\\Long\\run.exe " + std::wstring(140, L'x')},
    {L"StartUp (Current User)", L"Tool", REG_SZ, L"C:\\tool.exe", L"-x --quiet"},
    {L"StartUp (All Users)", L"Common", REG_SZ, L"C:\\common.exe", L"/min"},
    {L"Registry(User Run)", L"Stored", REG_SZ, L"C:\\stored.exe", {}, false, true},
    {L"Registry(User Run)", L"Switched", REG_SZ, L"C:\\switched.exe", {}, true},
};

// Windows' switch, off since some time.
const std::vector<BYTE> SwitchOff = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};

std::vector<BYTE> Bytes(const std::wstring& text, bool multi = false)
{
    const std::wstring z = text + (multi ? std::wstring(2, L'\0') : std::wstring(1, L'\0'));
    const BYTE* p = reinterpret_cast<const BYTE*>(z.data());
    return {p, p + z.size() * sizeof(wchar_t)};
}

// With a target, writes the shortcut; reads back "target|arguments", or "<missing>".
std::wstring Shortcut(const std::wstring& path, const std::wstring& target = {}, const std::wstring& arguments = {})
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)))
        return L"<no link object>";
    if (!target.empty()) {
        link->SetPath(target.c_str());
        link->SetArguments(arguments.c_str());
        return SUCCEEDED(file->Save(path.c_str(), TRUE)) ? L"" : L"<not saved>";
    }
    if (!platform::FileExists(path) || FAILED(file->Load(path.c_str(), STGM_READ))) return L"<missing>";
    wchar_t text[MAX_PATH] = {}, args[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(args, MAX_PATH);
    return std::wstring(text) + L"|" + args;
}

class FaultInjectionTest : public ApplyTest {
  protected:
    // The start state, from nothing.
    void Seed()
    {
        ClearSystemPlaces();
        for (const Place& place : Places())
            if (place.kind == Place::Registry) RegDeleteTreeW(place.root, place.path.c_str());
        for (const Entry& e : Entries) {
            const Place& place = PlaceOf(e.loadFrom);
            if (e.storedOnly) {
                WriteEntryFile({Record(e.name, L"Disabled", place.loadFrom, e.text)}, StorePath(), 1);
            } else if (place.kind == Place::Registry) {
                testsupport::SetRegBinary(place.root, place.path, e.name, e.type, Bytes(e.text, e.type == REG_MULTI_SZ));
                if (e.switchedOff) SetSwitch(place, e.name, SwitchOff);
            } else if (place.kind == Place::WinIni) {
                WritePrivateProfileStringW(L"Windows", place.name.c_str(), e.text.c_str(),
                                           testsupport::WinIniPath().c_str());
            } else {
                EXPECT_EQ(Shortcut(Folder(place) + L"\\" + e.name + L".lnk", e.text, e.arguments), L"");
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
        EXPECT_EQ(code, 0u) << mode;
        return false;
    }

    // A win.ini line taken out is left empty.
    static bool InSource(const Entry& e)
    {
        const Place& place = PlaceOf(e.loadFrom);
        if (place.kind == Place::Registry) return testsupport::RegValueExists(place.root, place.path, e.name);
        const std::wstring found = ReadPlace(place, e.name);
        return found != L"<missing>" && !found.empty();
    }

    // Exactly as the start state had it: name, type and data; whole text; target and arguments.
    std::wstring Exactly(const Entry& e) const
    {
        const Place& place = PlaceOf(e.loadFrom);
        if (place.kind == Place::WinIni) return ReadPlace(place, e.name) == e.text ? L"" : L"win.ini value differs";
        if (place.kind == Place::StartUp)
            return Shortcut(Folder(place) + L"\\" + e.name + L".lnk") == e.text + L"|" + e.arguments ? L""
                                                                                               : L"shortcut differs";
        platform::RegValue value;
        if (platform::ReadRegValue(place.root, place.path, e.name, value) != ERROR_SUCCESS) return L"missing";
        if (value.type != e.type) return L"type " + std::to_wstring(value.type);
        if (e.switchedOff && SwitchedOffByWindows(Switch(place, e.name))) return L"still switched off";
        return value.data == Bytes(e.text, e.type == REG_MULTI_SZ) ? L"" : L"data differs";
    }
};

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
        for (const Entry& e : Entries) {
            bool inStore = false;
            for (const EntryRecord& r : stored) inStore |= r[TaskName] == e.name && r[LoadFrom] == e.loadFrom;
            EXPECT_TRUE(InSource(e) || inStore) << "stopped at write " << stopAt << ": [" << e.name << "] lost";
            ++checked;
        }
        // Enabled again, each is what it was.
        RunChild(L"enable", 0);
        for (const Entry& e : Entries)
            EXPECT_EQ(Exactly(e), L"") << "stopped at write " << stopAt << ": [" << e.name << "]";
        EXPECT_TRUE(StoredRecords().empty()) << "stopped at write " << stopAt;
        if (!stopped || HasFailure()) break;
    }
    EXPECT_GT(steps, static_cast<int>(std::size(Entries)));
    std::printf("%d writes tried, %d entries checked\n", steps, checked);
}
