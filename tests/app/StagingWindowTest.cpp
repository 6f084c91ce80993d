// Staging on the real main window: buttons, keys, and disabled entries across a restart.
#include "app/frmMain.h"
#include "app/resource.h"
#include "staging/EntryStore.h"
#include "support/Fixtures.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

#include <commctrl.h>

using testsupport::RavelinTest;
using testsupport::WindowText;

namespace {

class StagingWindowTest : public testsupport::MainWindowFixture {
  protected:
    frmMain& Open()
    {
        MainWindowFixture::Open();
        ShowWindow(window->Handle(), SW_SHOW);
        testsupport::PumpMessages();
        return *window;
    }
    void Click(int id)
    {
        SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window->Control(id)));
    }
    void SelectRow(int index)
    {
        HWND list = window->Control(IDC_LISTVIEW1);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::wstring Cell(int index, int column)
    {
        wchar_t text[256] = {};
        ListView_GetItemText(window->Control(IDC_LISTVIEW1), index, column, text, 256);
        return text;
    }
};

const std::wstring RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

TEST_F(StagingWindowTest, ButtonsFollowClicksAndTheSelectedRow)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"A", L"a.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"B", L"b.exe");
    Open();
    HWND disable = window->Control(IDC_CMDDISABLE), remove = window->Control(IDC_CMDREMOVE);
    Click(IDC_CMDDISABLE);
    EXPECT_EQ(Cell(0, 1), L"Disabled");
    EXPECT_EQ(WindowText(disable), L"&Enable");
    Click(IDC_CMDREMOVE);
    EXPECT_EQ(Cell(0, 1), L"Remove");
    EXPECT_FALSE(IsWindowEnabled(remove));
    SelectRow(1); // an enabled row
    EXPECT_EQ(WindowText(disable), L"&Disable");
    EXPECT_TRUE(IsWindowEnabled(remove));
    SelectRow(0); // the row marked Remove keeps the caption, disables Remove
    EXPECT_EQ(WindowText(disable), L"&Disable");
    EXPECT_FALSE(IsWindowEnabled(remove));
    EXPECT_TRUE(IsWindowEnabled(disable));
}

TEST_F(StagingWindowTest, SpaceAndEnterOnARowChangeNothing)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"A", L"a.exe");
    Open();
    HWND list = window->Control(IDC_LISTVIEW1);
    SetFocus(list);
    for (WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        SendMessageW(list, WM_KEYDOWN, key, 0);
        SendMessageW(list, WM_CHAR, key == VK_SPACE ? L' ' : L'\r', 0);
        SendMessageW(list, WM_KEYUP, key, 0);
        testsupport::PumpMessages();
    }
    EXPECT_EQ(Cell(0, 1), L"Enabled");
}

TEST_F(StagingWindowTest, ADisabledEntryInTheStoreComesBackAfterARestart)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Kept", L"kept.exe");
    WriteStore({{L"Gone", L"Disabled", L"Registry(User Run)", L"Current User", L"Current User logs On", L"gone.exe"}});
    Open();
    ASSERT_EQ(window->State().List.Count(), 2);
    EXPECT_EQ(Cell(1, 0), L"Gone");
    EXPECT_EQ(Cell(1, 1), L"Disabled");
    EXPECT_EQ(window->State().BaselineCount, 2);
    window.reset();

    // Only the stored row: it is the first row, so the button offers to enable it.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey.c_str(), L"Kept");
    Open();
    ASSERT_EQ(window->State().List.Count(), 1);
    EXPECT_EQ(WindowText(window->Control(IDC_CMDDISABLE)), L"&Enable");
    EXPECT_TRUE(IsWindowEnabled(window->Control(IDC_CMDREMOVE)));
}

TEST_F(StagingWindowTest, AnEmptyListLeavesTheButtonsAsTheStartLeftThem)
{
    Open();
    EXPECT_EQ(window->State().List.Count(), 0);
    EXPECT_EQ(window->State().BaselineCount, 0);
    EXPECT_EQ(WindowText(window->Control(IDC_CMDDISABLE)), L"&Disable");
    EXPECT_TRUE(IsWindowEnabled(window->Control(IDC_CMDREMOVE)));
    Click(IDC_CMDDISABLE);
    Click(IDC_CMDREMOVE);
    EXPECT_TRUE(IsWindowEnabled(window->Control(IDC_CMDREMOVE)));
}

TEST_F(StagingWindowTest, AStoreThatCannotBeReadIsToldOnceWithItsNameAndReason)
{
    WriteStore({{L"Gone", L"Disabled", L"Registry(User Run)", L"Current User", L"Current User logs On", L"gone.exe"}});
    HANDLE held = CreateFileW(StorePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    testsupport::MessageBoxAnswer told(IDOK);
    Open();
    testsupport::PumpMessages();
    EXPECT_EQ(told.Shown(), 1);
    EXPECT_NE(told.Text().find(StorePath()), std::wstring::npos);
    EXPECT_NE(told.Text().find(L"in use by another program"), std::wstring::npos);
    window->cmdReset_Click(); // still held: not told again
    EXPECT_EQ(told.Shown(), 1);
    CloseHandle(held);
    window->cmdReset_Click();
    EXPECT_EQ(window->State().List.Count(), 1);
}
