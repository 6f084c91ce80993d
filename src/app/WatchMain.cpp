// Program entry of RavelinWatch.exe: started once by its Run value at a logon, it takes the value
// away, samples the processes the logon starts and writes their record.
#include "console/ConsoleArguments.h"
#include "inventory/LogonWatch.h"
#include "model/EntryState.h"
#include "platform/Console.h"
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Places.h"
#include "platform/Text.h"

namespace
{

// Processes started this long before the watcher still belong to the logon: the Run values before
// ours are started first.
constexpr ULONGLONG LogonLead = 10ULL * 10000000;

unsigned SecondsAsked(std::wstring_view arguments)
{
    const std::vector<CommandWord> words = SplitCommandLine(arguments);
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (int seconds = 0; platform::EqualsNoCase(words[i].text, L"/seconds") &&
                             ParseCount(words[i + 1].text, MaxWatchSeconds, seconds))
            return static_cast<unsigned>(seconds);
    return WatchDefaultSeconds;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::EndCrashesWithTheirCode();
    // One logon only, whatever happens after.
    DisarmLogonWatch();
    const unsigned seconds = SecondsAsked(platform::CommandLineArguments());
    const ULONGLONG started = platform::SystemTimeNow();
    LogonSampler sampler(SystemProcesses(), started - LogonLead, platform::ProgramFolder(),
                         GetCurrentProcessId());
    const ULONGLONG end = started + seconds * 10000000ULL;
    WatchUntil(sampler, end);
    platform::CreateFolderPath(platform::UserDataFolder());
    if (const DWORD error = WriteLogonRecord(LogonRecordPath(), sampler.Processes()))
    {
        platform::WriteStandardError(platform::SystemErrorText(error) + L"\r\n");
        return 1;
    }
    return 0;
}
