// The Apply menu on the real main window, and clsExitWindows with the session request taken
// by the test instead of Windows.
#include "ApplyFixture.h"
#include "app/frmMain.h"
#include "app/resource.h"
#include "apply/clsExitWindows.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Privileges.h"
#include "platform/Settings.h"
#include "staging/EntryStore.h"
#include "support/DialogAnswer.h"

#include <commctrl.h>

#include <optional>
#include <vector>

using namespace applytest;

namespace {

bool ShutdownPrivilegeEnabled()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid);
    std::vector<BYTE> buffer(4096);
    DWORD length = 0;
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()),
                            &length)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i)
            if (privileges->Privileges[i].Luid.LowPart == luid.LowPart &&
                privileges->Privileges[i].Luid.HighPart == luid.HighPart)
                enabled = privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED;
    }
    CloseHandle(token);
    return enabled;
}

// What reached the session request, and whether the privilege was enabled at that moment.
struct Request {
    UINT flags;
    DWORD reason;
    bool privilegeEnabled;
};
std::vector<Request> requests;

void RecordRequest(UINT flags, DWORD reason)
{
    requests.push_back({flags, reason, ShutdownPrivilegeEnabled()});
}

class ExitWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        requests.clear();
        platform::OverrideExitWindows(RecordRequest);
        // Start from a disabled privilege, so that enabling it is seen.
        ASSERT_EQ(platform::SetProcessPrivilege(SE_SHUTDOWN_NAME, false), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_FALSE(ShutdownPrivilegeEnabled());
    }
    void TearDown() override { platform::OverrideExitWindows(nullptr); }
};

class ApplyMenuTest : public ApplyTest {
  protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        requests.clear();
        platform::OverrideExitWindows(RecordRequest);
    }
    void TearDown() override
    {
        window.reset();
        platform::OverrideExitWindows(nullptr);
        ApplyTest::TearDown();
    }
    frmMain& Open()
    {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        testsupport::PumpMessages(); // the rest of the start, posted for after the first paint
        return *window;
    }
    void Choose(int command) { SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }
    std::wstring StatusBarText() const
    {
        wchar_t text[1024] = {};
        SendMessageW(window->Control(IDC_STATUSBAR), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::wstring ListCell(int item, int subItem) const
    {
        wchar_t text[512] = {};
        ListView_GetItemText(window->Control(IDC_LISTVIEW1), item, subItem, text, 512);
        return text;
    }
    std::unique_ptr<frmMain> window;
};

} // namespace

TEST(ExitWindowsFlagsTest, EachOptionGivesItsForcedFlagsAndOthersNone)
{
    EXPECT_EQ(ExitWindowsFlags(0), std::optional<UINT>(4));
    EXPECT_EQ(ExitWindowsFlags(1), std::optional<UINT>(5));
    EXPECT_EQ(ExitWindowsFlags(2), std::optional<UINT>(7));
    EXPECT_EQ(ExitWindowsFlags(8), std::optional<UINT>(12));
    for (int option : {-1, 3, 4, 6, 7, 9, 12}) EXPECT_EQ(ExitWindowsFlags(option), std::nullopt) << option;
}

TEST_F(ExitWindowsTest, ThePrivilegeIsEnabledBeforeTheRequest)
{
    for (int option : {0, 1, 2, 8}) {
        ASSERT_EQ(platform::SetProcessPrivilege(SE_SHUTDOWN_NAME, false), static_cast<DWORD>(ERROR_SUCCESS));
        clsExitWindows().ExitWindows(option);
    }
    ASSERT_EQ(requests.size(), 4u);
    const UINT flags[] = {4, 5, 7, 12};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(requests[i].flags, flags[i]);
        EXPECT_EQ(requests[i].reason, 0xFFFFFFFFu);
        EXPECT_TRUE(requests[i].privilegeEnabled);
    }
}

TEST_F(ExitWindowsTest, OptionThreeEnablesThePrivilegeButEndsNothing)
{
    clsExitWindows().ExitWindows(3);
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
    EXPECT_TRUE(requests.empty());
}

TEST_F(ApplyMenuTest, JustApplyAppliesSaysWhatHappenedAndStaysOpen)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool", L"C:\\tool.exe");
    frmMain& w = Open();
    EXPECT_EQ(StatusBarText(), L"");
    w.cmdDisable_Click(); // the first row is selected after the fill
    Choose(IDM_APP_JUST);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool"), L"<missing>");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 1 taken out.");
    EXPECT_EQ(ListCell(0, 1), L"Disabled");
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_TRUE(requests.empty());

    // Twice in a row: the system stays as after the first.
    testsupport::SetRegString(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool", L"C:\\put-back.exe");
    Choose(IDM_APP_JUST);
    EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 0 taken out.");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool"), L"C:\\put-back.exe");
}

