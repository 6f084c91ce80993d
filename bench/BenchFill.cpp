// Fill benchmark: time from process start to the first paint of the filled list, and to the
// moment the window is interactive, for the real Ravelin.exe and for two floor programs, and
// FillStartupList alone; the timed start steps of Ravelin.exe; then a StartUp folder of 1 000
// shortcuts against listing it and reading the targets directly. The floors read the five run
// keys the plain way: FloorList shows them in a window with an owner-data list alone, FloorMain in
// a window with every control the main window shows at its start, themed and DPI aware.
//
// Interactive means: the window answers a message sent to it (SendMessageTimeout) once no start
// work is left queued. For Ravelin.exe that is after its start-work mark, set when the last message
// the start posts for after its first paint has run; the file facts (missing files, publishers)
// then go on on their worker and reach the list as they come, like any later change. The floors
// have no work after their paint.
// With --all-sources [other Ravelin.exe...], 1 000 entries spread over every place Windows starts
// programs from instead, some switched off by Windows' own flag, against the floor reading the same
// and against the floor of the nine places older builds read.
// --against other Ravelin.exe... does every size with the other builds started in turn.
// --runs N, before the rest, starts each program N times at each size instead of 9.
// Run it in a prefix of its own: it rewrites that prefix's run keys, win.ini and StartUp folders.
#include "PrefixState.h"
#include "StartTiming.h"
#include "staging/StartupFill.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Names.h"
#include "platform/Shortcuts.h"
#include "platform/Text.h"
#include "staging/EntryStore.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{

using bench::AllPlaces;
using bench::Least;
using bench::Median;
using bench::Now;
using bench::Place;
using bench::Start;
using bench::StartProgram;
using bench::Until;
const std::wstring& Base = bench::RunKeyBase;

double MedianOf(int runs, const std::function<double()>& measure)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(measure());
    return Median(times);
}

// N values in all over the five keys, with realistic names and about 60 characters of data.
void FillRunKeys(int n)
{
    struct Share
    {
        HKEY root;
        const wchar_t* key;
        int percent;
    };
    const Share shares[] = {{HKEY_CURRENT_USER, L"Run", 40},
                            {HKEY_LOCAL_MACHINE, L"Run", 30},
                            {HKEY_LOCAL_MACHINE, L"RunOnce", 10},
                            {HKEY_LOCAL_MACHINE, L"RunOnceEx", 10},
                            {HKEY_LOCAL_MACHINE, L"RunServices", 10}};
    int written = 0;
    for (size_t s = 0; s < std::size(shares); ++s)
    {
        int count = s + 1 == std::size(shares) ? n - written : n * shares[s].percent / 100;
        HKEY key;
        RegCreateKeyExW(shares[s].root, (Base + shares[s].key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr);
        for (int i = 0; i < count; ++i, ++written)
        {
            wchar_t name[64], data[128];
            swprintf(name, 64, L"Vendor%05d Update Helper", written);
            swprintf(data, 128, L"C:\\Program Files\\Vendor%05d\\Helper\\helper.exe --background --quiet",
                     written);
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                           static_cast<DWORD>((wcslen(data) + 1) * 2));
        }
        RegCloseKey(key);
    }
}

double TimeFill(int expectedRows)
{
    StartupState state;
    double start = Now();
    FillStartupList(state);
    double elapsed = Now() - start;
    if (state.List.Count() != expectedRows)
        std::printf("  (the fill listed %d rows, not %d)\n", state.List.Count(), expectedRows);
    return elapsed;
}

