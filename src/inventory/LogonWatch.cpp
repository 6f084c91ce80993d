// The watcher's arming, sampling and record.
#include "inventory/LogonWatch.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>

namespace
{

class SystemSource final : public ProcessSource
{
  public:
    std::vector<platform::RunningProcess> Snapshot() override { return snapshots_.Take(); }
    std::optional<platform::ProcessStart> Open(DWORD id) override
    {
        platform::ProcessStart start = platform::OpenProcessStart(id);
        if (!start.handle)
            return std::nullopt;
        return start;
    }
    platform::ProcessFigures Figures(DWORD, HANDLE process) override
    {
        return platform::ReadProcessFigures(process);
    }

  private:
    platform::ProcessSnapshots snapshots_;
};

bool InFolder(const std::wstring& path, const std::wstring& folder)
{
    return !folder.empty() && path.size() > folder.size() && path[folder.size()] == L'\\' &&
           platform::EqualsNoCase(std::wstring_view(path).substr(0, folder.size()), folder);
}

std::wstring Escaped(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t c : text)
        switch (c)
        {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        case L'\'':
            out += L"&apos;";
            break;
        // A line break kept as it was: a reader would otherwise fold it into a blank.
        case L'\r':
            out += L"&#13;";
            break;
        case L'\n':
            out += L"&#10;";
            break;
        case L'\t':
            out += L"&#9;";
            break;
        default:
            out += c;
        }
    return out;
}

std::wstring Decimal(ULONGLONG value)
{
    return platform::ToDecimal(static_cast<long long>(value));
}

} // namespace

DWORD ArmLogonWatch(unsigned seconds)
{
    // Quoted always, so that a blank in the program folder never splits the line.
    std::wstring line = L"\"" + platform::ProgramFolder() + platform::names::WatchProgramFile + L"\"";
    if (seconds != WatchDefaultSeconds)
        line += L" /seconds " + Decimal(seconds);
    return platform::SetOwnRunValue(HKEY_CURRENT_USER, platform::names::WatchRunValue, line);
}

DWORD DisarmLogonWatch()
{
    return platform::DeleteOwnRunValue(HKEY_CURRENT_USER, platform::names::WatchRunValue);
}

bool LogonWatchArmed()
{
    return !platform::OwnRunValue(HKEY_CURRENT_USER, platform::names::WatchRunValue).empty();
}

WatchChange ChangeLogonWatch(std::optional<unsigned> seconds)
{
    if (const DWORD error = seconds ? ArmLogonWatch(*seconds) : DisarmLogonWatch())
        return {false, FormatText(LookupText(keys::WatchNotArmed), {platform::SystemErrorText(error)})};
    return {true, seconds ? FormatText(LookupText(keys::WatchArmed), {Decimal(*seconds), LogonRecordPath()})
                          : LookupText(keys::WatchDisarmed)};
}

ProcessSource& SystemProcesses()
{
    static SystemSource source;
    return source;
}

LogonSampler::LogonSampler(ProcessSource& source, ULONGLONG since, std::wstring ownFolder, DWORD ownId)
    : source_(source), since_(since), ownFolder_(std::move(ownFolder)), ownId_(ownId)
{
}

void LogonSampler::Sample()
{
    const std::vector<platform::RunningProcess> running = source_.Snapshot();
    // Only the processes started since are opened, each once; the old ones' start times, which
    // their children's records name, are in the snapshot.
    for (const platform::RunningProcess& process : running)
    {
        auto found = known_.find(process.id);
        // An id seen before with another start time was given again to a new process; the one
        // watched before keeps what was seen of it.
        if (found != known_.end() && found->second.createTime != process.createTime)
            known_.erase(found), found = known_.end();
        if (found != known_.end())
            continue;
        Known& known = known_[process.id];
        known.exeName = process.exeName;
        known.createTime = process.createTime;
        if (process.id == ownId_ || process.createTime < since_)
            continue;
        std::optional<platform::ProcessStart> start = source_.Open(process.id);
        if (!start || InFolder(start->imagePath, ownFolder_))
            continue;
        WatchedProcess watched;
        watched.id = process.id;
        watched.startTime = process.createTime;
        watched.imagePath = std::move(start->imagePath);
        watched.commandLine = std::move(start->commandLine);
        known.watched = watched_.size();
        watched_.push_back(std::move(watched));
        handles_.push_back(std::move(start->handle));
    }
    for (const platform::RunningProcess& process : running)
    {
        const Known& known = known_[process.id];
        if (!known.watched)
            continue;
        WatchedProcess& watched = watched_[*known.watched];
        if (watched.parentName.empty() && process.parentId)
        {
            watched.parentId = process.parentId;
            if (const auto parent = known_.find(process.parentId); parent != known_.end())
            {
                watched.parentName = parent->second.exeName;
                // A parent younger than its child is another process that was given its id.
                if (parent->second.createTime <= watched.startTime)
                    watched.parentStartTime = parent->second.createTime;
            }
        }
        // A figure that went down came from a thread that ended: the last one seen is the truer.
        watched.cpuTicks = std::max(watched.cpuTicks, process.figures.cpuTicks);
        watched.ioBytes = std::max(watched.ioBytes, process.figures.ioBytes);
    }
}

