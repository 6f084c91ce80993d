// Other processes of the session, as a watcher sees them: who runs now, what each was started as, and the CPU
// time and I/O bytes it has used so far.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>
#include <vector>

namespace platform
{

struct ProcessFigures
{
    ULONGLONG cpuTicks = 0; // user and kernel, in 100 ns
    ULONGLONG ioBytes = 0;  // read, write and other transfers
};

struct RunningProcess
{
    DWORD id = 0;
    DWORD parentId = 0;
    std::wstring exeName;     // the file name only
    ULONGLONG createTime = 0; // FILETIME ticks, UTC
    ProcessFigures figures;   // so far
};
// Every process of the system with its figures, in one question to the system; the buffer it
// needs is kept from one snapshot to the next. Empty when none can be taken.
class ProcessSnapshots
{
  public:
    std::vector<RunningProcess> Take();

  private:
    std::vector<BYTE> buffer_;
};

// What a process was started as. A process that cannot be opened gives an empty handle.
struct ProcessStart
{
    UniqueHandle handle;      // held open, so that the figures can still be read once it ends
    std::wstring imagePath;   // the full DOS path of its program file
    std::wstring commandLine; // empty when its memory may not be read
};
ProcessStart OpenProcessStart(DWORD id);

// The figures of an open process, as its own times and counters give them.
ProcessFigures ReadProcessFigures(HANDLE process);

// The system time now, in FILETIME ticks, UTC.
ULONGLONG SystemTimeNow();

} // namespace platform
