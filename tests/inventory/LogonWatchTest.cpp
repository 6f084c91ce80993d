// The logon watch: its record read back by our XML reader, the sampler over made-up processes
// (which also carries the I/O figures Wine never gives), and its Run value, which the list hides.
#include "inventory/LogonWatch.h"
#include "inventory/XmlReader.h"
#include "platform/Names.h"
#include "staging/StartupFill.h"
#include "support/Fixtures.h"

#include <map>

using namespace testsupport;
using LogonWatchTest = RavelinTest;

namespace
{

constexpr ULONGLONG Second = 10000000;
constexpr ULONGLONG Logon = 134000000000000000ULL;

std::wstring Attribute(const XmlElement& element, std::wstring_view name)
{
    for (const auto& [key, value] : element.attributes)
        if (key == name)
            return value;
    return L"<none>";
}

class MadeUpProcesses final : public ProcessSource
{
  public:
    struct Made
    {
        DWORD parent;
        std::wstring exe, path, line;
        ULONGLONG created;
        platform::ProcessFigures figures;
        bool running = true;
    };
    std::map<DWORD, Made> made;
    int opens = 0;

    std::vector<platform::RunningProcess> Snapshot() override
    {
        std::vector<platform::RunningProcess> running;
        for (const auto& [id, process] : made)
            if (process.running)
                running.push_back({id, process.parent, process.exe, process.created, process.figures});
        return running;
    }
    std::optional<platform::ProcessStart> Open(DWORD id) override
    {
        ++opens;
        if (made[id].path.empty()) // one that refuses to be opened
            return std::nullopt;
        platform::ProcessStart start;
        start.imagePath = made[id].path;
        start.commandLine = made[id].line;
        return start;
    }
    platform::ProcessFigures Figures(DWORD id, HANDLE) override { return made[id].figures; }
};

} // namespace

TEST(LogonRecord, EscapesEveryTextAndReadsBackThroughTheXmlReader)
{
    WatchedProcess process;
    process.id = 1234;
    process.startTime = Logon + 1234567;
    process.imagePath = L"C:\\Program Files\\A&B <Tools>\\prog.exe";
    process.commandLine = L"\"C:\\Program Files\\A&B <Tools>\\prog.exe\" /say 'it''s' \"x\"\r\nsecond\tline";
    process.cpuTicks = 12000000;
    process.ioBytes = 3145728;
    process.parentId = 567;
    process.parentStartTime = Logon;
    process.parentName = L"explorer.exe";
    WatchedProcess orphan = process;
    orphan.parentStartTime = 0; // its parent was gone before it was seen
    orphan.parentName.clear();

    const XmlDocument document = ReadXml(LogonRecordXml({process, orphan}));
    ASSERT_EQ(document.fault.problem, XmlProblem::None) << DescribeXmlFault(document.fault);
    ASSERT_EQ(document.elements[0].name, L"StartupData");
    ASSERT_EQ(document.elements[0].children.size(), 2u);
    const XmlElement& first = document.elements[document.elements[0].children[0]];
    EXPECT_EQ(Attribute(first, L"Name"), process.imagePath);
    EXPECT_EQ(Attribute(first, L"PID"), L"1234");
    EXPECT_EQ(Attribute(first, L"StartTime"), RecordTime(process.startTime));
    const auto text = [&](const XmlElement& parent, const wchar_t* name) {
        const XmlElement* child = document.Child(&parent, name);
        return child ? child->text : L"<none>";
    };
    EXPECT_EQ(text(first, L"CommandLine"), process.commandLine); // the line break and tab kept
    EXPECT_EQ(text(first, L"CpuUsage"), L"1200000");             // microseconds
    EXPECT_EQ(Attribute(*document.Child(&first, L"CpuUsage"), L"Units"), L"us");
    EXPECT_EQ(text(first, L"DiskUsage"), L"3145728");
    EXPECT_EQ(text(first, L"ParentPID"), L"567");
    EXPECT_EQ(text(first, L"ParentStartTime"), RecordTime(Logon));
    EXPECT_EQ(text(first, L"ParentName"), L"explorer.exe");
    const XmlElement& second = document.elements[document.elements[0].children[1]];
    EXPECT_EQ(document.Child(&second, L"ParentStartTime"), nullptr);
    EXPECT_EQ(text(second, L"ParentName"), L"");
}

TEST(LogonRecord, TimesKeepEverySeventhOfASecond)
{
    // 1601-01-01 plus whole days: 2026-12-08 is 155 569 days on.
    EXPECT_EQ(RecordTime(0), L"1601-01-01T00:00:00.0000000Z");
    EXPECT_EQ(RecordTime(155569ULL * 86400 * Second + 79201 * Second + 1234567),
              L"2026-12-08T22:00:01.1234567Z");
}

TEST_F(LogonWatchTest, RecordIsWrittenWholeInUtf16WithItsMark)
{
    const std::wstring path = programFolder + L"\\LogonImpact.xml";
    WatchedProcess process;
    process.imagePath = L"C:\\\u00e9t\u00e9.exe";
    ASSERT_EQ(WriteLogonRecord(path, {process}), DWORD(ERROR_SUCCESS));
    const std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const XmlText decoded = DecodeXml(bytes);
    EXPECT_EQ(decoded.encoding.form, XmlEncoding::Utf16Le);
    EXPECT_NE(decoded.text.find(L"Name=\"C:\\\u00e9t\u00e9.exe\""), std::wstring::npos);
    // A folder that is not there: the error, and nothing half written.
    EXPECT_NE(WriteLogonRecord(programFolder + L"\\missing\\LogonImpact.xml", {process}),
              DWORD(ERROR_SUCCESS));
}