void LogonSampler::Finish()
{
    for (size_t i = 0; i < watched_.size(); ++i)
    {
        const platform::ProcessFigures figures = source_.Figures(watched_[i].id, handles_[i].get());
        watched_[i].cpuTicks = std::max(watched_[i].cpuTicks, figures.cpuTicks);
        watched_[i].ioBytes = std::max(watched_[i].ioBytes, figures.ioBytes);
    }
}

std::wstring RecordTime(ULONGLONG fileTime)
{
    FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME parts{};
    FileTimeToSystemTime(&time, &parts);
    wchar_t text[40];
    swprintf(text, std::size(text), L"%04u-%02u-%02uT%02u:%02u:%02u.%07uZ", parts.wYear, parts.wMonth,
             parts.wDay, parts.wHour, parts.wMinute, parts.wSecond,
             static_cast<unsigned>(fileTime % 10000000));
    return text;
}

std::wstring LogonRecordXml(const std::vector<WatchedProcess>& processes)
{
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<StartupData>\r\n";
    for (const WatchedProcess& process : processes)
    {
        const std::wstring start = RecordTime(process.startTime);
        xml += L"  <Process Name=\"" + Escaped(process.imagePath) + L"\" PID=\"" + Decimal(process.id) +
               L"\" StartTime=\"" + start + L"\">\r\n";
        xml += L"    <StartTime>" + start + L"</StartTime>\r\n";
        xml += L"    <CommandLine>" + Escaped(process.commandLine) + L"</CommandLine>\r\n";
        xml += L"    <DiskUsage Units=\"bytes\">" + Decimal(process.ioBytes) + L"</DiskUsage>\r\n";
        xml += L"    <CpuUsage Units=\"us\">" + Decimal(process.cpuTicks / 10) + L"</CpuUsage>\r\n";
        xml += L"    <ParentPID>" + Decimal(process.parentId) + L"</ParentPID>\r\n";
        if (process.parentStartTime)
            xml += L"    <ParentStartTime>" + RecordTime(process.parentStartTime) + L"</ParentStartTime>\r\n";
        xml += L"    <ParentName>" + Escaped(process.parentName) + L"</ParentName>\r\n";
        xml += L"  </Process>\r\n";
    }
    return xml + L"</StartupData>\r\n";
}

unsigned WatchUntil(LogonSampler& sampler, ULONGLONG end, const std::function<void()>& beforeEach)
{
    unsigned looks = 0;
    DWORD wait = WatchSampleMilliseconds;
    do
    {
        if (beforeEach)
            beforeEach();
        const size_t known = sampler.Processes().size();
        sampler.Sample();
        ++looks;
        wait = sampler.Processes().size() > known ? WatchSampleMilliseconds
                                                  : std::min<DWORD>(wait * 2, WatchSlowestSampleMilliseconds);
        Sleep(wait);
    } while (platform::SystemTimeNow() < end);
    sampler.Sample();
    sampler.Finish();
    return looks + 1;
}

DWORD WriteLogonRecord(const std::wstring& path, const std::vector<WatchedProcess>& processes)
{
    const std::wstring xml = LogonRecordXml(processes);
    std::string bytes = "\xFF\xFE";
    const auto* text = reinterpret_cast<const char*>(xml.data());
    bytes.append(text, xml.size() * sizeof(wchar_t));
    return platform::ReplaceFileAtomically(path, bytes);
}

std::wstring LogonRecordPath()
{
    return platform::UserDataFolder() + platform::names::LogonImpactFile;
}