TEST_F(ApplyMenuTest, AFailureIsNamedInTheStatusBarAndTheRemovedRowLeavesTheList)
{
    SeedPlace(PlaceOf(L"StartUp (All Users)"), L"Calendar", L"C:\\cal.exe");
    SetFileAttributesW((CommonStartup() + L"\\Calendar.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Old", L"C:\\old.exe");
    frmMain& w = Open();
    ASSERT_EQ(ListCell(0, 0), L"Old");
    w.cmdRemove_Click();
    w.State().List.Select(2);
    w.cmdDisable_Click();
    Choose(IDM_APP_JUST);
    EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 1 taken out. Not applied: Calendar (access denied).");
    EXPECT_EQ(ListView_GetItemCount(w.Control(IDC_LISTVIEW1)), 1);
    EXPECT_EQ(ListCell(0, 0), L"Calendar");
    EXPECT_EQ(ListCell(0, 1), L"Enabled") << "still in its folder, and the row says so";
    EXPECT_TRUE(platform::FileExists(CommonStartup() + L"\\Calendar.lnk"));
    EXPECT_TRUE(StoredNames().empty());
}

TEST_F(ApplyMenuTest, LogOffWithNothingStagedWritesTheStoreAndLogsOff)
{
    // A store as another tool might leave it, with bare line feeds: the write gives CR LF.
    testsupport::WriteBytes(
        StorePath(), "Tool\nDisabled\nRegistry(User Run)\nCurrent User\nCurrent User logs On\nC:\\t.exe\n");
    Open();
    Choose(IDM_APP_LOG);
    EXPECT_EQ(
        testsupport::ReadBytes(StorePath()),
        "Tool\r\nDisabled\r\nRegistry(User Run)\r\nCurrent User\r\nCurrent User logs On\r\nC:\\t.exe\r\n");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].flags, 4u);
    EXPECT_EQ(requests[0].reason, 0xFFFFFFFFu);
    EXPECT_TRUE(requests[0].privilegeEnabled);
    // Windows decides when the program ends; until then it stays open with the changes applied.
    EXPECT_TRUE(IsWindow(window->Handle()));
    EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 0 taken out.");
}

TEST_F(ApplyMenuTest, RestartAppliesFirstThenAsksForAForcedRestart)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunBase + L"RunOnce", L"Setup", L"C:\\setup.exe");
    frmMain& w = Open();
    w.cmdDisable_Click();
    Choose(IDM_APP_REST);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, RunBase + L"RunOnce", L"Setup"), L"<missing>");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Setup"});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].flags, 7u);
}

TEST_F(ApplyMenuTest, ExitAppliesThenClosesAndStoresTheLanguage)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Tool", L"C:\\tool.exe");
    frmMain& w = Open();
    w.cmdDisable_Click();
    LanguageFile = L"Deutsch.ini";
    Choose(IDM_APP_EXIT);
    EXPECT_EQ(w.Handle(), nullptr); // the window is gone
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Tool"), L"<missing>");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(platform::LoadLanguageSetting(), L"Deutsch.ini");
    EXPECT_TRUE(requests.empty());
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)); // the program ends
}

TEST_F(ApplyMenuTest, AfterAFailureNothingEndsUnlessTheUserSaysSo)
{
    SeedPlace(PlaceOf(L"StartUp (All Users)"), L"Calendar", L"C:\\cal.exe");
    SetFileAttributesW((CommonStartup() + L"\\Calendar.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    frmMain& w = Open();
    w.cmdDisable_Click();
    for (int command : {IDM_APP_EXIT, IDM_APP_LOG, IDM_APP_REST}) {
        if (command != IDM_APP_EXIT) w.cmdDisable_Click(); // the failed apply put the row back
        testsupport::MessageBoxAnswer no(IDNO);
        Choose(command);
        ASSERT_EQ(no.Shown(), 1) << command;
        EXPECT_NE(no.Text().find(StatusBarText()), std::wstring::npos) << "the failures, as the status bar says them";
        EXPECT_NE(no.Text().find(L"Calendar (access denied)"), std::wstring::npos);
    }
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_TRUE(requests.empty());

    w.cmdDisable_Click();
    testsupport::MessageBoxAnswer yes(IDYES);
    Choose(IDM_APP_LOG);
    EXPECT_EQ(yes.Shown(), 1);
    EXPECT_EQ(requests.size(), 1u);
}
