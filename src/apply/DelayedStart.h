// Delayed entries after the logon: what the launcher starts, in which order, and the Run values
// that start the launcher itself.
#pragma once
#include "model/StartupList.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// One delayed entry as the launcher starts it: its kept exact copy, a command line or a shortcut.
struct DelayedLaunch
{
    std::wstring name;
    int seconds = 0, order = 0;
    std::wstring commandLine; // a value's or win.ini line's copy, its variables expanded
    std::wstring shortcut;    // a StartUp entry's kept copy of its .lnk, started through the shell
};
// The delayed entries of the store, of the machine's places or of the user's, by order (then by
// delay, then as the store lists them).
std::vector<DelayedLaunch> DelayedLaunches(const std::vector<EntryRecord>& stored, bool machine);
// Reads the store as the logon's launcher does; false when it could not be read whole, and then
// the complete records it holds are started all the same.
bool ReadDelayedStore(std::vector<EntryRecord>& stored);

// Takes out of their places again, as a delay does, the delayed entries of one side that their
// programs wrote back as they were (the same text), under the apply's lock waited for up to
// lockWait: the next logon starts them late again. Returns how many went.
int TakeOutWrittenBack(bool machine, DWORD lockWait);

// Starts each launch once its seconds since the launcher started have passed, one at a time: the
// next only once the one before has settled (its CPU use low for a moment, or it ended) or after
// settleLimit milliseconds, and returns once the last has too. Returns how many could not be started.
struct LaunchHooks
{
    // Defaults: the real start, the real clock and sleep.
    std::function<DWORD(const DelayedLaunch&)> start;
    std::function<bool()> settled; // of the last started, asked every poll
    std::function<ULONGLONG()> now;
    std::function<void(DWORD)> sleep;
};
int RunDelayedLaunches(const std::vector<DelayedLaunch>& launches, DWORD settleLimit, LaunchHooks hooks = {});
