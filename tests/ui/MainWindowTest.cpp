// The main window on a real window: the list and buttons wired to the model, the blink, the
// start and the close.
#include "i18n/Globals.h"
#include "platform/Settings.h"
#include "staging/EntryStore.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

using namespace testsupport;

namespace
{

class MainWindowTest : public MainWindowFixture
{
  protected:
    std::wstring Cell(int row, int column) { return ItemText(window->Control(IDC_LISTSTARTUP), row, column); }
    std::wstring DisableCaption() { return WindowText(window->Control(IDC_CMDDISABLE)); }
    bool RemoveEnabled() { return IsWindowEnabled(window->Control(IDC_CMDREMOVE)); }
};

} // namespace

TEST_F(MainWindowTest, TheListAndButtonsFollowTheRowsClicksAndSelectionButNotSpaceOrEnter)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", SystemFile(L"notepad.exe"));
    // Switched off by Windows itself, which Wine's start ignores: the list says so, and it is enabled.
    SetRegBinary(HKEY_CURRENT_USER, RunBase + L"Explorer\\StartupApproved\\Run", L"Tool", REG_BINARY,
                 {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    WriteStore(testsupport::MakeEntries({{L"Gone", L"Disabled", L"Registry(User Run)", L"Current User",
                                          L"Current User logs On", L"gone.exe"}}));
    Open();
    HWND list = window->Control(IDC_LISTSTARTUP);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(Cell(0, 1) + L"|" + Cell(1, 0) + L"|" + Cell(1, 5),
              L"Enabled; Windows' switch is off but not honoured here|Gone|gone.exe");
    // The note shows whole: its column grew for it.
    EXPECT_GT(ListView_GetColumnWidth(list, 1), ListView_GetStringWidth(list, Cell(0, 1).c_str()));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0); // after a fill the first row is selected
    EXPECT_EQ(DisableCaption(), L"&Disable");

    Command(IDC_CMDDISABLE);
    EXPECT_EQ(Cell(0, 1), L"Disabled");
    EXPECT_EQ(DisableCaption(), L"&Enable");
    Command(IDC_CMDREMOVE);
    EXPECT_EQ(Cell(0, 1), L"Remove");
    EXPECT_FALSE(RemoveEnabled());
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(DisableCaption(), L"&Enable");
    EXPECT_TRUE(RemoveEnabled());
    SetFocus(list);
    for (WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)})
    {
        SendMessageW(list, WM_KEYDOWN, key, 0);
        SendMessageW(list, WM_CHAR, key == VK_SPACE ? L' ' : L'\r', 0);
        PumpMessages();
    }
    EXPECT_EQ(Cell(1, 1), L"Disabled");
}

TEST_F(MainWindowTest, AnEntryWhoseProgramIsGoneIsEnabledOnlyWhenTheUserSaysSo)
{
    WriteStore(testsupport::MakeEntries({{L"Gone", L"Disabled", L"Registry(User Run)", L"Current User",
                                          L"Current User logs On", L"C:\\Uninstalled\\gone.exe"},
                                         {L"Here", L"Disabled", L"Registry(User Run)", L"Current User",
                                          L"Current User logs On", SystemFile(L"notepad.exe")}}));
    Open(); // the first row selected: its file is looked at now if the worker has not yet
    {
        DialogAnswer no(IDNO);
        Command(IDC_CMDDISABLE);
        ASSERT_EQ(no.Shown(), 1);
        EXPECT_EQ(no.DefaultButton(), IDNO);
        EXPECT_TRUE(no.HadButton(IDYES) && no.HadButton(IDNO));
        EXPECT_EQ(no.Text(),
                  L"The program that Gone starts is not there: C:\\Uninstalled\\gone.exe. Enable it "
                  L"all the same?");
    }
    EXPECT_EQ(Cell(0, 1), L"Disabled");
    {
        DialogAnswer yes(IDYES);
        Command(IDC_CMDDISABLE);
        EXPECT_EQ(yes.Shown(), 1);
    }
    EXPECT_EQ(Cell(0, 1), L"Enabled");
    // A program that is there is enabled without a word.
    HWND list = window->Control(IDC_LISTSTARTUP);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    DialogAnswer none(IDNO);
    Command(IDC_CMDDISABLE);
    EXPECT_EQ(none.Shown(), 0);
    EXPECT_EQ(Cell(1, 1), L"Enabled");
}

