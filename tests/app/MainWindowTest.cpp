// The main window on a real window: controls, menus, the start sequence, the blink, the close.
#include "app/frmMain.h"
#include "app/resource.h"
#include "i18n/Globals.h"
#include "platform/Settings.h"
#include "support/Fixtures.h"
#include "support/WindowFixture.h"

#include <commctrl.h>

using testsupport::RavelinTest;
using testsupport::WindowText;

namespace {

std::wstring MenuText(HMENU menu, UINT item, UINT flag)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, item, text, 256, flag);
    return text;
}

std::wstring ListCell(HWND list, int item, int subItem)
{
    wchar_t text[512] = {};
    ListView_GetItemText(list, item, subItem, text, 512);
    return text;
}

class MainWindowTest : public testsupport::MainWindowFixture {
  protected:
};

} // namespace

TEST_F(MainWindowTest, HasTheControlsMenusAndColumnsAsDesigned)
{
    frmMain& w = Open();
    EXPECT_EQ(WindowText(w.Handle()), L"Brightfold Ravelin");
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"StartUp Programs");
    EXPECT_EQ(WindowText(w.Control(IDC_LBLNOTE)),
              L"Note: no action comes into effect unless you choose an item from the apply menu");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Disable"); // no pack: built-in words
    EXPECT_EQ(WindowText(w.Control(IDC_CMDREMOVE)), L"&Remove");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDRESET)), L"R&eset All");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDADDTASK)), L"Add &Task");
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL3)), L"Select  Language");

    HWND list = w.Control(IDC_LISTVIEW1);
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_OWNERDATA);
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(Header_GetItemCount(header), 7);
    const wchar_t* headers[] = {L"Task Name", L"Status",   L"Load From", L"User",
                                L"When?",     L"Location", L"Publisher"};
    for (int c = 0; c < 7; ++c) {
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header, c, &item);
        EXPECT_EQ(std::wstring(text), headers[c]);
    }

    HMENU bar = GetMenu(w.Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), L"&Edit");
    EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), L"&Profile");
    EXPECT_EQ(MenuText(bar, 2, MF_BYPOSITION), L"&Apply");
    EXPECT_EQ(MenuText(bar, 3, MF_BYPOSITION), L"&Help");
    EXPECT_EQ(MenuText(bar, IDM_REGISTRY, MF_BYCOMMAND), L"Registry");
    EXPECT_EQ(MenuText(bar, IDM_APP_EXIT, MF_BYCOMMAND), L"Apply and& Exit Program");
    EXPECT_EQ(MenuText(bar, IDM_APP_JUST, MF_BYCOMMAND), L"&Just Apply");
    EXPECT_TRUE(GetMenuState(bar, IDM_UPDATE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(bar, IDM_VISIT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(bar, IDM_ABOUT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindowTest, ShowsTheScannedRowsInTheList)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tool",
                              L"C:\\tool.exe");
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", L"Once",
                              L"C:\\once.exe");
    // Switched off by Windows itself: the list says so.
    testsupport::SetRegBinary(HKEY_CURRENT_USER,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run", L"Tool",
                              REG_BINARY, {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    frmMain& w = Open();
    HWND list = w.Control(IDC_LISTVIEW1);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0), L"Tool");
    EXPECT_EQ(ListCell(list, 0, 1), L"Disabled by Windows");
    EXPECT_EQ(ListCell(list, 1, 1), L"Enabled");
    EXPECT_EQ(ListCell(list, 0, 2), L"Registry(User Run)");
    EXPECT_EQ(ListCell(list, 1, 2), L"Registry(Machine RunOnce)");
    EXPECT_EQ(ListCell(list, 1, 5), L"C:\\once.exe");
    // After a fill the first row is selected.
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
    EXPECT_EQ(w.State().BaselineCount, 2);
}

TEST_F(MainWindowTest, NoteBlinksEveryTick)
{
    frmMain& w = Open();
    ShowWindow(w.Handle(), SW_SHOW);
    HWND note = w.Control(IDC_LBLNOTE);
    EXPECT_TRUE(IsWindowVisible(note));
    w.Timer1_Timer();
    EXPECT_TRUE(IsWindowVisible(note)); // visible for the first second
    w.Timer1_Timer();
    EXPECT_FALSE(IsWindowVisible(note));
    w.Timer1_Timer();
    EXPECT_TRUE(IsWindowVisible(note));

    // The real 500 ms timer drives the same handler: wait for its next toggle.
    const bool before = IsWindowVisible(note);
    const ULONGLONG deadline = GetTickCount64() + 3000;
    while (IsWindowVisible(note) == before && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        testsupport::PumpMessages();
    }
    EXPECT_NE(IsWindowVisible(note), before);
}

TEST_F(MainWindowTest, ClosingStoresTheLanguageAndAStoredChoiceIsUsed)
{
    EXPECT_EQ(platform::LoadLanguageSetting(), L"");
    Open();
    EXPECT_EQ(LanguageFile, L"English.ini"); // nothing stored: English
    LanguageFile = L"French.ini";
    window.reset();
    EXPECT_EQ(platform::LoadLanguageSetting(), L"French.ini");

    platform::SaveLanguageSetting(L"German.ini");
    Open();
    EXPECT_EQ(LanguageFile, L"German.ini");
    window.reset();
    platform::SaveLanguageSetting(L""); // an empty stored name counts as none
    Open();
    EXPECT_EQ(LanguageFile, L"English.ini");
}

TEST_F(MainWindowTest, ASecondInstanceEndsSilentlyAndStoresNothing)
{
    platform::SingleInstance first;
    ASSERT_FALSE(first.AnotherIsRunning());
    platform::SaveLanguageSetting(L"Arabic.ini");
    frmMain second;
    EXPECT_FALSE(second.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(second.Handle(), nullptr);
    EXPECT_EQ(platform::LoadLanguageSetting(), L"Arabic.ini");
}

TEST_F(MainWindowTest, StartsWithAMissingOrBrokenSkin)
{
    Open(); // no Title.skn in the program folder
    EXPECT_TRUE(created);
    window.reset();
    testsupport::WriteBytes(programFolder + L"\\Title.skn", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    Open();
    EXPECT_TRUE(created);
    window.reset();
    CopyFileW((testsupport::RepoFolder() + L"\\data\\Title.skn").c_str(), (programFolder + L"\\Title.skn").c_str(),
              FALSE);
    Open();
    EXPECT_TRUE(created);
}
