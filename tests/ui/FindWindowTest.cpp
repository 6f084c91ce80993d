// The find wiring on the real main window: header clicks, the filter box, file facts arriving
// after the window shows, and the row's jump to its place. Then Open location and Properties for
// each kind of source, through a launcher that records what would be started.
#include "ui/JumpToEntry.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Names.h"
#include "platform/Shortcuts.h"
#include "support/Processes.h"
#include "support/WindowFixture.h"

using namespace testsupport;
using FindWindowTest = MainWindowFixture;
using JumpToEntryTest = RavelinTest;

TEST_F(FindWindowTest, SortFilterAndFileFactsHoldThroughStagingAndApply)
{
    const std::wstring gone = L"C:\\nowhere\\gone.exe", here = L"\"" + ThisProgram() + L"\" /x";
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Beta", here);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"alpha", gone);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Gamma", here);
    // Made without the pump of Open, so that the start's posted work, the look at the files
    // included, has not run yet.
    window = std::make_unique<frmMain>();
    ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
    frmMain& w = *window;
    const HWND list = w.Control(IDC_LISTSTARTUP);
    auto column = [&](int c) {
        std::wstring texts;
        for (int i = 0; i < ListView_GetItemCount(list); ++i)
            texts += ItemText(list, i, c) + L";";
        return texts;
    };
    auto clickAndArrow = [&](int c) {
        NMLISTVIEW info{};
        info.hdr = {list, IDC_LISTSTARTUP, static_cast<UINT>(LVN_COLUMNCLICK)};
        info.iItem = -1;
        info.iSubItem = c;
        SendMessageW(w.Handle(), WM_NOTIFY, IDC_LISTSTARTUP, reinterpret_cast<LPARAM>(&info));
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(list), c, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    EXPECT_EQ(column(PublisherColumn), L";;;") << "nothing is looked at before the first paint";
    PumpMessages();
    EXPECT_EQ(clickAndArrow(TaskName), HDF_SORTUP);
    EXPECT_EQ(column(TaskName), L"alpha;Beta;Gamma;");
    EXPECT_EQ(clickAndArrow(TaskName), HDF_SORTDOWN);
    EXPECT_EQ(column(TaskName), L"Gamma;Beta;alpha;");
    // Typed ahead, Windows asks the owner of the list for the row (Wine's list looks by itself).
    auto typed = [&](const wchar_t* text, int start) {
        NMLVFINDITEMW find{};
        find.hdr = {list, IDC_LISTSTARTUP, static_cast<UINT>(LVN_ODFINDITEMW)};
        find.iStart = start;
        find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
        find.lvfi.psz = text;
        return SendMessageW(w.Handle(), WM_NOTIFY, IDC_LISTSTARTUP, reinterpret_cast<LPARAM>(&find));
    };
    EXPECT_EQ(typed(L"b", 0), 1);
    EXPECT_EQ(typed(L"G", 1), 0) << "round to the top";
    EXPECT_EQ(typed(L"z", 0), -1);

    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(IDC_CMDDISABLE);
    EXPECT_EQ(column(Status), L"Disabled;Enabled;Enabled;");
    w.mnuApp_Just_Click();
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RunKey, L"Gamma"));
    EXPECT_EQ(column(TaskName), L"Gamma;Beta;alpha;");
    while (!w.Facts().Find(here) || !w.Facts().Find(gone))
    {
        ASSERT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT), WAIT_TIMEOUT);
        PumpMessages();
    }
    EXPECT_EQ(column(PublisherColumn), L"Brightfold;Brightfold;;");
    auto drawnColour = [&](int index) {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {list, IDC_LISTSTARTUP, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
        draw.clrText = draw.clrTextBk = CLR_DEFAULT;
        SendMessageW(w.Handle(), WM_NOTIFY, IDC_LISTSTARTUP, reinterpret_cast<LPARAM>(&draw));
        return draw.clrText;
    };
    EXPECT_EQ(drawnColour(1), CLR_DEFAULT);
    EXPECT_NE(drawnColour(2), CLR_DEFAULT) << "the missing file's row has its own colour";

    SetWindowTextW(w.Control(IDC_TXTFILTER), L"ALP");
    EXPECT_EQ(column(TaskName), L"alpha;");
    EXPECT_EQ(StatusText(1), L"1 of 3 shown");
    EXPECT_EQ(w.State().List.Selected(), 0) << "the hidden row is no longer the one the buttons act on";
    Command(IDM_FIND);
    EXPECT_EQ(GetFocus(), w.Control(IDC_TXTFILTER));

    std::vector<std::wstring> started;
    w.Launcher.startProgram = [&](const std::wstring& program, const std::wstring& arguments) {
        started.push_back(platform::CommandLine(program, arguments));
        return DWORD(ERROR_SUCCESS);
    };
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(IDM_OPENLOCATION);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find(L"regedit.exe"), std::wstring::npos);
}