TEST_F(MainWindowTest, AStoreThatCannotBeReadIsToldOnceWithItsNameAndReason)
{
    // A machine row: kept in the store at StorePath.
    WriteStore(testsupport::MakeEntries(
        {{L"Gone", L"Disabled", L"Registry(Machine Run)", L"All Users", L"Any User Logs On", L"gone.exe"}}));
    HANDLE held = CreateFileW(StorePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DialogAnswer told(IDOK);
    Open();
    EXPECT_EQ(told.Shown(), 1);
    EXPECT_NE(told.Text().find(StorePath()), std::wstring::npos);
    EXPECT_NE(told.Text().find(L"in use by another program"), std::wstring::npos);
    window->cmdReset_Click(); // still held: not told again
    EXPECT_EQ(told.Shown(), 1);
    CloseHandle(held);
    window->cmdReset_Click();
    EXPECT_EQ(window->State().List.Count(), 1);
}

TEST_F(MainWindowTest, TheNoteBlinksTheListWidensWithTheWindowAndASecondInstanceStoresNoLanguage)
{
    Open();
    // Visible for the first second, on the timer.
    ShowWindow(window->Handle(), SW_SHOW);
    for (bool visible : {true, true, false, true})
    {
        EXPECT_EQ(IsWindowVisible(window->Control(IDC_LBLNOTE)) != FALSE, visible);
        SendMessageW(window->Handle(), WM_TIMER, IDT_NOTE, 0);
    }
    // Made wider, the window gives the list the room.
    RECT frame, before, after;
    GetWindowRect(window->Handle(), &frame);
    GetWindowRect(window->Control(IDC_LISTSTARTUP), &before);
    // Made in its place for the window's first size: the design's margin to the right side.
    RECT client;
    GetClientRect(window->Handle(), &client);
    POINT corner{before.right, before.bottom};
    ScreenToClient(window->Handle(), &corner);
    EXPECT_EQ(client.right - corner.x, MulDiv(10, static_cast<int>(GetDpiForWindow(window->Handle())), 96));
    SetWindowPos(window->Handle(), nullptr, 0, 0, frame.right - frame.left + 120, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(window->Control(IDC_LISTSTARTUP), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 120);
    EXPECT_EQ(SendMessageW(window->Control(IDC_STATUSBAR), SB_GETPARTS, 0, 0), 2); // messages, row count
    // This window is the first instance; the language selector's test sees what a first one stores.
    ASSERT_EQ(platform::SaveLanguageSetting(L"French.ini"), DWORD(ERROR_SUCCESS));
    LanguageFile = L"Other.ini";
    {
        frmMain second;
        EXPECT_FALSE(second.Create(GetModuleHandleW(nullptr)));
    }
    EXPECT_EQ(platform::LoadLanguageSetting(), L"French.ini");
}

TEST_F(MainWindowTest, EntriesWithLineBreaksDisabledHereStartTheNextWindowWithoutAWordOrASecondWindow)
{
    const std::pair<std::wstring, std::wstring> values[] = {
        {L"CrLf", L"a.exe\r\n/x"}, {L"Lf", L"b.exe\n/y"}, {L"Cr", L"c.exe\r/z"}, {L"Two\r\nLines", L"d.exe"}};
    for (const auto& [name, data] : values)
        SetRegString(HKEY_CURRENT_USER, RunKey, name, data);
    Open();
    HWND list = window->Control(IDC_LISTSTARTUP);
    ASSERT_EQ(ListView_GetItemCount(list), 4);
    for (int row = 0; row < 4; ++row)
    {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        DialogAnswer gone(IDYES); // their programs are not there
        Command(IDC_CMDDISABLE);
    }
    {
        DialogAnswer applied(IDOK);
        Command(IDM_APP_JUST);
    }
    window.reset();

    DialogAnswer none(IDOK);
    Open();
    EXPECT_EQ(none.Shown(), 0) << none.Text();
    EXPECT_EQ(window->State().List.Count(), 4);
    for (int row = 1; row <= window->State().List.Count(); ++row)
        EXPECT_EQ(window->State().List.State(row), EntryState::Disabled);
    ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
    PumpMessages();
    int visible = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND shown, LPARAM count) {
            *reinterpret_cast<int*>(count) += IsWindowVisible(shown) ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visible));
    EXPECT_EQ(visible, 1); // the main window
    window.reset();

    // An older build wrote a text with a line break over two lines of the store all users share:
    // read back whole, and said in the status bar, not in a box of its own.
    WriteBytes(StorePath(), "Old\r\nDisabled\r\nRegistry(Machine Run)\r\nAll Users\r\nAny User Logs On\r\n"
                            "a.exe\r\n/x\r\nNext\r\nDisabled\r\nRegistry(Machine Run)\r\nAll Users\r\n"
                            "Any User Logs On\r\nb.exe\r\n");
    Open();
    EXPECT_EQ(none.Shown(), 0) << none.Text();
    EXPECT_NE(StatusText(0).find(StoreBackupPath()), std::wstring::npos) << StatusText(0);
    EXPECT_EQ(window->State().List.Count(), 6);
}