// n entries over every place: one per win.ini line, the rest shared evenly; every fifth entry
// with Windows' flag has it switched off, the others on.
void FillAllPlaces(int n)
{
    const std::wstring winIni = platform::GetWindowsFolder() + L"\\win.ini";
    const int shared = static_cast<int>(std::size(AllPlaces)) - 2;
    int written = 0, sharedPlace = 0;
    for (const Place& place : AllPlaces)
    {
        if (place.iniKey)
        {
            WritePrivateProfileStringW(L"Windows", place.iniKey, L"C:\\Tools\\clock.exe C:\\Tools\\notes.exe",
                                       winIni.c_str());
            ++written;
            continue;
        }
        const int count = ++sharedPlace == shared ? n - written : (n - 2) / shared;
        HKEY key = nullptr, approved = nullptr;
        if (place.root)
            RegCreateKeyExW(place.root, (Base + place.key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | place.view,
                            nullptr, &key, nullptr);
        if (place.approved)
            RegCreateKeyExW(place.approvedRoot,
                            (platform::names::ApprovedKey + std::wstring(place.approved)).c_str(), 0, nullptr,
                            0, KEY_SET_VALUE, nullptr, &approved, nullptr);
        const std::wstring folder = place.root ? L"" : platform::GetSpecialFolderPath(place.csidl);
        for (int i = 0; i < count; ++i, ++written)
        {
            wchar_t name[64], data[128];
            swprintf(name, 64, L"Vendor%05d Update Helper", written);
            swprintf(data, 128, L"C:\\Program Files\\Vendor%05d\\Helper\\helper.exe --background --quiet",
                     written);
            std::wstring flagName = name;
            if (key)
            {
                RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                               static_cast<DWORD>((wcslen(data) + 1) * 2));
            }
            else
            {
                platform::WriteShortcut(folder + L"\\" + name + L".lnk",
                                        L"C:\\Program Files\\Vendor\\helper.exe");
                flagName += L".lnk";
            }
            if (approved)
            {
                BYTE flag[12] = {static_cast<BYTE>(i % 5 == 0 ? 3 : 2)};
                RegSetValueExW(approved, flagName.c_str(), 0, REG_BINARY, flag, sizeof(flag));
            }
        }
        if (key)
            RegCloseKey(key);
        if (approved)
            RegCloseKey(approved);
    }
}

