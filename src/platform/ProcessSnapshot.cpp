// The process snapshot and the figures of other processes.
#include "platform/ProcessSnapshot.h"
#include "platform/Processes.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <unordered_map>

namespace platform
{

namespace
{

// The command line as the process keeps it in its own parameters block: the one way that works
// for another process on every Windows since XP, and under Wine.
std::wstring ReadCommandLine(HANDLE process)
{
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG got = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &got) != 0 ||
        !basic.PebBaseAddress)
        return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, &read) ||
        !peb.ProcessParameters ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, &read))
        return {};
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (line.empty() || !ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(),
                                           line.size() * sizeof(wchar_t), &read))
        return {};
    return line;
}

} // namespace

std::vector<RunningProcess> SnapshotProcesses()
{
    std::vector<RunningProcess> processes;
    const UniqueHandle snapshot =
        MakeUniqueHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return processes;
    std::unordered_map<DWORD, size_t> index;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(snapshot.get(), &process); more;
         more = Process32NextW(snapshot.get(), &process))
    {
        index[process.th32ProcessID] = processes.size();
        processes.push_back({process.th32ProcessID, process.th32ParentProcessID, process.szExeFile, {}});
    }
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot.get(), &thread); more;
         more = Thread32Next(snapshot.get(), &thread))
        if (const auto found = index.find(thread.th32OwnerProcessID); found != index.end())
            processes[found->second].threadIds.push_back(thread.th32ThreadID);
    return processes;
}

ProcessStart OpenProcessStart(DWORD id)
{
    ProcessStart start;
    // Reading its memory needs more than its figures do; a process of another user may refuse it.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, id);
    if (!process)
        process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    start.handle = MakeUniqueHandle(process);
    if (!start.handle)
        return start;
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        start.createTime = FileTimeTicks(created);
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process, 0, path.data(), &size))
        start.imagePath.assign(path.data(), size);
    start.commandLine = ReadCommandLine(process);
    return start;
}

ProcessFigures ReadProcessFigures(HANDLE process, const std::vector<DWORD>& threadIds)
{
    ProcessFigures figures;
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        figures.cpuTicks = FileTimeTicks(kernel) + FileTimeTicks(user);
    // Wine keeps another process's own times only from its end, and its threads' times as they
    // go: the larger sum is the truer one on either system.
    ULONGLONG threads = 0;
    for (DWORD id : threadIds)
        if (const UniqueHandle thread =
                MakeUniqueHandle(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, id)))
            if (GetThreadTimes(thread.get(), &created, &exited, &kernel, &user))
                threads += FileTimeTicks(kernel) + FileTimeTicks(user);
    figures.cpuTicks = std::max(figures.cpuTicks, threads);
    IO_COUNTERS io{};
    if (GetProcessIoCounters(process, &io))
        figures.ioBytes = io.ReadTransferCount + io.WriteTransferCount + io.OtherTransferCount;
    return figures;
}

ULONGLONG SystemTimeNow()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return FileTimeTicks(now);
}

} // namespace platform
