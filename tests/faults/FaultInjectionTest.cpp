// Ends an apply at each of its writes to the system in turn, in a real child process, then
// starts the program again and applies again: every entry of the start state must still be in
// its source or in the store, and once enabled again be exactly what it was.
#include "apply/ApplyFixture.h"
#include "model/StartupSource.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Handles.h"
#include "platform/Registry.h"
#include "staging/EntryStore.h"
#include "support/Processes.h"
#include "support/ServicesFixture.h"

#include <cstdio>

using namespace applytest;
using testsupport::Shortcut;

namespace
{

// One entry of the start state, as it must come back.
struct Entry
{
    const wchar_t* loadFrom;
    std::wstring name;           // the exact value name, the shortcut's name, or the win.ini row's name
    DWORD type;                  // registry
    std::wstring text;           // registry data, win.ini value, or shortcut target
    std::wstring arguments = {}; // shortcut
    // By Windows, under StartupApproved, which Wine's start ignores: listed enabled, taken out and
    // put back like any other, its switch as it was.
    bool switchedOff = false;
    bool storedOnly = false; // in the store, as an older build wrote it: no exact copy goes with it
    // Written back by its program while the store held an older text of it.
    std::wstring storedBefore = {};
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
    {L"Registry(User Run)", L"Two\r\nLines", REG_SZ, L"C:\\Apps\\a.exe\r\nDisabled\r\nRegistry(Machine Run)"},
    {L"Registry(User Run)", std::wstring(16383, L'N'), REG_SZ, L"C:\\long.exe"},
    {L"Registry(User Run)", L"Number", REG_DWORD, std::wstring(L"\x0007\0", 2)},
    {L"Registry(Machine RunOnceEx)", L"0001\\Step", REG_SZ, L"C:\\step.exe"},
    {L"Registry(User Run)", L"Sync", REG_SZ, L"C:\\New\\sync.exe", {}, false, false, L"C:\\Old\\sync.exe"},
};
// RunOnceEx's own setting, which no apply may change.
const std::vector<BYTE> ExFlags = {0x20, 0, 0, 0};
const std::wstring ExKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";

// Windows' switch, off since some time.
const std::vector<BYTE> SwitchOff = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};

// The value's bytes: a string ends in NUL (a multi-string in two); a number's text holds its bytes.
std::vector<BYTE> Bytes(const std::wstring& text, DWORD type)
{
    const std::wstring z = type == REG_DWORD      ? text
                           : type == REG_MULTI_SZ ? text + std::wstring(2, L'\0')
                                                  : text + std::wstring(1, L'\0');
    const BYTE* p = reinterpret_cast<const BYTE*>(z.data());
    return {p, p + z.size() * sizeof(wchar_t)};
}

