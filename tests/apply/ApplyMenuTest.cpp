// The Apply menu on the real main window, and clsExitWindows with the session request taken
// by the test instead of Windows.
#include "ApplyFixture.h"
#include "app/frmMain.h"
#include "app/resource.h"
#include "apply/clsExitWindows.h"
#include "i18n/Globals.h"
#include "platform/Privileges.h"
#include "platform/Settings.h"
#include "support/MessageBoxAnswer.h"

#include <commctrl.h>

#include <optional>

using namespace applytest;

namespace {

bool ShutdownPrivilegeEnabled()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    PRIVILEGE_SET set{1, PRIVILEGE_SET_ALL_NECESSARY, {}};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid);
    BOOL enabled = FALSE;
    PrivilegeCheck(token, &set, &enabled);
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
    std::unique_ptr<frmMain> window;
};

} // namespace

TEST_F(ApplyMenuTest, EachOptionEnablesThePrivilegeFirstAndAsksForItsForcedRequest)
{
    for (int option : {-1, 0, 1, 2, 3, 4, 8, 9}) {
        requests.clear();
        ASSERT_EQ(platform::SetProcessPrivilege(SE_SHUTDOWN_NAME, false), static_cast<DWORD>(ERROR_SUCCESS));
        clsExitWindows().ExitWindows(option);
        EXPECT_TRUE(ShutdownPrivilegeEnabled()) << option;
        const std::optional<UINT> flags = ExitWindowsFlags(option);
        ASSERT_EQ(requests.size(), flags ? 1u : 0u) << option; // an option without flags ends nothing
        if (!flags) continue;
        EXPECT_EQ(requests[0].flags, *flags);
        EXPECT_TRUE(*flags & 4) << "forced";
        EXPECT_EQ(requests[0].reason, 0xFFFFFFFFu);
        EXPECT_TRUE(requests[0].privilegeEnabled);
    }
    EXPECT_EQ(ExitWindowsFlags(0), std::optional<UINT>(4)); // log off
    EXPECT_EQ(ExitWindowsFlags(2), std::optional<UINT>(7)); // restart
}

TEST_F(ApplyMenuTest, EachApplyItemAppliesFirstThenDoesWhatItSays)
{
    const std::wstring run = RunBase + L"Run";
    testsupport::SetRegString(HKEY_CURRENT_USER, run, L"Tool", L"C:\\tool.exe");
    frmMain& w = Open();
    EXPECT_EQ(StatusBarText(), L"");
    w.cmdDisable_Click(); // the first row is selected after the fill
    Choose(IDM_APP_JUST);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, L"Tool"), L"<missing>");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 1 taken out.");
    EXPECT_TRUE(requests.empty());

    // Windows decides when the program ends; until then it stays open with the changes applied.
    for (auto [command, flags] : {std::pair{IDM_APP_LOG, 4u}, std::pair{IDM_APP_REST, 7u}}) {
        requests.clear();
        w.cmdDisable_Click();
        Choose(command);
        EXPECT_NE(StatusBarText().find(L"1 "), std::wstring::npos) << command;
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].flags, flags);
        EXPECT_TRUE(IsWindow(w.Handle()));
    }
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, L"Tool"), L"<missing>");

    requests.clear();
    w.cmdDisable_Click();
    LanguageFile = L"Deutsch.ini";
    Choose(IDM_APP_EXIT);
    EXPECT_EQ(w.Handle(), nullptr); // the window is gone, and the program ends
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, run, L"Tool"), L"C:\\tool.exe");
    EXPECT_EQ(platform::LoadLanguageSetting(), L"Deutsch.ini");
    EXPECT_TRUE(requests.empty());
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ApplyMenuTest, AfterAFailureNothingEndsUnlessTheUserSaysSo)
{
    SeedPlace(PlaceOf(L"StartUp (All Users)"), L"Calendar", L"C:\\cal.exe");
    SetFileAttributesW((CommonStartup() + L"\\Calendar.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    frmMain& w = Open();
    for (int command : {IDM_APP_EXIT, IDM_APP_LOG, IDM_APP_REST}) {
        w.cmdDisable_Click(); // each failed apply puts the row back
        testsupport::MessageBoxAnswer no(IDNO);
        Choose(command);
        ASSERT_EQ(no.Shown(), 1) << command;
        EXPECT_EQ(StatusBarText(), L"Applied: 0 written, 0 taken out. Not applied: Calendar (access denied).");
        EXPECT_NE(no.Text().find(StatusBarText()), std::wstring::npos) << "the failures, as the status bar says them";
    }
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_TRUE(requests.empty());

    w.cmdDisable_Click();
    testsupport::MessageBoxAnswer yes(IDYES);
    Choose(IDM_APP_LOG);
    EXPECT_EQ(yes.Shown(), 1);
    EXPECT_EQ(requests.size(), 1u);
}
