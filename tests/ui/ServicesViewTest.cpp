// The main window's Services view: its tab, staging, apply, hiding Windows services and its jump.
#include "find/ServiceDisplay.h"
#include "platform/Names.h"
#include "staging/ServiceStaging.h"
#include "ui/frmAddTask.h"
#include "support/ServicesFixture.h"

#include <cwchar>

using namespace servicetest;

TEST_F(ServicesTest, TheServicesViewStagesAppliesAndJumpsOnItsOwnRows)
{
    UseSystemTrust();
    const std::wstring a = Make(L"A", Automatic);
    // A program of Windows: in its folder, signed by Microsoft (a name Wine takes from any root).
    const std::wstring windowsProgram =
        platform::GetWindowsFolder() + L"\\ravtest-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    ASSERT_TRUE(CopyFileW((testsupport::BuildFolder() + L"\\tests\\trust\\microsoft.exe").c_str(),
                          windowsProgram.c_str(), FALSE));
    made_.push_back(L"RavTestWindows" + std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(servicetest::MakeService(made_.back(), Manual, L"\"" + windowsProgram + L"\""));
    testsupport::SetRegString(HKEY_CURRENT_USER, testsupport::RunKey, L"Kept", L"kept.exe");
    frmMain& w = Open();
    // The window itself is not shown in a test: its lists say whether they would be.
    auto shown = [&](int id) { return (GetWindowLongW(w.Control(id), GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_EQ(w.Control(IDC_LISTSERVICES), nullptr) << "the startup programs come first";
    EXPECT_TRUE(shown(IDC_LISTSTARTUP));
    Command(IDM_NEXTVIEW);
    ASSERT_EQ(&w.Shown(), &w.View(EntryKind::Service));
    const HWND services = w.Control(IDC_LISTSERVICES);
    EXPECT_EQ(GetWindow(w.Control(IDC_LISTSTARTUP), GW_HWNDNEXT), services)
        << "tabbed to after the other list";
    EXPECT_EQ(TabCtrl_GetCurSel(w.Control(IDC_TABVIEWS)), 1);
    EXPECT_TRUE(shown(IDC_LISTSERVICES) && shown(IDC_CHKHIDEWINDOWS) && !shown(IDC_LISTSTARTUP))
        << "the box that hides Windows' own stays for every view";
    EXPECT_FALSE(IsWindowEnabled(w.Control(IDC_CMDREMOVE)) || IsWindowEnabled(w.Control(IDC_CMDADDTASK)));
    Command(IDC_CMDREMOVE); // by its access key: the startup program in the other view stays
    EXPECT_EQ(w.State().List.State(1), EntryState::Enabled);
    // Nor does Add Task open its dialog there: one opened would be closed from its loop and counted.
    static int opened = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (frmAddTask* dialog = frmAddTask::Existing())
            ++opened, SendMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    });
    Command(IDC_CMDADDTASK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(opened, 0);

    SetWindowTextW(w.Control(IDC_TXTFILTER), a.c_str());
    ASSERT_EQ(ListView_GetItemCount(services), 1);
    ListView_SetItemState(services, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(IDC_CMDDISABLE);
    EXPECT_EQ(testsupport::ItemText(services, 0, ServiceStatus), L"Disabled");
    EXPECT_EQ(testsupport::WindowText(w.Control(IDC_CMDDISABLE)), L"&Enable");
    Command(IDC_CMDRESET);
    EXPECT_EQ(testsupport::ItemText(services, 0, ServiceStatus), L"Enabled");
    Command(IDC_CMDDISABLE);
    Command(IDM_APP_JUST);
    EXPECT_EQ(servicetest::StartOf(a), Off);
    EXPECT_EQ(StatusText(0), L"Services: 1 disabled, 0 enabled.");
    EXPECT_EQ(StatusText(1),
              L"1 of " + std::to_wstring(w.Entries().Services().State().List.Count()) + L" shown");

    // Windows' own hide as their signatures become known, none before the messages with the facts
    // are taken: Microsoft's signature on a program in the Windows folder, not what a file says of
    // itself (Wine's own services say Microsoft made them, unsigned).
    SetWindowTextW(w.Control(IDC_TXTFILTER), L"");
    SendMessageW(w.Control(IDC_CHKHIDEWINDOWS), BM_CLICK, 0, 0);
    const int listed = w.Entries().Services().State().List.Count();
    ASSERT_EQ(ListView_GetItemCount(services), listed);
    auto allKnown = [&] {
        const ServiceList& rows = w.Entries().Services().State().List;
        for (int position = 1; position <= rows.Count(); ++position)
        {
            const FileFacts* facts = FactsOfService(rows, w.Facts(), position);
            if (!facts || (facts->state == FileFacts::State::Found && !platform::FolderExists(facts->file) &&
                           !w.Facts().TrustOf(facts)))
                return false;
        }
        return true;
    };
    while (!allKnown())
    {
        ASSERT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT), WAIT_TIMEOUT);
        testsupport::PumpMessages();
    }
    EXPECT_EQ(ListView_GetItemCount(services), listed - 1) << "hidden as its signature came";
    SendMessageW(w.Control(IDC_CHKHIDEWINDOWS), BM_CLICK, 0, 0);
    EXPECT_EQ(ListView_GetItemCount(services), listed) << "shown again as the box is cleared";
    SendMessageW(w.Control(IDC_CHKHIDEWINDOWS), BM_CLICK, 0, 0);
    const std::wstring count = StatusText(1);
    int shownCount = 0, all = 0, hidden = 0;
    ASSERT_EQ(swscanf(count.c_str(), L"%d of %d shown, %d hidden", &shownCount, &all, &hidden), 3) << count;
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(shownCount + hidden, all);
    EXPECT_EQ(ListView_GetItemCount(services), shownCount);
    SetWindowTextW(w.Control(IDC_TXTFILTER), a.c_str());
    ASSERT_EQ(ListView_GetItemCount(services), 1) << "a vendor's service stays";
    ListView_SetItemState(services, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(w.Shown().SelectedRowJumps().properties) << "its program is there";

    // The editor opens at the service's key; that it starts is the jump tests' to see.
    w.Launcher.startProgram = [](const std::wstring&, const std::wstring&) { return DWORD(ERROR_SUCCESS); };
    Command(IDM_OPENLOCATION);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, platform::names::RegistryEditorKey,
                                          platform::names::RegistryEditorLastKey),
              L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + a);

    Command(IDM_NEXTVIEW);
    EXPECT_EQ(w.Shown().Entries().Id(), EntryKind::Task);
    Command(IDM_NEXTVIEW); // round to the first
    EXPECT_EQ(w.Shown().Entries().Id(), EntryKind::Startup);
    EXPECT_TRUE(IsWindowEnabled(w.Control(IDC_CMDADDTASK)));

    // A startup program disabled here, a service enabled on its view: Apply & Exit there applies both.
    SetWindowTextW(w.Control(IDC_TXTFILTER), L"");
    ListView_SetItemState(w.Control(IDC_LISTSTARTUP), 0, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    Command(IDC_CMDDISABLE);
    ASSERT_TRUE(w.ShowView(EntryKind::Service));
    ASSERT_NE(StageService(w.Entries().Services().State(), a, true), 0);
    Command(IDM_APP_EXIT);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, testsupport::RunKey, L"Kept"));
    EXPECT_EQ(servicetest::StartOf(a), Automatic) << "its own start back";
    EXPECT_EQ(w.Handle(), nullptr) << "and the program ended";
    platform::RemoveFile(windowsProgram, true);
}
