// The logon records: which files are the user's, the newest readable one, the figures by program
// and the classes at their boundaries.
#include "find/LogonImpact.h"
#include "inventory/LogonRecords.h"
#include "platform/Files.h"
#include "support/Fixtures.h"

#include <algorithm>

namespace
{

constexpr wchar_t UserA[] = L"S-1-5-21-7-1001";

class LogonRecordsTest : public testsupport::RavelinTest
{
  protected:
    // The fixtures copied where their write times can be set: names in order from oldest to newest.
    std::wstring CopyWithTimes(std::initializer_list<const wchar_t*> oldestFirst)
    {
        const std::wstring from = testsupport::RepoFolder() + L"\\tests\\data\\logon", to = programFolder;
        CreateDirectoryW((to + L"\\" + UserA).c_str(), nullptr);
        ULONGLONG time = 133'000'000'000'000'000ULL;
        for (const wchar_t* name : oldestFirst)
        {
            const std::wstring path = to + L"\\" + name;
            testsupport::WriteBytes(path, testsupport::ReadBytes(from + L"\\" + name));
            HANDLE file =
                CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            time += 600'000'000ULL; // a minute apart
            const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
            EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
            CloseHandle(file);
        }
        return to;
    }
    LogonImpact Newest(const std::wstring& folder)
    {
        return ReadNewestRecord(LogonRecordFiles(folder, UserA, folder + L"\\LogonImpact.xml"));
    }
};

std::wstring NameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

} // namespace

TEST_F(LogonRecordsTest, OnlyTheUsersRecordsInEitherLayoutAndOursAreRead)
{
    const std::wstring folder = testsupport::RepoFolder() + L"\\tests\\data\\logon";
    std::vector<std::wstring> names;
    for (const std::wstring& file : LogonRecordFiles(folder, UserA, folder + L"\\LogonImpact.xml"))
        names.push_back(NameOf(file));
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"LogonImpact.xml", L"S-1-5-21-7-1001_StartupInfo1.xml",
                                                L"S-1-5-21-7-1001_StartupInfo2.xml", L"StartupInfo3.xml",
                                                L"StartupInfo4.xml"}));
    EXPECT_EQ(LogonRecordFiles(folder, L"", folder + L"\\gone.xml").size(), 0u) << "no SID, no own file";
}

TEST_F(LogonRecordsTest, TheNewestReadableRecordWinsAndEachBrokenNewerOneSaysWhy)
{
    // Newest first: our own file is not XML, 4 has another root, 2 is cut off; 3 is read.
    const std::wstring folder =
        CopyWithTimes({L"S-1-5-21-7-1001_StartupInfo1.xml", L"S-1-5-21-7-1002_StartupInfo1.xml",
                       L"S-1-5-21-7-1001\\StartupInfo3.xml", L"S-1-5-21-7-1001_StartupInfo2.xml",
                       L"S-1-5-21-7-1001\\StartupInfo4.xml", L"LogonImpact.xml"});
    LogonImpact record = Newest(folder);
    EXPECT_EQ(NameOf(record.file), L"StartupInfo3.xml");
    EXPECT_NE(record.written, 0u);
    ASSERT_EQ(record.skipped.size(), 3u);
    EXPECT_EQ(NameOf(record.skipped[0].file), L"LogonImpact.xml");
    EXPECT_EQ(record.skipped[1].reason, L"its root element is <Settings>, not <StartupData>");
    EXPECT_NE(record.skipped[2].reason.find(L"ends inside"), std::wstring::npos) << record.skipped[2].reason;
    EXPECT_EQ(ImpactOf(record, L"c:\\apps\\NOTES.exe", false).impact, ImpactClass::High);

    // Only broken ones left: nothing read, each said.
    for (const wchar_t* gone :
         {L"\\S-1-5-21-7-1001\\StartupInfo3.xml", L"\\S-1-5-21-7-1001_StartupInfo1.xml"})
        platform::RemoveFile(folder + gone, true);
    record = Newest(folder);
    EXPECT_TRUE(record.file.empty());
    EXPECT_EQ(record.skipped.size(), 3u);
    EXPECT_EQ(ImpactOf(record, L"C:\\Apps\\notes.exe", false).impact, ImpactClass::NotMeasured);
    EXPECT_NE(ImpactDetailText(&record, {}, true, false).find(L"No record of a logon could be read."),
              std::wstring::npos);
}