TEST_F(JumpToEntryTest, EachSourceOpensItsOwnPlaceAndPropertiesShowTheProgramFile)
{
    std::vector<std::wstring> started, properties;
    const JumpLauncher launcher{[&](const std::wstring& program, const std::wstring& arguments) {
                                    started.push_back(platform::CommandLine(program, arguments));
                                    return DWORD(ERROR_SUCCESS);
                                },
                                [&](HWND, const std::wstring& file) {
                                    properties.push_back(file);
                                    return DWORD(ERROR_SUCCESS);
                                }};
    const std::wstring regedit = platform::GetWindowsFolder() + L"\\regedit.exe",
                       shortcut = CommonStartup() + L"\\Team Calendar.lnk";
    ASSERT_EQ(platform::WriteShortcut(shortcut, L"C:\\cal.exe"), DWORD(ERROR_SUCCESS));
    struct Case
    {
        std::wstring loadFrom, name, lastKeyBefore, started, lastKey; // no start: not a source
    } cases[] = {
        {L"Registry(User Run)", L"Tool", L"", regedit, L"HKEY_CURRENT_USER\\" + RunKey},
        // The editor's own word for the computer, in the language of Windows, is kept.
        {L"Registry(Machine RunOnce)", L"Once", L"Ordinateur\\HKEY_USERS\\.DEFAULT", regedit,
         L"Ordinateur\\HKEY_LOCAL_MACHINE\\" + RunBase + L"RunOnce"},
        {L"Registry(Machine Run 32-bit)", L"Old", L"", regedit,
         L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {L"StartUp (All Users)", L"Team Calendar", L"", L"explorer.exe /select,\"" + shortcut + L"\"", L""},
        // A shortcut that has gone since the list was read: its folder opens.
        {L"StartUp (Current User)", L"Gone", L"", L"explorer.exe \"" + UserStartup() + L"\"", L""},
        {L"Win.ini Load", L"Win.ini Load", L"", L"notepad.exe \"" + WinIniPath() + L"\"", L""},
        {L"Somewhere Else", L"Odd", L"", L"", L""},
    };
    const std::wstring key = platform::names::RegistryEditorKey,
                       value = platform::names::RegistryEditorLastKey;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.loadFrom);
        started.clear();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str());
        if (!c.lastKeyBefore.empty())
            SetRegString(HKEY_CURRENT_USER, key, value, c.lastKeyBefore);
        const EntryRecord row = testsupport::MakeEntry({c.name, L"Enabled", c.loadFrom, L"", L"", L"x.exe"});
        EXPECT_EQ(CanOpenLocation(row), !c.started.empty());
        EXPECT_EQ(OpenLocation(nullptr, row, launcher), !c.started.empty());
        EXPECT_EQ(started, c.started.empty() ? std::vector<std::wstring>{} : std::vector{c.started});
        EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, key, value),
                  c.lastKey.empty() ? L"<missing>"
                                    : c.lastKey); // only a registry place is told to the editor
    }
    EXPECT_TRUE(properties.empty());

    ASSERT_TRUE(
        ShowProgramProperties(nullptr, L"\"%SystemRoot%\\system32\\notepad.exe\" C:\\x.txt", launcher));
    EXPECT_FALSE(ShowProgramProperties(nullptr, L"C:\\nowhere\\gone.exe", launcher));
    ASSERT_EQ(properties.size(), 1u);
    EXPECT_EQ(_wcsicmp(properties[0].c_str(), SystemFile(L"notepad.exe").c_str()), 0) << properties[0];
}