// The services of a test are made by the services fixture, which deletes them after.
class FaultInjectionTest : public servicetest::ServicesTest
{
  protected:
    // The start state, from nothing.
    void Seed()
    {
        ClearSystemPlaces();
        for (const Place& place : Places())
            if (place.kind == Place::Registry)
                RegDeleteTreeW(place.root, place.path.c_str());
        testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, ExKey, L"Flags", REG_DWORD, ExFlags);
        std::vector<EntryRecord> stored;
        for (const Entry& e : Entries)
        {
            const Place& place = PlaceOf(e.loadFrom);
            if (!e.storedBefore.empty())
                stored.push_back(Record(e.name, L"Disabled", place.loadFrom, e.storedBefore));
            if (e.storedOnly)
                stored.push_back(Record(e.name, L"Disabled", place.loadFrom, e.text));
            else if (place.kind == Place::Registry)
            {
                const auto [key, value] = KeyAndValue(e);
                testsupport::SetRegBinary(place.root, key, value, e.type, Bytes(e.text, e.type));
                if (e.switchedOff)
                    SetSwitch(place, e.name, SwitchOff);
            }
            else if (place.kind == Place::WinIni)
                SeedPlace(place, e.name, e.text);
            else
            {
                EXPECT_EQ(Shortcut(Folder(place) + L"\\" + e.name + L".lnk", e.text, e.arguments), L"");
            }
        }
        WriteEntryFile(FileRecords(stored), StorePath());
    }

    std::wstring Folder(const Place& place) const { return platform::GetSpecialFolderPath(place.csidl); }

    // Runs the child; true when it stopped before write stopAt and was ended there.
    bool RunChild(const wchar_t* mode, int stopAt, const std::wstring& servicePrefix = {})
    {
        const std::wstring child = testsupport::BuildFolder() + L"\\tests\\apply_child.exe";
        std::wstring line = L"\"" + child + L"\" \"" + ScratchPath() + L"\" " + mode + L" " +
                            std::to_wstring(stopAt) + L" RavelinFaultStop" +
                            (servicePrefix.empty() ? L"" : L" " + servicePrefix);
        platform::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, L"RavelinFaultStop"));
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(child.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi));
        platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
        HANDLE waits[] = {event.get(), pi.hProcess};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 120000);
        if (woke == WAIT_OBJECT_0)
        {
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

    // The key and the value name: a RunOnceEx section's entry is named "<subkey>\\<value>".
    static std::pair<std::wstring, std::wstring> KeyAndValue(const Entry& e)
    {
        const Place& place = PlaceOf(e.loadFrom);
        const size_t slash = place.name == L"RunOnceEx" ? e.name.find(L'\\') : std::wstring::npos;
        if (slash == std::wstring::npos)
            return {place.path, e.name};
        return {place.path + L"\\" + e.name.substr(0, slash), e.name.substr(slash + 1)};
    }
    static LONG ReadValue(const Entry& e, platform::RegValue& value)
    {
        const auto [key, name] = KeyAndValue(e);
        return platform::ReadRegValue(PlaceOf(e.loadFrom).root, key, name, value);
    }

    // A win.ini line taken out is left empty.
    static bool InSource(const Entry& e)
    {
        const Place& place = PlaceOf(e.loadFrom);
        if (place.kind == Place::Registry)
        {
            platform::RegValue value;
            return ReadValue(e, value) == ERROR_SUCCESS;
        }
        const std::wstring found = ReadPlace(place, e.name);
        return found != L"<missing>" && !found.empty();
    }

    // Exactly as the start state had it: name, type and data; whole text; target and arguments.
    std::wstring Exactly(const Entry& e) const
    {
        const Place& place = PlaceOf(e.loadFrom);
        if (place.kind == Place::WinIni)
            return ReadPlace(place, e.name) == e.text ? L"" : L"win.ini value differs";
        if (place.kind == Place::StartUp)
            return Shortcut(Folder(place) + L"\\" + e.name + L".lnk") == e.text + L"|" + e.arguments
                       ? L""
                       : L"shortcut differs";
        platform::RegValue value;
        if (ReadValue(e, value) != ERROR_SUCCESS)
            return L"missing";
        if (value.type != e.type)
            return L"type " + std::to_wstring(value.type);
        if (e.switchedOff && Switch(place, e.name) != SwitchOff)
            return L"its switch changed";
        return value.data == Bytes(e.text, e.type) ? L"" : L"data differs";
    }

    // After a start and an apply again, each entry in its source or in the store; enabled again,
    // each exactly as it was. when: where the stop was, for the messages.
    void ExpectNoneLost(const std::wstring& when)
    {
        RunChild(L"again", 0);
        const std::vector<EntryRecord> stored = StoredRecords();
        for (const Entry& e : Entries)
        {
            bool inStore = false;
            for (const EntryRecord& r : stored)
                inStore |= r.name == e.name && ToFileRecord(r)[LoadFrom] == e.loadFrom;
            EXPECT_TRUE(InSource(e) || inStore) << when << ": [" << e.name << "] lost";
        }
        RunChild(L"enable", 0);
        for (const Entry& e : Entries)
            EXPECT_EQ(Exactly(e), L"") << when << ": [" << e.name << "]";
    }
};

} // namespace