TEST(LogonSampler, KeepsTheNewProcessesWithTheirLastFiguresAndParents)
{
    MadeUpProcesses system;
    system.made[4] = {0, L"explorer.exe", L"C:\\windows\\explorer.exe", L"explorer", Logon - 60 * Second, {}};
    system.made[8] = {4, L"prog.exe", L"C:\\Vendor\\prog.exe", L"prog /tray", Logon + Second, {100, 5000}};
    system.made[12] = {4, L"watch.exe", L"C:\\Ravelin\\RavelinWatch.exe", L"", Logon, {}};
    system.made[16] = {4, L"locked.exe", L"", L"", Logon, {}};
    system.made[20] = {99, L"child.exe", L"C:\\Vendor\\child.exe", L"child", Logon + 2 * Second, {7, 0}};
    LogonSampler sampler(system, Logon - 5 * Second, L"C:\\RAVELIN", 24);
    system.made[24] = {4, L"self.exe", L"C:\\Elsewhere\\self.exe", L"", Logon, {}};
    sampler.Sample();
    const int opensAfterFirst = system.opens;
    EXPECT_EQ(opensAfterFirst, 4) << "the old one and this process are never opened";
    system.made[8].figures = {400, 204800}; // the bytes come only through this seam under Wine
    system.made[20].running = false;        // ended between samples
    system.made[20].figures = {};           // and its handle tells nothing more
    system.made[28] = {8, L"late.exe", L"C:\\Vendor\\late.exe", L"late", Logon + 30 * Second, {50, 1}};
    sampler.Sample();
    // The ended one's id given to a new process, which is watched on its own.
    system.made[20] = {8, L"again.exe", L"C:\\Vendor\\again.exe", L"again", Logon + 40 * Second, {5, 0}};
    sampler.Sample();
    sampler.Finish();
    EXPECT_EQ(system.opens, opensAfterFirst + 2); // only the new ones are opened again

    const std::vector<WatchedProcess>& seen = sampler.Processes();
    ASSERT_EQ(seen.size(), 4u); // not the old one, ours, the one that refused, nor this process
    EXPECT_EQ(seen[3].imagePath, L"C:\\Vendor\\again.exe");
    EXPECT_EQ(seen[3].cpuTicks, 5u);
    EXPECT_EQ(seen[0].imagePath, L"C:\\Vendor\\prog.exe");
    EXPECT_EQ(seen[0].commandLine, L"prog /tray");
    EXPECT_EQ(seen[0].cpuTicks, 400u);
    EXPECT_EQ(seen[0].ioBytes, 204800u);
    EXPECT_EQ(seen[0].parentName, L"explorer.exe");
    EXPECT_EQ(seen[0].parentStartTime, Logon - 60 * Second);
    EXPECT_EQ(seen[1].imagePath, L"C:\\Vendor\\child.exe");
    EXPECT_EQ(seen[1].cpuTicks, 7u); // its last sample, not the nothing its end gave
    EXPECT_EQ(seen[1].parentId, 99u);
    EXPECT_EQ(seen[1].parentName, L""); // a parent never seen
    EXPECT_EQ(seen[2].parentName, L"prog.exe");
    EXPECT_EQ(seen[2].parentStartTime, Logon + Second);
}

TEST_F(LogonWatchTest, RunValueIsOneShotOursAndNeverListed)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Vendor", L"C:\\vendor.exe");
    EXPECT_FALSE(LogonWatchArmed());
    ASSERT_EQ(ArmLogonWatch(12), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(LogonWatchArmed());
    const std::wstring line = RegStringValue(HKEY_CURRENT_USER, RunKey, platform::names::WatchRunValue);
    EXPECT_EQ(line, L"\"" + programFolder + L"\\RavelinWatch.exe\" /seconds 12");
    StartupState state;
    FillStartupList(state);
    ASSERT_EQ(state.List.Count(), 1);
    EXPECT_EQ(state.List.Row(1).name, L"Vendor");
    // The same name in the machine's Run key is someone else's, and listed.
    SetRegString(HKEY_LOCAL_MACHINE, RunKey, platform::names::WatchRunValue, L"C:\\other.exe");
    StartupState machine;
    FillStartupList(machine);
    EXPECT_EQ(machine.List.Count(), 2);
    ASSERT_EQ(DisarmLogonWatch(), DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(LogonWatchArmed());
    EXPECT_EQ(DisarmLogonWatch(), DWORD(ERROR_SUCCESS)); // nothing to take back is no failure
    ASSERT_EQ(ArmLogonWatch(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, platform::names::WatchRunValue),
              L"\"" + programFolder + L"\\RavelinWatch.exe\"");
    DenyWrites(HKEY_CURRENT_USER, RunKey);
    EXPECT_EQ(ArmLogonWatch(), DWORD(ERROR_ACCESS_DENIED));
}
