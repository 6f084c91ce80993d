// The services view on services made in the test prefix: listed with their start types, disabled
// and enabled back exactly, a refusal told, the remembered start types and profiles, and the
// wiring of the main window.
#include "apply/ServicesApply.h"
#include "find/ServiceDisplay.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "services/TestServices.h"
#include "staging/Profiles.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"
#include "support/WindowFixture.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <cwchar>
#include <tuple>

using platform::ServiceStart;

namespace
{

const ServiceStart Automatic{SERVICE_AUTO_START, false}, Delayed{SERVICE_AUTO_START, true},
    Manual{SERVICE_DEMAND_START, false}, Off{SERVICE_DISABLED, false};

class ServicesTest : public testsupport::MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        servicetest::UseDelayedStandIn();
        platform::RemoveFile(ServiceStartsPath(), true);
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown(); // the window first: it may hold the services' list
        servicetest::DeleteServices(made_);
        platform::OverrideDelayedStart({});
        platform::DenyServiceChanges({});
        platform::RemoveFile(ServiceStartsPath(), true);
    }
    // A service of this test, by the tag that ends its unique name.
    std::wstring Make(const std::wstring& tag, ServiceStart start)
    {
        static int counter = 0;
        made_.push_back(L"RavTest" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter) + tag);
        EXPECT_TRUE(servicetest::MakeService(made_.back(), start));
        return made_.back();
    }
    ServicesState& Fill()
    {
        state_ = ServicesState{};
        FillServices(state_, main_);
        return state_;
    }
    ServiceRow& Row(const std::wstring& name) { return state_.List.Row(state_.List.FindName(name)); }
    void Stage(const std::wstring& name, bool enable) { ASSERT_NE(StageService(state_, name, enable), 0); }

    MainState main_;
    ServicesState state_;
    std::vector<std::wstring> made_;
};

} // namespace

TEST_F(ServicesTest, ListedWithEachStartTypeDisabledWithoutStoppingAndEnabledBackExactly)
{
    const std::wstring a = Make(L"A", Automatic), b = Make(L"B", Delayed), c = Make(L"C", Manual),
                       d = Make(L"D", Off), e = Make(L"E", Off);
    ASSERT_TRUE(servicetest::Run(a));
    Fill();
    const std::tuple<std::wstring, std::wstring, std::wstring> expected[] = {
        {a, L"Enabled", L"Automatic"},
        {b, L"Enabled", L"Automatic (Delayed Start)"},
        {c, L"Enabled", L"Manual"},
        {d, L"Disabled", L"Disabled"}};
    for (const auto& [name, status, type] : expected)
    {
        EXPECT_EQ(Row(name).status, status) << name.c_str();
        EXPECT_EQ(StartTypeWord(Row(name).start), type) << name.c_str();
        EXPECT_EQ(Row(name).imagePath, L"\"" + servicetest::ServiceProgram() + L"\"");
    }
    EXPECT_EQ(ServiceStateWord(Row(a).state), L"Running");
    EXPECT_EQ(ServiceStateWord(Row(c).state), L"Stopped");

    // Disabled by someone else, nothing remembered: Manual, or Automatic when picked.
    EXPECT_TRUE(CanPickAutomatic(state_, state_.List.FindName(e)));
    Row(e).enableAutomatic = true;
    for (const std::wstring& name : {a, b, c})
        Stage(name, false);
    Stage(d, true);
    Stage(e, true);
    const ServicesApplyResult applied = ApplyServices(state_);
    EXPECT_EQ(applied.disabled, 3);
    EXPECT_EQ(applied.enabled, 2);
    EXPECT_TRUE(applied.failures.empty());
    EXPECT_EQ(applied.stillRunning, std::vector<std::wstring>{L"Test " + a});
    EXPECT_EQ(ServicesApplyText(applied),
              L"Services: 3 disabled, 2 enabled. Still running, disabled from the "
              L"next start: Test " +
                  a + L".");
    EXPECT_EQ(servicetest::StateOf(a), static_cast<DWORD>(SERVICE_RUNNING)) << "never stopped";
    for (const std::wstring& name : {a, b, c})
        EXPECT_EQ(servicetest::StartOf(name).type, Off.type) << name.c_str();
    EXPECT_EQ(servicetest::StartOf(d), Manual);
    EXPECT_EQ(servicetest::StartOf(e), Automatic);

    // Remembered across a restart of the program, and given back exactly.
    const RememberedStarts remembered = ReadRememberedStarts();
    ASSERT_EQ(remembered.entries.size(), 3u);
    EXPECT_EQ(RememberedFor(remembered.entries, b)->start, Delayed);
    Fill();
    EXPECT_FALSE(CanPickAutomatic(state_, state_.List.FindName(a))) << "its own start is remembered";
    for (const std::wstring& name : {a, b, c})
        Stage(name, true);
    EXPECT_EQ(ApplyServices(state_).enabled, 3);
    EXPECT_EQ(servicetest::StartOf(a), Automatic);
    EXPECT_EQ(servicetest::StartOf(b), Delayed);
    EXPECT_EQ(servicetest::StartOf(c), Manual);
    EXPECT_FALSE(platform::FileExists(ServiceStartsPath())) << "nothing left to remember";

    // For scripts: the shown rows, with language-neutral keys.
    DisplayList display;
    display.filter = a;
    UpdateServiceDisplay(display, state_.List, FileFactsTable(), false);
    const std::wstring json = ServicesToJson(ServiceExportRows(state_.List, FileFactsTable(), display));
    EXPECT_NE(json.find(L"\"name\": \"" + a + L"\", \"displayName\": \"Test " + a +
                        L"\", \"startType\": \"Automatic\", \"state\": \"Running\", \"status\": \"Enabled\""),
              std::wstring::npos)
        << json.c_str();
}