TEST_F(FaultInjectionTest, AnApplyEndedAtAnyWriteLosesNoEntry)
{
    int steps = 0;
    for (int stopAt = 1;; ++stopAt)
    {
        Seed();
        const bool stopped = RunChild(L"stage", stopAt);
        steps += stopped;
        ExpectNoneLost(L"stopped at write " + std::to_wstring(stopAt));
        // Only the older text of an entry written back may wait in the store, for the user to decide.
        for (const EntryRecord& r : StoredRecords())
            EXPECT_EQ(r.location, L"C:\\Old\\sync.exe") << "stopped at write " << stopAt << ": " << r.name;
        platform::RegValue flags;
        EXPECT_EQ(platform::ReadRegValue(HKEY_LOCAL_MACHINE, ExKey, L"Flags", flags), ERROR_SUCCESS);
        EXPECT_EQ(flags.data, ExFlags) << "stopped at write " << stopAt;
        if (!stopped || HasFailure())
            break;
    }
    EXPECT_GT(steps, static_cast<int>(std::size(Entries)));
    std::printf("%d writes tried, %d entries checked at each\n", steps, static_cast<int>(std::size(Entries)));
}

TEST_F(FaultInjectionTest, ADelayOrUndelayEndedAtAnyWriteLosesNoEntry)
{
    for (const wchar_t* mode : {L"delay", L"undelay"})
    {
        int steps = 0;
        for (int stopAt = 1;; ++stopAt)
        {
            Seed();
            if (std::wstring_view(mode) == L"undelay")
                RunChild(L"delay", 0);
            const bool stopped = RunChild(mode, stopAt);
            steps += stopped;
            ExpectNoneLost(std::wstring(mode) + L" stopped at write " + std::to_wstring(stopAt));
            EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, testsupport::RunKey,
                                                     platform::names::LauncherValue))
                << mode << " stopped at write " << stopAt << ": the launcher starts with nothing delayed";
            if (!stopped || HasFailure())
                break;
        }
        EXPECT_GT(steps, 10) << mode;
        std::printf("%ls: %d writes tried\n", mode, steps);
    }
}

TEST_F(FaultInjectionTest, AServicesApplyEndedAtAnyWriteLosesNoStartType)
{
    using namespace servicetest;
    // Disabled, then enabled back: automatic, delayed, manual; and one disabled by someone else.
    const std::pair<std::wstring, ServiceStart> services[] = {{Make(L"Auto", Automatic), Automatic},
                                                              {Make(L"Delayed", Delayed), Delayed},
                                                              {Make(L"Manual", Manual), Manual},
                                                              {Make(L"Other", Off), Off}};
    const std::wstring prefix = L"RavTest" + std::to_wstring(GetCurrentProcessId()) + L"-"; // theirs alone
    int steps = 0;
    for (int stopAt = 1;; ++stopAt)
    {
        platform::RemoveFile(ServiceStartsPath(), true);
        for (const auto& [name, start] : services)
            ASSERT_TRUE(servicetest::MakeService(name, start));
        const bool stopped = RunChild(L"services-stage", stopAt, prefix);
        steps += stopped;
        RunChild(L"services-again", 0, prefix);
        // Each of the three is as it was, or disabled with its start remembered.
        const RememberedStarts remembered = ReadRememberedStarts();
        EXPECT_TRUE(remembered.error == ERROR_SUCCESS && remembered.unreadable == 0);
        for (const auto& [name, start] : services)
        {
            const ServiceStart now = servicetest::StartOf(name);
            const RememberedStart* kept = RememberedFor(remembered.entries, name);
            if (start.type == SERVICE_DISABLED)
                EXPECT_TRUE(now.type == SERVICE_DISABLED || now == ServiceStart{}) << stopAt;
            else
                EXPECT_TRUE(now == start || (now.type == SERVICE_DISABLED && kept && kept->start == start))
                    << "stopped at write " << stopAt << ": " << name.c_str() << " lost its start type";
        }
        RunChild(L"services-enable", 0, prefix);
        for (const auto& [name, start] : services)
            EXPECT_EQ(servicetest::StartOf(name), start.type == SERVICE_DISABLED ? ServiceStart{} : start)
                << "stopped at write " << stopAt << ": " << name.c_str();
        EXPECT_FALSE(platform::FileExists(ServiceStartsPath())) << "nothing left to remember";
        if (!stopped || HasFailure())
            break;
    }
    // The remembered start is written ahead, then each change, the delayed flag apart; then the rest.
    EXPECT_GE(steps, 5);
    std::printf("%d writes of the services apply tried\n", steps);
}
