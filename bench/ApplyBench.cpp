// Times ApplyNow on registry rows beside the floor: the registry calls that an apply which loses
// nothing must make, alone, on keys already open. Disable reads each value, writes its exact copy
// and deletes it; Enable reads the copy, looks whether the place is taken, writes the value and
// deletes the copy; Remove deletes. The registry is redirected into a scratch key that is removed
// at the end; the prefix's other startup places, the store and its copies are emptied before and
// after, so that the fill finds the bench's rows and no others.
#include "PrefixState.h"
#include "model/StartupSource.h"
#include "staging/StartupFill.h"
#include "apply/ApplyEngine.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "staging/EntryStore.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

const std::wstring RunPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int Rounds = 3;

// Each timed part starts from a machine at rest: under Wine, calls to its server answer several
// times faster in the first few tens of milliseconds of a burst than later in it, so a part timed
// straight after other work would be timed slower than the same part timed after a pause.
double Milliseconds(const std::function<void()>& work)
{
    Sleep(200);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

std::wstring Name(int i)
{
    wchar_t name[32];
    swprintf(name, 32, L"Task%05d", i);
    return name;
}

std::wstring Data(int i)
{
    return L"C:\\Program Files\\Vendor\\app" + std::to_wstring(i) + L".exe -tray";
}

void SetAll(HKEY key, int rows)
{
    for (int i = 0; i < rows; ++i)
    {
        const std::wstring data = Data(i);
        RegSetValueExW(key, Name(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
}

void DeleteAll(HKEY key, int rows)
{
    for (int i = 0; i < rows; ++i)
        RegDeleteValueW(key, Name(i).c_str());
}

// A value read as the apply reads one: into a buffer, its type and size with it.
DWORD Query(HKEY key, const std::wstring& name, std::vector<BYTE>& data, DWORD& type)
{
    DWORD size = static_cast<DWORD>(data.size());
    const DWORD error = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    data.resize(error == ERROR_SUCCESS ? size : data.size());
    return error;
}

void FloorDisable(HKEY run, HKEY copies, int rows)
{
    for (int i = 0; i < rows; ++i)
    {
        const std::wstring name = Name(i);
        std::vector<BYTE> data(512);
        DWORD type = REG_NONE;
        if (Query(run, name, data, type) == ERROR_SUCCESS)
            RegSetValueExW(copies, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        RegDeleteValueW(run, name.c_str());
    }
}

void FloorEnable(HKEY run, HKEY copies, int rows)
{
    for (int i = 0; i < rows; ++i)
    {
        const std::wstring name = Name(i);
        std::vector<BYTE> copy(512), there(512);
        DWORD type = REG_NONE, thereType = REG_NONE;
        if (Query(copies, name, copy, type) == ERROR_SUCCESS &&
            Query(run, name, there, thereType) != ERROR_SUCCESS)
            RegSetValueExW(run, name.c_str(), 0, type, copy.data(), static_cast<DWORD>(copy.size()));
        RegDeleteValueW(copies, name.c_str());
    }
}

// An apply timed is one that did all it was given: a round that failed part of it (the store
// refused, a value refused) would be timed doing less and is told instead of kept.
bool Complete(const ApplyResult& r, int expected, const char* change)
{
    const int done = r.written + r.takenOut;
    if (done == expected && r.failures.empty() && !r.storeError && !r.lockError && !r.storeNotRead)
        return true;
    std::printf("  %s: %d of %d done, %zu failed (first error %lu), store error %lu, lock error %lu%s\n",
                change, done, expected, r.failures.size(), r.failures.empty() ? 0ul : r.failures[0].error,
                r.storeError, r.lockError, r.storeNotRead ? ", store not read" : "");
    return false;
}

void StageAll(StartupState& state, EntryState status, int step = 1)
{
    for (int row = 1; row <= state.List.Count(); row += step)
        state.List.SetState(row, status);
}

struct Figures
{
    double apply = 1e30, floor = 1e30;
    void Keep(double a, double f, bool complete = true)
    {
        if (complete)
            apply = std::min(apply, a);
        floor = std::min(floor, f);
    }
};

void Print(int rows, const char* change, int changed, const Figures& f)
{
    if (f.apply >= 1e30)
    {
        std::printf("%6d  %-22s no round did all of it\n", rows, change);
        return;
    }
    std::printf("%6d  %-22s %8.1f ms %8.1f ms   %6.1f us %6.1f us   %5.2fx\n", rows, change, f.apply, f.floor,
                f.apply * 1000.0 / changed, f.floor * 1000.0 / changed, f.apply / f.floor);
}

void Measure(HKEY key, HKEY copies, int rows)
{
    DeleteAll(key, rows);
    SetAll(key, rows);
    StartupState state;
    FillStartupList(state);
    if (state.List.Count() != rows)
    {
        std::printf("expected %d rows, the fill gave %d\n", rows, state.List.Count());
        return;
    }
    Figures disable, enable, remove, store;
    for (int round = 0; round < Rounds; ++round)
    {
        // Disable every row: N deletes and a store of N records.
        StageAll(state, EntryState::Disabled);
        ApplyResult result;
        double apply = Milliseconds([&] { result = ApplyNow(state); });
        bool complete = Complete(result, rows, "disable");
        SetAll(key, rows);
        DeleteAll(copies, rows);
        double floor = Milliseconds([&] { FloorDisable(key, copies, rows); });
        disable.Keep(apply, floor, complete);
        double storeOnly = Milliseconds([&] { SaveDisabledEntries(state); });
        store.Keep(storeOnly, storeOnly);

        // Enable them again: N writes, the store deleted.
        StageAll(state, EntryState::Enabled);
        apply = Milliseconds([&] { result = ApplyNow(state); });
        complete = Complete(result, rows, "enable");
        DeleteAll(key, rows);
        SetAll(copies, rows);
        floor = Milliseconds([&] { FloorEnable(key, copies, rows); });
        enable.Keep(apply, floor, complete);
    }
    // Remove every second row: N/2 deletes, rows and records dropped from the middle. Each round
    // starts from every row there again, read by a fill of its own.
    for (int round = 0; round < Rounds; ++round)
    {
        StartupState fresh;
        FillStartupList(fresh);
        StageAll(fresh, EntryState::Remove, 2);
        ApplyResult result;
        const double apply = Milliseconds([&] { result = ApplyNow(fresh); });
        const bool complete = Complete(result, (rows + 1) / 2, "remove");
        SetAll(key, rows);
        const double floor = Milliseconds([&] {
            for (int i = 0; i < rows; i += 2)
                RegDeleteValueW(key, Name(i).c_str());
        });
        remove.Keep(apply, floor, complete);
        SetAll(key, rows);
    }

    Print(rows, "disable (store write)", rows, disable);
    std::printf("%6s  %-22s %8.1f ms\n", "", "  of which the store", store.apply);
    Print(rows, "enable", rows, enable);
    Print(rows, "remove every second", rows / 2, remove);
    DeleteAll(key, rows);
}

} // namespace

int main()
{
    platform::ComApartment com;
    // Look words up in the shipped English pack, as the program does.
    platform::OverrideProgramFolder(platform::ProgramFolder() + L"\\..\\Ravelin");
    LanguageFile = L"English.ini";

    const std::wstring scratch = L"Software\\RavelinBench\\" + std::to_wstring(GetCurrentProcessId());
    HKEY user = nullptr, machine = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &user, nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &machine, nullptr);
    // Wine gives a key a 32-bit view of its own only under a Wow6432Node subkey, as HKLM\Software
    // has: without it the 32-bit source would read the same Run key again.
    HKEY wow = nullptr;
    RegCreateKeyExW(machine, L"Software\\Wow6432Node", 0, nullptr, 0, KEY_READ, nullptr, &wow, nullptr);
    RegCloseKey(wow);
    bench::ResetPrefixState();
    RegOverridePredefKey(HKEY_CURRENT_USER, user);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);

    HKEY run = nullptr, copies = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, RunPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                    nullptr, &run, nullptr);
    // The floor's copies in a key of their own, beside the program's.
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\RavelinBenchCopies", 0, nullptr, 0,
                    KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &copies, nullptr);
    std::printf("ApplyNow on machine Run rows, best of %d; floor: the registry calls of a safe apply alone\n",
                Rounds);
    std::printf("%6s  %-22s %11s %11s   %9s %9s   %6s\n", "rows", "change", "ApplyNow", "floor", "per row",
                "floor/row", "ratio");
    for (int rows : {1000, 10000})
        Measure(run, copies, rows);
    RegCloseKey(run);
    RegCloseKey(copies);

    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(user);
    RegCloseKey(machine);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\RavelinBench");
    bench::ResetPrefixState();
    return 0;
}