TEST_F(ServicesTest, ARefusedChangeAndAnUnreadableStoreLeaveEveryServiceAsItWas)
{
    const std::wstring a = Make(L"A", Automatic), b = Make(L"B", Manual);
    platform::DenyServiceChanges({a});
    Fill();
    Stage(a, false);
    ServicesApplyResult applied = ApplyServices(state_);
    ASSERT_EQ(applied.failures.size(), 1u);
    EXPECT_EQ(applied.failures[0].error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ServicesApplyText(applied),
              L"Services: 0 disabled, 0 enabled. Not applied: Test " + a + L" (access denied).");
    EXPECT_EQ(servicetest::StartOf(a), Automatic);
    EXPECT_EQ(Row(a).status, L"Enabled") << "the row says where the service is";
    EXPECT_FALSE(platform::FileExists(ServiceStartsPath())) << "a start it still has is not remembered";

    // A line this build cannot read: nothing changes, and the file stays byte for byte.
    const std::string bytes = "\xEF\xBB\xBF"
                              "3 0 Kept\r\n2 maybe Broken\r\n";
    testsupport::WriteBytes(ServiceStartsPath(), bytes);
    Fill();
    EXPECT_EQ(state_.StoreUnreadable, 1u);
    Stage(b, false);
    applied = ApplyServices(state_);
    ASSERT_EQ(applied.failures.size(), 1u);
    EXPECT_EQ(applied.failures[0].reason, ServiceFailure::StartsNotRead);
    EXPECT_EQ(servicetest::StartOf(b), Manual);
    EXPECT_EQ(testsupport::ReadBytes(ServiceStartsPath()), bytes);

    // Names are written escaped, so that any comes back as it was.
    const std::vector<RememberedStart> odd = {{L"back\\slash \r\nbreak", Delayed},
                                              {L"\u00E9t\u00E9 \xD800", Off}};
    ASSERT_EQ(WriteRememberedStarts(odd), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadRememberedStarts().entries, odd);
}

