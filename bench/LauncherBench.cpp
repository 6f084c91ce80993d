// The launcher's own CPU time: 20 demo programs delayed by 1 s in the user's Run key, started by
// the real RavelinStart.exe /user as a logon would, its user and kernel time read once it ended.
//   bench_launcher [/setup]   (/setup: only delays every entry of the list, for the run that measures)
// The prefix's startup places and the store are emptied before and after.
#include "PrefixState.h"
#include "apply/ApplyEngine.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Processes.h"
#include "staging/StagingCommands.h"
#include "staging/StartupFill.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace
{

// Every entry of the list delayed by 1 s and applied.
int DelayEveryEntry()
{
    platform::ComApartment com;
    StartupState state;
    FillStartupList(state);
    FileFactsTable facts;
    for (int row = 1; row <= state.List.Count(); ++row)
    {
        state.List.Select(row);
        DelaySelected(state, 1, facts);
    }
    return ApplyNow(state).failures.empty() ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wstring_view(argv[1]) == L"/setup")
        return DelayEveryEntry();
    constexpr int Entries = 20;
    const std::wstring build = platform::ProgramFolder() + L"\\..";
    const std::wstring program = build + L"\\demo\\syncdrive.exe";
    const std::wstring log = platform::ProgramFolder() + L"\\launcher-bench.log";
    bench::ResetPrefixState();
    platform::RemoveFile(log, true);
    HKEY run = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (bench::RunKeyBase + L"Run").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &run, nullptr);
    for (int i = 0; i < Entries; ++i)
    {
        const std::wstring data = L"\"" + program + L"\" /log " + log + L" Bench" + std::to_wstring(i);
        RegSetValueExW(run, (L"Bench" + std::to_wstring(i)).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * 2));
    }
    RegCloseKey(run);
    // The delays are staged and applied by a second run of this program: what that loads and
    // starts under Wine (COM, the file checks) makes every program this one starts after cost
    // 150 ms more (measured), which a logon's launcher never pays.
    platform::StartedProcess setup;
    if (platform::StartCommand(L"\"" + platform::ProgramFolder() + L"\\bench_launcher.exe\" /setup", setup))
        return 1;
    while (setup.Running())
        Sleep(50);
    // What any process costs here to start and end, the floor under the launcher's figures; then
    // the launcher with nothing to start: what its own start and the store's read cost.
    auto cpuOf = [&](const std::wstring& line) {
        platform::StartedProcess process;
        if (platform::StartCommand(line, process))
            return -1.0;
        while (process.Running())
            Sleep(50);
        return double(process.CpuTime()) / 10000.0;
    };
    std::printf("a program that does nothing (demo): CPU %.1f ms\n", cpuOf(L"\"" + program + L"\""));
    std::printf("launcher with nothing to start (/machine): CPU %.1f ms\n",
                cpuOf(L"\"" + build + L"\\Ravelin\\RavelinStart.exe\" /machine"));
    const ULONGLONG wall = GetTickCount64();
    platform::StartedProcess launcher;
    const DWORD error =
        platform::StartCommand(L"\"" + build + L"\\Ravelin\\RavelinStart.exe\" /user", launcher);
    while (!error && launcher.Running())
        Sleep(50);
    const double cpu = double(launcher.CpuTime()) / 10000.0;
    std::string started;
    platform::ReadWholeFile(log, started);
    int lines = 0;
    for (char c : started)
        lines += c == '\n';
    std::printf("launcher: %d delayed entries, %d started, CPU %.1f ms (user and kernel), %.1f s wall%s\n",
                Entries, lines, cpu, double(GetTickCount64() - wall) / 1000.0, error ? " (not started)" : "");

    bench::ResetPrefixState();
    platform::RemoveFile(log, true);
    return 0;
}
