// The win.ini scanner: value length rules, the two rows and their words.
#include "inventory/Scanners.h"
#include "support/Fixtures.h"

using testsupport::RavelinTest;

namespace {

class WinIniScannerTest : public RavelinTest {
  protected:
    void SetValue(const wchar_t* key, const std::wstring& value)
    {
        WritePrivateProfileStringW(L"Windows", key, value.c_str(), WinIniPath().c_str());
    }
    void Scan()
    {
        LoadSourceNames(names);
        LoadWinIniEntries(list, names);
    }
    StartupList list;
    SourceNameTable names;
};

} // namespace

TEST_F(WinIniScannerTest, ValueLengthRules)
{
    struct Case {
        size_t length;
        size_t shown; // 0: no row
    };
    for (Case c : {Case{0, 0}, Case{1, 0}, Case{2, 2}, Case{126, 126}, Case{127, 126}, Case{200, 126}}) {
        std::wstring value(c.length, L'a');
        SetValue(L"Load", value);
        list.Clear();
        Scan();
        if (c.shown == 0) {
            EXPECT_EQ(list.Count(), 0) << c.length;
        } else {
            ASSERT_EQ(list.Count(), 1) << c.length;
            EXPECT_EQ(list.Text(1, Location), value.substr(0, c.shown)) << c.length;
        }
    }
}

TEST_F(WinIniScannerTest, LoadRowComesBeforeRunRowWithTheirWords)
{
    SetValue(L"Run", L"C:\\a.exe C:\\b.exe C:\\c.exe");
    SetValue(L"Load", L"C:\\clock.exe");
    Scan();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Row(1), (StartupEntry{L"Win.ini Load", L"Enabled", L"Win.ini Load", L"All Users", L"Any User Logs On",
                                         L"C:\\clock.exe"}));
    // One row for the whole value, however many programs it names; "All users" with a small u.
    EXPECT_EQ(list.Row(2), (StartupEntry{L"Win.ini Run", L"Enabled", L"Win.ini Run", L"All users", L"Any User Logs On",
                                         L"C:\\a.exe C:\\b.exe C:\\c.exe"}));
}

TEST_F(WinIniScannerTest, OnlyARunValueGivesOneRow)
{
    SetValue(L"Run", L"C:\\only.exe");
    Scan();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(1, TaskName), L"Win.ini Run");
}

TEST_F(WinIniScannerTest, SectionAndKeyMatchWithoutRegardToCase)
{
    WritePrivateProfileStringW(L"WINDOWS", L"LOAD", L"C:\\upper.exe", WinIniPath().c_str());
    EXPECT_EQ(ReadIniValue(L"windows", L"load", WinIniPath()), L"C:\\upper.exe");
    Scan();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(1, Location), L"C:\\upper.exe");
}

TEST_F(WinIniScannerTest, MissingFileGivesNoRow)
{
    EXPECT_EQ(ReadIniValue(L"Windows", L"Load", programFolder + L"\\missing.ini"), L"");
    Scan();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(WinIniScannerTest, APackLackingKey416KeepsBothEnglishUserWords)
{
    WritePack(L"English.ini", L"413=On\r\n");
    SetValue(L"Load", L"C:\\l.exe");
    SetValue(L"Run", L"C:\\r.exe");
    Scan();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(1, User), L"All Users");
    EXPECT_EQ(list.Text(2, User), L"All users");
    EXPECT_EQ(list.Text(2, Status), L"On");
}
