// One contract for each kind of entry the program manages (startup entries, services, scheduled
// tasks): how its entries are listed, staged, applied and reported, kept in profiles and asked for
// from the command line. The console, the profiles, Reset All and the Apply menu loop over the
// kinds; each kind's engines stay its own.
#pragma once
#include "apply/ApplyReport.h"
#include "staging/EntryFile.h"

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

// The exit codes of the command line, which scripts rely on.
enum ExitCode : int
{
    ExitDone = 0,     // done; for /compare, no difference
    ExitFailed = 1,   // some change failed; for /compare, differences found
    ExitNoEntry = 2,  // no such entry, or its name is in several places and /from is missing
    ExitBadUsage = 3, // an unknown switch, a missing value, a file that is not what it must be
    ExitNotSafe = 4   // the change could not be made safely now: the store, the lock, a clash
};

// What a verb of the command line gives back: its exit code, and its words for standard output
// and for standard error.
struct VerbAnswer
{
    int code = ExitDone;
    std::wstring out, err;
};

// How long the command line waits for an apply of another program to end; the window waits longer.
inline constexpr DWORD ConsoleLockWait = 5000;
inline constexpr DWORD WindowLockWait = 10000;

enum class ChangeVerb
{
    Disable,
    Enable,
    Remove
};

class Kind
{
  public:
    virtual ~Kind() = default;
    virtual EntryKind Id() const = 0;

    // Lists the entries anew from the system and from what this program keeps of them.
    virtual void Fill() = 0;
    // Whether the entries were listed since this program started.
    virtual bool Filled() const = 0;
    // Whether an apply would change anything now.
    virtual bool Staged() const = 0;
    // Throws away every staged change.
    virtual void Reset() = 0;
    // Brings every staged change into effect under the machine's apply lock, waited for up to
    // lockWait milliseconds; every write passes the fault hook.
    virtual ApplyResult Apply(DWORD lockWait) = 0;
    // Before Windows ends the session after an apply: what the kind keeps, written once more.
    virtual DWORD SaveBeforeSessionEnds() { return ERROR_SUCCESS; }

    // Its entries as profile records, listed first when they were not.
    virtual std::vector<FileRecord> ProfileRecords() = 0;
    // A profile's records of this kind, staged: each entry as its record says.
    virtual void LoadProfileRecords(const std::vector<FileRecord>& records) = 0;

    // The command line: the entries as the kind's view shows them, as CSV or JSON (all: also those
    // the view leaves out by default), each file's signature checked now (verify) or as the cache
    // of signatures knows it; a change of one entry, named as the user knows it, applied at once.
    // force: an enable goes ahead where the kind would refuse it as unsafe.
    virtual VerbAnswer ListVerb(bool json, bool all, bool verify) = 0;
    virtual VerbAnswer ChangeVerb(const std::wstring& name, const std::optional<std::wstring>& place,
                                  ::ChangeVerb verb, bool force) = 0;
};

// The apply's line: on standard output when all was done, else on standard error with the code
// that says whether it was not safe or failed.
VerbAnswer AnswerOf(const ApplyResult& result);
