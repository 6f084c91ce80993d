// The process snapshot and the figures of other processes.
#include "platform/ProcessSnapshot.h"
#include "platform/Processes.h"

#include <winternl.h>

#include <algorithm>
#include <cstddef>

namespace platform
{

namespace
{

template <typename Function> Function NtFunction(const char* name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The system's list of processes, each followed by its threads, as every Windows since XP and
// Wine give it: one question where a toolhelp snapshot with threads costs ten times its CPU here.
using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG SystemProcessList = 5;
constexpr NTSTATUS InfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
struct ProcessEntry
{
    ULONG nextOffset;
    ULONG threadCount;
    LARGE_INTEGER unused[3];
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    UNICODE_STRING imageName;
    LONG basePriority;
    HANDLE processId;
    HANDLE parentId;
    ULONG handleCount;
    ULONG sessionId;
    ULONG_PTR uniqueKey;
    SIZE_T memory[12];
    LARGE_INTEGER readOperations, writeOperations, otherOperations;
    LARGE_INTEGER readTransfer, writeTransfer, otherTransfer;
};
struct ThreadEntry
{
    LARGE_INTEGER kernelTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER createTime;
    ULONG waitTime;
    PVOID startAddress;
    CLIENT_ID clientId;
    LONG priority;
    LONG basePriority;
    ULONG contextSwitches;
    ULONG threadState;
    ULONG waitReason;
};
static_assert(sizeof(ProcessEntry) == sizeof(SYSTEM_PROCESS_INFORMATION));
static_assert(offsetof(ProcessEntry, imageName) == offsetof(SYSTEM_PROCESS_INFORMATION, ImageName));
static_assert(offsetof(ProcessEntry, processId) == offsetof(SYSTEM_PROCESS_INFORMATION, UniqueProcessId));
static_assert(sizeof(ThreadEntry) == sizeof(SYSTEM_THREAD_INFORMATION));

// The command line as the process keeps it in its own parameters block: the one way that works
// for another process on every Windows since XP, and under Wine.
std::wstring ReadCommandLine(HANDLE process)
{
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = NtFunction<QueryProcess>("NtQueryInformationProcess");
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

std::vector<RunningProcess> ProcessSnapshots::Take()
{
    std::vector<RunningProcess> processes;
    const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
    if (!query)
        return processes;
    if (buffer_.empty())
        buffer_.resize(256 * 1024);
    NTSTATUS status = 0;
    for (int tries = 0; tries < 4; ++tries)
    {
        ULONG needed = 0;
        status = query(SystemProcessList, buffer_.data(), static_cast<ULONG>(buffer_.size()), &needed);
        if (status != InfoLengthMismatch)
            break;
        // Processes come and go between two questions: some room to spare, and twice the room
        // where the system did not say how much it needs.
        buffer_.resize(std::max<size_t>(needed, buffer_.size() * 2) + 64 * 1024);
    }
    if (status != 0)
        return processes;
    for (size_t at = 0;;)
    {
        if (at + sizeof(ProcessEntry) > buffer_.size())
            break;
        const auto* entry = reinterpret_cast<const ProcessEntry*>(buffer_.data() + at);
        const auto* threads = reinterpret_cast<const ThreadEntry*>(entry + 1);
        RunningProcess& process = processes.emplace_back();
        process.id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->processId));
        process.parentId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->parentId));
        process.createTime = static_cast<ULONGLONG>(entry->createTime.QuadPart);
        if (entry->imageName.Buffer)
            process.exeName.assign(entry->imageName.Buffer, entry->imageName.Length / sizeof(wchar_t));
        // Wine keeps another process's own times only from its end, and its threads' as they go:
        // the larger sum is the truer one on either system.
        ULONGLONG threadTicks = 0;
        if (at + sizeof(ProcessEntry) + entry->threadCount * sizeof(ThreadEntry) <= buffer_.size())
            for (ULONG t = 0; t < entry->threadCount; ++t)
                threadTicks +=
                    static_cast<ULONGLONG>(threads[t].kernelTime.QuadPart + threads[t].userTime.QuadPart);
        process.figures.cpuTicks = std::max(
            static_cast<ULONGLONG>(entry->kernelTime.QuadPart + entry->userTime.QuadPart), threadTicks);
        process.figures.ioBytes = static_cast<ULONGLONG>(
            entry->readTransfer.QuadPart + entry->writeTransfer.QuadPart + entry->otherTransfer.QuadPart);
        if (entry->nextOffset == 0)
            break;
        at += entry->nextOffset;
    }
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
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process, 0, path.data(), &size))
        start.imagePath.assign(path.data(), size);
    start.commandLine = ReadCommandLine(process);
    return start;
}

ProcessFigures ReadProcessFigures(HANDLE process)
{
    ProcessFigures figures;
    figures.cpuTicks = ProcessCpuTime(process);
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
