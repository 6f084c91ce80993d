// What the launcher of delayed entries asks of programs: whether one asks for elevation, starting
// one as its entry would be started, and how busy it is after the start.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>

namespace platform
{

// Whether the program's manifest, embedded or beside it, asks requireAdministrator: a launcher
// started with the logon's rights could not start it without a prompt.
bool AsksAdministrator(const std::wstring& program);

// A process started, and the CPU time it has used so far.
class StartedProcess
{
  public:
    StartedProcess() = default;
    // thread: its first thread, when known.
    explicit StartedProcess(HANDLE process, HANDLE thread = nullptr)
        : process_(MakeUniqueHandle(process)), thread_(MakeUniqueHandle(thread))
    {
    }
    bool Running() const;
    // Its user and kernel time together, in 100 ns units; 0 when it is not known.
    ULONGLONG CpuTime() const;

  private:
    UniqueHandle process_, thread_;
};

// Starts a command line as a Run value is started, in this program's current folder.
DWORD StartCommand(const std::wstring& commandLine, StartedProcess& started);
// Opens a file (a shortcut) through the shell, as the StartUp folder's are opened: the shortcut's
// own folder and show command apply.
DWORD StartThroughShell(const std::wstring& file, StartedProcess& started);
// The CPU time a process, or this one, has used, in 100 ns units; 0 when it is not known.
ULONGLONG ProcessCpuTime(HANDLE process);
ULONGLONG OwnCpuTime();
// A FILETIME as one count of 100 ns units.
ULONGLONG FileTimeTicks(const FILETIME& time);

} // namespace platform
