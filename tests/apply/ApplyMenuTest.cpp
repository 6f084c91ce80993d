// The Apply menu on the real main window, and clsExitWindows, with the session request taken by
// the test instead of Windows.
#include "ApplyFixture.h"
#include "apply/clsExitWindows.h"
#include "platform/Privileges.h"
#include "platform/Text.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

#include <tuple>

using namespace applytest;

namespace
{

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

// Each session request: its flags, its reason, and whether the privilege was enabled at that moment.
using Request = std::tuple<UINT, DWORD, bool>;
std::vector<Request> requests;
DWORD RecordRequest(UINT flags, DWORD reason)
{
    requests.push_back({flags, reason, ShutdownPrivilegeEnabled()});
    return ERROR_SUCCESS;
}

class ApplyMenuTest : public testsupport::MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        requests.clear();
        platform::OverrideExitWindows(RecordRequest);
    }
    void TearDown() override
    {
        platform::OverrideExitWindows(nullptr);
        MainWindowFixture::TearDown();
    }
};

} // namespace

TEST_F(ApplyMenuTest, EachOptionEnablesThePrivilegeFirstAndAsksForItsForcedRequest)
{
    for (auto [option, flags] :
         {std::pair{0, 4u}, {1, 5u}, {2, 7u}, {8, 12u}, {-1, 0u}, {3, 0u}, {4, 0u}, {9, 0u}})
    {
        requests.clear();
        ASSERT_EQ(platform::SetProcessPrivilege(SE_SHUTDOWN_NAME, false), static_cast<DWORD>(ERROR_SUCCESS));
        clsExitWindows().ExitWindows(option);
        EXPECT_TRUE(ShutdownPrivilegeEnabled()) << option;
        // An option without flags ends nothing.
        EXPECT_EQ(requests,
                  (flags ? std::vector<Request>{{flags, 0xFFFFFFFFu, true}} : std::vector<Request>{}));
    }
    EXPECT_EQ(platform::SetProcessPrivilege(L"SeNoSuchPrivilege", true), DWORD(ERROR_NO_SUCH_PRIVILEGE));
}

TEST_F(ApplyMenuTest, EachApplyItemAppliesFirstThenDoesWhatItSays)
{
    const std::wstring tool = testsupport::SystemFile(L"notepad.exe"); // there: enabled without a question
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", tool);
    frmMain& w = Open();
    EXPECT_EQ(StatusText(0), L"");
    w.cmdDisable_Click(); // the first row is selected after the fill
    Command(IDM_APP_JUST);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunKey, L"Tool"), L"<missing>");
    EXPECT_EQ(StoredNames(), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(StatusText(0), L"Applied: 0 written, 1 taken out.");
    EXPECT_TRUE(requests.empty());

    // Windows decides when the program ends; until then it stays open with the changes applied.
    for (auto [command, flags, status] : {std::tuple{IDM_APP_LOG, 4u, L"Applied: 1 written, 0 taken out."},
                                          std::tuple{IDM_APP_REST, 7u, L"Applied: 0 written, 1 taken out."}})
    {
        requests.clear();
        w.cmdDisable_Click();
        Command(command);
        EXPECT_EQ(StatusText(0), status);
        EXPECT_EQ(requests, (std::vector<Request>{{flags, 0xFFFFFFFFu, true}}));
        EXPECT_TRUE(IsWindow(w.Handle()));
    }
    // Windows refuses, as it does when the shutdown privilege cannot be had: told, and the program goes on.
    platform::OverrideExitWindows([](UINT, DWORD) -> DWORD { return ERROR_PRIVILEGE_NOT_HELD; });
    const std::wstring reason = platform::SystemErrorText(ERROR_PRIVILEGE_NOT_HELD);
    for (auto [command, told] : {std::pair{IDM_APP_LOG, L"log off"}, {IDM_APP_REST, L"restart"}})
    {
        Command(command);
        EXPECT_EQ(StatusText(0), L"Applied: 0 written, 0 taken out. Windows did not " + std::wstring(told) +
                                     L": " + reason + L".");
        EXPECT_TRUE(IsWindow(w.Handle()));
    }

    requests.clear();
    platform::OverrideExitWindows(RecordRequest);
    w.cmdDisable_Click();
    Command(IDM_APP_EXIT);
    EXPECT_EQ(w.Handle(), nullptr); // the window is gone, and the program ends
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunKey, L"Tool"), tool);
    EXPECT_TRUE(requests.empty());
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ApplyMenuTest, AfterAFailureNothingEndsUnlessTheUserSaysSo)
{
    SeedPlace(PlaceOf(L"StartUp (All Users)"), L"Calendar", L"C:\\cal.exe");
    SetFileAttributesW((CommonStartup() + L"\\Calendar.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    frmMain& w = Open();
    for (int command : {IDM_APP_EXIT, IDM_APP_LOG, IDM_APP_REST})
    {
        w.cmdDisable_Click(); // each failed apply puts the row back
        testsupport::DialogAnswer answer(IDNO);
        Command(command);
        ASSERT_EQ(answer.Shown(), 1) << command;
        EXPECT_EQ(StatusText(0), L"Applied: 0 written, 0 taken out. Not applied: Calendar (access denied).");
        EXPECT_NE(answer.Text().find(StatusText(0)), std::wstring::npos)
            << "the failures, as the status bar says them";
    }
    EXPECT_TRUE(IsWindow(w.Handle()) && requests.empty()) << "the window stays, nothing asked of Windows";

    w.cmdDisable_Click();
    testsupport::DialogAnswer yes(IDYES);
    Command(IDM_APP_LOG);
    EXPECT_EQ(yes.Shown(), 1);
    EXPECT_EQ(requests.size(), 1u);
}