// Start to first paint of the real program, of other builds of it when given, and of the floor
// for every place and for the nine places of builds before the 32-bit keys (for which those
// builds show as much as the floor does), each run in turn so that all see the same load.
int AllSourcesBench(const std::vector<std::wstring>& programs, const std::wstring& floor)
{
    constexpr int entries = 1000, runs = 15;
    bench::ResetPrefixState();
    FillAllPlaces(entries);
    std::vector<std::vector<double>> times(programs.size() + 2);
    for (int i = 0; i < runs; ++i)
    {
        for (size_t p = 0; p < programs.size(); ++p)
            times[p].push_back(StartProgram(programs[p], Until::Painted).painted);
        for (const wchar_t* places : {L"all", L"nine"})
        {
            SetEnvironmentVariableW(L"RAVELIN_FLOOR_PLACES", places);
            times[programs.size() + (places[0] == L'n')].push_back(
                StartProgram(floor, Until::Painted).painted);
        }
        SetEnvironmentVariableW(L"RAVELIN_FLOOR_PLACES", nullptr);
    }
    // On a busy machine the fastest run tells more than the middle one: both are printed.
    auto fastest = [](const std::vector<double>& t) { return *std::min_element(t.begin(), t.end()); };
    const std::vector<double>& all = times[programs.size()];
    const std::vector<double>& nine = times[programs.size() + 1];
    std::printf("%d entries spread over every place (median and fastest of %d runs; times in ms)\n", entries,
                runs);
    std::printf("  floor, every place %.1f, fastest %.1f; the nine places %.1f, fastest %.1f\n", Median(all),
                fastest(all), Median(nine), fastest(nine));
    for (size_t p = 0; p < programs.size(); ++p)
        std::printf(
            "  %ls %.1f, fastest %.1f   ratio to every place %.2fx, fastest %.2fx; to the nine %.2fx, "
            "fastest %.2fx\n",
            programs[p].c_str(), Median(times[p]), fastest(times[p]), Median(times[p]) / Median(all),
            fastest(times[p]) / fastest(all), Median(times[p]) / Median(nine),
            fastest(times[p]) / fastest(nine));
    bench::ResetPrefixState();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    platform::ComApartment com;
    const std::wstring benchFolder = platform::ProgramFolder();
    const std::wstring buildFolder = benchFolder.substr(0, benchFolder.find_last_of(L'\\'));
    const std::wstring ravelin = buildFolder + L"\\Ravelin\\Ravelin.exe";
    const std::wstring listFloor = benchFolder + L"\\FloorList.exe";
    const std::wstring sameFloor = benchFolder + L"\\FloorMain.exe";
    platform::OverrideProgramFolder(buildFolder + L"\\Ravelin"); // the lookups read the shipped pack
    // --runs N first: more starts of each program where the machine's load varies a lot.
    int runs = 9;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0)
    {
        runs = std::max(1, std::atoi(argv[2]));
        argc -= 2, argv += 2;
    }
    if (argc > 1 && std::strcmp(argv[1], "--all-sources") == 0)
    {
        std::vector<std::wstring> programs{ravelin};
        for (int i = 2; i < argc; ++i)
            programs.push_back(platform::WideFromCodePage(CP_ACP, argv[i]));
        return AllSourcesBench(programs, listFloor);
    }

    const std::wstring userStartup = platform::GetSpecialFolderPath(CSIDL_STARTUP);
    // --start [other Ravelin.exe...]: only the starts at 100 and 1 000 entries, each other build
    // started in turn with the rest, for trying a change to the start. --against other
    // Ravelin.exe...: every size, each other build started in turn, for "no slower than before".
    const bool startOnly = argc > 1 && std::strcmp(argv[1], "--start") == 0;
    const bool against = argc > 1 && std::strcmp(argv[1], "--against") == 0;
    std::vector<std::wstring> others;
    for (int i = 2; (startOnly || against) && i < argc; ++i)
        others.push_back(platform::WideFromCodePage(CP_ACP, argv[i]));

    // Starts of Ravelin.exe and of the floors alternate, so that a change of load on the machine
    // weighs on all alike. The machine is shared: the least of the runs shows what a start costs
    // without the others' load, the median what it costs under it.
    const std::vector<int> sizes =
        startOnly ? std::vector<int>{100, 1000} : std::vector<int>{100, 1000, 10000, 32767};
    // Ravelin.exe, the two floors, then the other programs given.
    std::vector<std::wstring> programs{ravelin, listFloor, sameFloor};
    programs.insert(programs.end(), others.begin(), others.end());
    std::vector<std::wstring> stepNames;
    std::vector<std::vector<std::pair<double, double>>> stepTimesBySize; // [step][size]: median, least
    struct Row
    {
        std::vector<std::vector<double>> painted, ready; // [program][run]
        std::vector<SIZE> client;                        // [program], of the first run
        double fill;
    };
    std::vector<Row> rows(std::size(sizes));
    for (size_t s = 0; s < std::size(sizes); ++s)
    {
        const int n = sizes[s];
        bench::ResetPrefixState();
        FillRunKeys(n);
        Row& row = rows[s];
        row.painted.resize(programs.size());
        row.ready.resize(programs.size());
        row.client.resize(programs.size());
        std::vector<std::vector<double>> stepTimes;
        for (int run = 0; run < runs; ++run)
            for (size_t p = 0; p < programs.size(); ++p)
            {
                const bool floor = p == 1 || p == 2;
                const Start started =
                    StartProgram(programs[p], floor ? Until::Interactive : Until::StartWorkDone);
                row.painted[p].push_back(started.painted);
                row.ready[p].push_back(started.interactive);
                if (run == 0)
                    row.client[p] = started.client;
                for (const auto& [name, ms] : p == 0 ? started.steps : decltype(started.steps){})
                {
                    size_t k = std::find(stepNames.begin(), stepNames.end(), name) - stepNames.begin();
                    if (k == stepNames.size())
                    {
                        stepNames.push_back(name);
                        stepTimesBySize.emplace_back(std::size(sizes), std::pair(0.0, 0.0));
                    }
                    if (stepTimes.size() <= k)
                        stepTimes.resize(k + 1);
                    stepTimes[k].push_back(ms);
                }
            }
        for (size_t k = 0; k < stepTimes.size(); ++k)
            if (!stepTimes[k].empty())
                stepTimesBySize[k][s] = {Median(stepTimes[k]), Least(stepTimes[k])};
        row.fill = MedianOf(3, [&] { return TimeFill(n); });
    }

    const SIZE* client = rows[0].client.data();
    std::printf("Floors: the list alone (FloorList.exe, unthemed), and the same controls as the main window "
                "(FloorMain.exe, with the program's manifest)\n");
    std::printf(
        "Client areas at %d entries: Ravelin.exe %ldx%ld, list alone %ldx%ld, same controls %ldx%ld\n\n",
        sizes[0], client[0].cx, client[0].cy, client[1].cx, client[1].cy, client[2].cx, client[2].cy);
    auto table = [&](const char* title, bool ready) {
        std::printf("%s, five run keys (%d runs each; ms; ratios are Ravelin.exe's time over a floor's)\n",
                    title, runs);
        std::printf("%7s %-7s %12s %12s %14s %14s %17s", "N", "", "Ravelin.exe", "list alone",
                    "same controls", "to list alone", "to same controls");
        std::printf(ready ? "\n" : " %16s %16s\n", "FillStartupList", "fill per entry");
        for (size_t s = 0; s < std::size(sizes); ++s)
        {
            const auto& times = ready ? rows[s].ready : rows[s].painted;
            for (const bool least : {false, true})
            {
                auto of = [&](int program) { return least ? Least(times[program]) : Median(times[program]); };
                const double app = of(0), list = of(1), same = of(2);
                std::printf("%7s %-7s %12.1f %12.1f %14.1f %13.2fx %16.2fx",
                            least ? "" : std::to_string(sizes[s]).c_str(), least ? "least" : "median", app,
                            list, same, app / list, app / same);
                if (!ready && !least)
                    std::printf(" %16.1f %13.1f us", rows[s].fill, rows[s].fill * 1000.0 / sizes[s]);
                std::printf("\n");
            }
            for (size_t o = 0; ready && o < others.size(); ++o)
            {
                const std::vector<double>& other = times[3 + o];
                std::printf("%7s %-7s %12.1f %12s %14s %13.2fx %16.2fx  %ls\n", "", "median", Median(other),
                            "", "", Median(other) / Median(times[1]), Median(other) / Median(times[2]),
                            others[o].c_str());
            }
        }
    };
    table("Start to the first paint of the filled list", false);
    std::printf("\n");
    table("Start to interactive: the window answers with no start work left queued", true);

    std::printf("\nStart steps of Ravelin.exe (median and least of %d runs; ms of each step, the first from "
                "CreateProcess)\n",
                runs);
    std::printf("%-38s", "step");
    for (int n : sizes)
        std::printf(" %15d", n);
    std::printf("\n");
    for (size_t k = 0; k < stepNames.size(); ++k)
    {
        // The zero-length mark of the first paint divides the steps before it from those after.
        if (stepNames[k] == L"first paint")
        {
            std::printf("  -- first paint; after it:\n");
            continue;
        }
        std::printf("%-38ls", stepNames[k].c_str());
        for (const auto& [median, least] : stepTimesBySize[k])
            std::printf(" %7.1f %7.1f", median, least);
        std::printf("\n");
    }
    bench::ResetPrefixState();
    if (startOnly)
        return 0;

    std::printf("\nStartUp folder with 1000 shortcuts (median of 3 runs; times in ms)\n");
    for (int i = 0; i < 1000; ++i)
    {
        wchar_t name[64];
        swprintf(name, 64, L"\\Startup Tool %04d.lnk", i);
        platform::WriteShortcut(userStartup + name, L"C:\\Program Files\\Tools\\tool.exe");
    }
    double fill = MedianOf(3, [] { return TimeFill(1000); });
    double bare = MedianOf(3, [&] {
        double start = Now();
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((userStartup + L"\\*.*").c_str(), &data);
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
        Microsoft::WRL::ComPtr<IPersistFile> file;
        link.As(&file);
        int read = 0;
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                wchar_t target[MAX_PATH];
                if (SUCCEEDED(file->Load((userStartup + L"\\" + data.cFileName).c_str(), STGM_READ)) &&
                    SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)))
                    ++read;
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        if (read != 1000)
            std::printf("  (the floor read %d targets)\n", read);
        return Now() - start;
    });
    std::printf("  FillStartupList %.1f   floor (listing + reading targets) %.1f   ratio %.2fx\n", fill, bare,
                fill / bare);
    bench::ResetPrefixState();
    return 0;
}
