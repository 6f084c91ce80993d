// Other processes of the session, as a watcher sees them: who runs now, what each was started as, and the CPU
// time and I/O bytes it has used so far.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>
#include <vector>

namespace platform
{

struct RunningProcess
{
    DWORD id = 0;
    DWORD parentId = 0;
    std::wstring exeName;         // the file name only, as the snapshot gives it
    std::vector<DWORD> threadIds; // its threads at the moment of the snapshot
};
// Every process of the system with its threads, in one snapshot; empty when none can be taken.
std::vector<RunningProcess> SnapshotProcesses();

// What a process was started as. A process that cannot be opened gives an empty handle.
struct ProcessStart
{
    UniqueHandle handle;      // held open, so that the figures can still be read once it ends
    ULONGLONG createTime = 0; // FILETIME ticks, UTC
    std::wstring imagePath;   // the full DOS path of its program file
    std::wstring commandLine; // empty when its memory may not be read
};
ProcessStart OpenProcessStart(DWORD id);

struct ProcessFigures
{
    ULONGLONG cpuTicks = 0; // user and kernel, in 100 ns
    ULONGLONG ioBytes = 0;  // read, write and other transfers
};
// The figures of an open process, whose threads are the ones given.
ProcessFigures ReadProcessFigures(HANDLE process, const std::vector<DWORD>& threadIds);

// The system time now, in FILETIME ticks, UTC.
ULONGLONG SystemTimeNow();

} // namespace platform
