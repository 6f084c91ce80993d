// Measuring a logon ourselves: the one-shot Run value that starts the watcher, the sampler of the
// processes the logon starts, and the record it writes in the schema of Windows' own.
#pragma once
#include "platform/ProcessSnapshot.h"

#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How long the watcher samples when no other time is asked for, and how often.
inline constexpr unsigned WatchDefaultSeconds = 90;
inline constexpr DWORD WatchSampleMilliseconds = 250;
// Once no new process has come for a while, the watcher looks no less often than this.
inline constexpr DWORD WatchSlowestSampleMilliseconds = 1000;
// The longest watch /seconds asks for: an hour.
inline constexpr int MaxWatchSeconds = 3600;

// The Run value of the user's that starts the watcher at the next logon; seconds other than the
// default are passed on as /seconds. Return the system error.
DWORD ArmLogonWatch(unsigned seconds = WatchDefaultSeconds);
// A value that is not there is no failure.
DWORD DisarmLogonWatch();
bool LogonWatchArmed();
// Arms the watch for that many seconds, or with none disarms it, and says in words how it went.
struct WatchChange
{
    bool done = false;
    std::wstring text;
};
WatchChange ChangeLogonWatch(std::optional<unsigned> seconds);

struct WatchedProcess
{
    DWORD id = 0;
    ULONGLONG startTime = 0; // FILETIME ticks, UTC
    std::wstring imagePath, commandLine;
    ULONGLONG cpuTicks = 0, ioBytes = 0; // the last figures seen
    DWORD parentId = 0;
    ULONGLONG parentStartTime = 0; // 0 when the parent was gone before it was seen
    std::wstring parentName;
};

// Where the sampler asks about processes: the system, or a test's made-up ones.
class ProcessSource
{
  public:
    virtual ~ProcessSource() = default;
    virtual std::vector<platform::RunningProcess> Snapshot() = 0;
    // Empty when the process cannot be opened.
    virtual std::optional<platform::ProcessStart> Open(DWORD id) = 0;
    // Those its held handle gives, once it may have ended; a snapshot carries the figures before.
    virtual platform::ProcessFigures Figures(DWORD id, HANDLE process) = 0;
};
ProcessSource& SystemProcesses();

class LogonSampler
{
  public:
    // Processes started at since or after count; none whose program is in ownFolder, nor this one.
    LogonSampler(ProcessSource& source, ULONGLONG since, std::wstring ownFolder, DWORD ownId);
    // One look at every process: new ones are taken in, running ones' figures are read again. One
    // that ended keeps its last figures.
    void Sample();
    // Figures of the ended ones as their held handles give them at the end.
    void Finish();
    const std::vector<WatchedProcess>& Processes() const { return watched_; }

  private:
    struct Known
    {
        std::wstring exeName;
        ULONGLONG createTime = 0;
        std::optional<size_t> watched; // index into watched_
    };

    ProcessSource& source_;
    ULONGLONG since_;
    std::wstring ownFolder_;
    DWORD ownId_;
    std::unordered_map<DWORD, Known> known_;
    std::vector<WatchedProcess> watched_;
    std::vector<platform::UniqueHandle> handles_; // one per watched process
};

// Samples until end, then once more and Finish: every quarter second while new processes come,
// less often once they have stopped, since each look costs the watcher's own CPU and the held
// handles keep an ended process's figures. beforeEach runs ahead of each look. Returns the looks.
unsigned WatchUntil(LogonSampler& sampler, ULONGLONG end, const std::function<void()>& beforeEach = {});

// The record's XML, in the order the processes were seen.
std::wstring LogonRecordXml(const std::vector<WatchedProcess>& processes);
// "2026-12-08T22:00:01.1234567Z"
std::wstring RecordTime(ULONGLONG fileTime);
// The record, UTF-16LE with a byte-order mark, replacing the old one only when whole. Returns the
// system error.
DWORD WriteLogonRecord(const std::wstring& path, const std::vector<WatchedProcess>& processes);
// The record beside the user's store.
std::wstring LogonRecordPath();