TEST_F(LogonRecordsTest, ProcessesOfOneProgramAddUpByNameDevicePathOrCommandLine)
{
    const std::wstring folder = CopyWithTimes({L"S-1-5-21-7-1001_StartupInfo1.xml"});
    const LogonImpact record = Newest(folder);
    ASSERT_EQ(record.ProcessCount(), 4u);
    struct Case
    {
        const wchar_t* file;
        ULONGLONG cpu, disk; // cpu 0: not in the record
        ImpactClass impact;
    } cases[] = {
        // 250 000 + 50 001 us, 200 000 + 107 201 bytes: both just over the Medium line.
        {L"C:\\Program Files\\Vendor\\tray.exe", 300'001, 307'201, ImpactClass::Medium},
        // \Device\HarddiskVolume99 has no drive: the path after it is compared.
        {L"E:\\Tools\\sync.exe", 10, 4'000'000, ImpactClass::High},
        // Its Name is a host; its command line names the program.
        {L"C:\\Apps\\notes.exe", 20, 10, ImpactClass::Low},
        {L"C:\\Windows\\System32\\host.exe", 20, 10, ImpactClass::Low},
        {L"C:\\Apps\\other.exe", 0, 0, ImpactClass::NotMeasured},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        const EntryImpact impact = ImpactOf(record, c.file, false);
        EXPECT_EQ(impact.impact, c.impact);
        EXPECT_EQ(impact.figures.has_value(), c.cpu != 0);
        const ImpactFigures figures = impact.figures.value_or(ImpactFigures{});
        EXPECT_EQ(std::pair(figures.cpuMicroseconds, figures.diskBytes), std::pair(c.cpu, c.disk));
    }
    EXPECT_EQ(ImpactOf(record, L"C:\\Apps\\notes.exe", true).impact, ImpactClass::None) << "disabled";
    EXPECT_EQ(
        ImpactDetailText(&record, ImpactOf(record, L"C:\\Apps\\notes.exe", false), true, false).substr(0, 44),
        L"Logon impact: Low\r\nCPU time: 0 ms\r\nRead from");
}

TEST(LogonImpactClasses, TheBoundariesAreOneSecondThreeMegabytesThreeHundredMillisecondsAndKilobytes)
{
    constexpr ULONGLONG KB = 1024, MB = 1024 * 1024;
    const struct
    {
        ULONGLONG cpu, disk;
        ImpactClass impact;
    } cases[] = {
        {0, 0, ImpactClass::Low},
        {300'000, 300 * KB, ImpactClass::Low},
        {300'001, 0, ImpactClass::Medium},
        {0, 300 * KB + 1, ImpactClass::Medium},
        {1'000'000, 3 * MB, ImpactClass::Medium},
        {1'000'001, 0, ImpactClass::High},
        {0, 3 * MB + 1, ImpactClass::High},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassOf({c.cpu, c.disk}), c.impact) << c.cpu << " us, " << c.disk << " bytes";
    EXPECT_EQ(std::wstring(ScriptImpactWord(ImpactClass::NotMeasured)) + ScriptImpactWord(ImpactClass::None),
              L"not measurednone");
}

TEST(LogonImpactPaths, ADevicePathTakesTheDriveThatNamesItsDeviceNow)
{
    wchar_t target[MAX_PATH] = {};
    ASSERT_TRUE(QueryDosDeviceW(L"C:", target, MAX_PATH));
    EXPECT_EQ(platform::DosPathOfDevicePath(std::wstring(target) + L"\\Apps\\x.exe"), L"C:\\Apps\\x.exe")
        << target;
    EXPECT_EQ(platform::DosPathOfDevicePath(L"\\Device\\NoSuchVolume\\x.exe"), L"");
    EXPECT_EQ(platform::DosPathOfDevicePath(L"C:\\x.exe"), L"");
}