TEST_F(ServicesTest, AProfileKeepsTheStagedServicesAfterTheStartupRowsAndAnOlderOneLeavesThem)
{
    const std::wstring a = Make(L"A", Automatic), d = Make(L"D", Off);
    Fill();
    Stage(a, false);
    Stage(d, true);
    Row(d).enableAutomatic = true;
    StartupList list;
    list.AppendRow({L"Tool", L"Enabled", L"Registry(User Run)", L"Current User", L"Current User logs On",
                    L"C:\\tool.exe"});
    const std::wstring file = programFolder + L"\\both.Pro", older = programFolder + L"\\older.Pro";
    ASSERT_EQ(SaveProfile(list, file, ServiceProfileRecords(state_)), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(SaveProfile(list, older), static_cast<DWORD>(ERROR_SUCCESS));

    Fill();
    StartupList loaded;
    ProfileLoad outcome = LoadProfile(loaded, file);
    EXPECT_EQ(testsupport::RowTexts(loaded, TaskName), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(outcome.services.size(), static_cast<size_t>(state_.List.Count()));
    LoadServiceProfileRecords(state_, outcome.services);
    EXPECT_EQ(Row(a).status, L"Disabled");
    EXPECT_EQ(Row(d).status, L"Enabled");
    EXPECT_TRUE(Row(d).enableAutomatic);

    Row(a).status = L"Enabled";
    outcome = LoadProfile(loaded, older);
    EXPECT_TRUE(outcome.services.empty());
    LoadServiceProfileRecords(state_, outcome.services);
    EXPECT_EQ(Row(a).status, L"Enabled") << "an older profile leaves the services as they are";
}

TEST_F(ServicesTest, TheServicesViewStagesAppliesAndJumpsOnItsOwnRows)
{
    const std::wstring a = Make(L"A", Automatic);
    frmMain& w = Open();
    auto command = [&](int id) { SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    // The window itself is not shown in a test: its lists say whether they would be.
    auto shown = [&](int id) { return (GetWindowLongW(w.Control(id), GWL_STYLE) & WS_VISIBLE) != 0; };
    const HWND services = w.Control(IDC_LISTSERVICES);
    EXPECT_FALSE(shown(IDC_LISTSERVICES)) << "the startup programs come first";
    EXPECT_TRUE(shown(IDC_LISTVIEW1));
    command(IDM_NEXTVIEW);
    ASSERT_TRUE(w.Services().Shown());
    EXPECT_EQ(TabCtrl_GetCurSel(w.Control(IDC_TABVIEWS)), 1);
    EXPECT_TRUE(shown(IDC_LISTSERVICES));
    EXPECT_TRUE(shown(IDC_CHKHIDEWINDOWS));
    EXPECT_FALSE(shown(IDC_LISTVIEW1));
    EXPECT_FALSE(IsWindowEnabled(w.Control(IDC_CMDREMOVE)));
    EXPECT_FALSE(IsWindowEnabled(w.Control(IDC_CMDADDTASK)));

    SetWindowTextW(w.Control(IDC_TXTFILTER), a.c_str());
    ASSERT_EQ(ListView_GetItemCount(services), 1);
    ListView_SetItemState(services, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    command(IDC_CMDDISABLE);
    wchar_t text[512] = {};
    ListView_GetItemText(services, 0, ServiceStatus, text, 512);
    EXPECT_EQ(std::wstring(text), L"Disabled");
    EXPECT_EQ(testsupport::WindowText(w.Control(IDC_CMDDISABLE)), L"&Enable");
    command(IDC_CMDRESET);
    ListView_GetItemText(services, 0, ServiceStatus, text, 512);
    EXPECT_EQ(std::wstring(text), L"Enabled");
    command(IDC_CMDDISABLE);
    command(IDM_APP_JUST);
    EXPECT_EQ(servicetest::StartOf(a), Off);
    SendMessageW(w.Control(IDC_STATUSBAR), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"Services: 1 disabled, 0 enabled.");
    SendMessageW(w.Control(IDC_STATUSBAR), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"1 of " + std::to_wstring(w.Services().State().List.Count()) + L" shown");

    // Windows' own hidden, once their files are known; Wine's installer service says Microsoft made it.
    SetWindowTextW(w.Control(IDC_TXTFILTER), L"");
    auto allKnown = [&] {
        const ServiceList& rows = w.Services().State().List;
        for (int position = 1; position <= rows.Count(); ++position)
            if (!w.Facts().Find(rows.Row(position).imagePath))
                return false;
        return true;
    };
    while (!allKnown())
    {
        ASSERT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT), WAIT_TIMEOUT);
        testsupport::PumpMessages();
    }
    SendMessageW(w.Control(IDC_CHKHIDEWINDOWS), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(IDC_CHKHIDEWINDOWS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(w.Control(IDC_CHKHIDEWINDOWS)));
    SendMessageW(w.Control(IDC_STATUSBAR), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    int shownCount = 0, all = 0, hidden = 0;
    ASSERT_EQ(swscanf(text, L"%d of %d shown, %d Windows services hidden", &shownCount, &all, &hidden), 3)
        << text;
    EXPECT_GE(hidden, 1);
    EXPECT_EQ(shownCount + hidden, all);
    EXPECT_EQ(ListView_GetItemCount(services), shownCount);
    SetWindowTextW(w.Control(IDC_TXTFILTER), a.c_str());
    ASSERT_EQ(ListView_GetItemCount(services), 1) << "a vendor's service stays";
    ListView_SetItemState(services, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    std::vector<std::wstring> started;
    w.Launcher.startProgram = [&](const std::wstring& program, const std::wstring&) {
        started.push_back(program);
        return DWORD(ERROR_SUCCESS);
    };
    command(IDM_OPENLOCATION);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find(L"regedit.exe"), std::wstring::npos);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, platform::names::RegistryEditorKey,
                                          platform::names::RegistryEditorLastKey),
              L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + a);

    command(IDM_NEXTVIEW);
    EXPECT_FALSE(w.Services().Shown());
    EXPECT_TRUE(IsWindowEnabled(w.Control(IDC_CMDADDTASK)));
}
