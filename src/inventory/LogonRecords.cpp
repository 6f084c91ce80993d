// The logon records: found by the user's SID, the newest readable one read.
#include "inventory/LogonRecords.h"
#include "find/FileFacts.h"
#include "find/ProgramPath.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "inventory/XmlReader.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Privileges.h"
#include "platform/ProgramFiles.h"
#include "platform/Signatures.h"
#include "platform/Text.h"

#include <algorithm>
#include <cwchar>

namespace
{

bool IsXmlName(const std::wstring& name)
{
    return platform::EndsWithNoCase(name, L".xml");
}

ULONGLONG NumberOf(const XmlDocument& document, const XmlElement* process, std::wstring_view name)
{
    const XmlElement* element = document.Child(process, name);
    if (!element)
        return 0;
    const std::wstring text(platform::Trim(element->text, L" \t\r\n"));
    wchar_t* end = nullptr;
    const ULONGLONG value = std::wcstoull(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0 && text[0] != L'-' ? value : 0;
}

// The program of a command line as the list resolves an entry's; its first reading when no file
// is there.
std::wstring CommandProgram(const std::wstring& commandLine)
{
    const FileFacts facts = ResolveFileFacts(commandLine);
    if (facts.state == FileFacts::State::Found)
        return facts.file;
    const std::vector<ProgramCandidate> candidates =
        ProgramCandidates(platform::ExpandEnvironment(commandLine));
    return candidates.empty() ? std::wstring() : candidates.front().program;
}

void AddProcess(LogonImpact& record, const XmlDocument& document, const XmlElement& process)
{
    std::wstring name;
    for (const auto& [attribute, value] : process.attributes)
        if (platform::EqualsNoCase(attribute, L"Name"))
            name = value;
    bool tail = false;
    constexpr std::wstring_view DevicePrefix = L"\\Device\\";
    if (platform::EqualsNoCase(std::wstring_view(name).substr(0, DevicePrefix.size()), DevicePrefix))
    {
        const std::wstring dos = platform::DosPathOfDevicePath(name);
        // No drive names the volume now: the path after it is compared.
        const size_t device = name.find(L'\\', DevicePrefix.size());
        tail = dos.empty();
        name = tail ? (device == std::wstring::npos ? std::wstring() : name.substr(device)) : dos;
    }
    else
    {
        name = platform::ExpandEnvironment(name);
    }
    const XmlElement* commandLine = document.Child(&process, L"CommandLine");
    record.Add(name, tail, commandLine ? CommandProgram(commandLine->text) : std::wstring(),
               {NumberOf(document, &process, L"CpuUsage"), NumberOf(document, &process, L"DiskUsage")});
}

} // namespace

std::vector<std::wstring> LogonRecordFiles(const std::wstring& startupInfoFolder, const std::wstring& sid,
                                           const std::wstring& ownFile)
{
    std::vector<std::wstring> files;
    if (!sid.empty())
    {
        for (const std::wstring& name : platform::ListFolderFiles(startupInfoFolder).names)
            if (IsXmlName(name) && name.size() > sid.size() &&
                platform::EqualsNoCase(name.substr(0, sid.size() + 1), sid + L"_"))
                files.push_back(startupInfoFolder + L"\\" + name);
        const std::wstring own = startupInfoFolder + L"\\" + sid;
        for (const std::wstring& name : platform::ListFolderFiles(own).names)
            if (IsXmlName(name))
                files.push_back(own + L"\\" + name);
    }
    if (!ownFile.empty() && platform::FileExists(ownFile))
        files.push_back(ownFile);
    return files;
}

bool ParseLogonRecord(std::string_view bytes, LogonImpact& record, std::wstring& reason)
{
    const XmlText text = DecodeXml(bytes);
    if (text.fault.problem != XmlProblem::None)
        return reason = DescribeXmlFault(text.fault), false;
    const XmlDocument document = ReadXml(text.text);
    if (document.fault.problem != XmlProblem::None)
        return reason = DescribeXmlFault(document.fault), false;
    const XmlElement& root = document.elements.front();
    if (root.name != L"StartupData")
        return reason = FormatText(LookupText(keys::RecordWrongRoot), {root.name}), false;
    for (size_t child : root.children)
        if (document.elements[child].name == L"Process")
            AddProcess(record, document, document.elements[child]);
    return true;
}

LogonImpact ReadNewestRecord(const std::vector<std::wstring>& files)
{
    std::vector<std::pair<ULONGLONG, std::wstring>> byTime;
    for (const std::wstring& file : files)
        if (platform::FileStamp stamp; platform::ReadFileStamp(file, stamp))
            byTime.emplace_back(stamp.lastWrite, file);
    std::ranges::sort(byTime, std::greater<>());
    LogonImpact record;
    for (const auto& [written, file] : byTime)
    {
        std::string bytes;
        std::wstring reason;
        LogonImpact read;
        if (const DWORD error = platform::ReadWholeFile(file, bytes); error != ERROR_SUCCESS)
            reason = ErrorReasonText(error);
        else if (ParseLogonRecord(bytes, read, reason))
        {
            read.file = file;
            read.written = written;
            read.skipped = std::move(record.skipped);
            return read;
        }
        record.skipped.push_back({file, reason});
    }
    return record;
}

LogonImpact ReadLogonImpact()
{
    return ReadNewestRecord(LogonRecordFiles(
        platform::GetWindowsFolder() + platform::names::StartupInfoFolder, platform::CurrentUserSid(),
        platform::UserDataFolder() + platform::names::LogonImpactFile));
}
