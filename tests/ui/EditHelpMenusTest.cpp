// The Edit and Help menus on the real main window: what they start, observed as real processes
// and then ended; the About box, and the system-information tool it starts.
#include "ui/EditHelpMenus.h"
#include "ui/frmAbout.h"
#include "inventory/LogonWatch.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/KeyValue.h"
#include "platform/Launch.h"
#include "support/DialogAnswer.h"
#include "support/Processes.h"
#include "support/WindowFixture.h"

#include <shellapi.h>

using namespace testsupport;

namespace
{

constexpr wchar_t MsInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t LocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

class EditHelpMenusTest : public MainWindowFixture
{
  protected:
    void TearDown() override
    {
        for (const wchar_t* exe : {L"notepad.exe", L"regedit.exe", L"hh.exe", L"msinfo32.exe"})
            EndStarted(exe); // what a failed check left running
        platform::OverrideWindowsFolder({});
        DeleteFileW(L"D:\\autoexec.bat");
        DeleteFileW(L"D:\\CONFIG.SYS");
        MainWindowFixture::TearDown();
    }
    frmAbout& About()
    {
        window->mnuAbout_Click();
        return *frmAbout::Existing();
    }
    // Presses System Info: the text of the OK-only box it gave, or "<started>" when instead one
    // tool came up with its window (it is ended).
    std::wstring SysInfo()
    {
        DialogAnswer box(IDOK);
        About().cmdSysInfo_Click();
        if (box.Shown())
        {
            EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
            EXPECT_TRUE(box.HadButton(IDOK) && !box.HadButton(IDCANCEL));
            EXPECT_TRUE(ChildProcesses(L"msinfo32.exe").empty());
            return box.Text();
        }
        return EndStarted(L"msinfo32.exe").empty() ? L"<neither a message nor the tool>" : L"<started>";
    }
};

} // namespace

TEST_F(EditHelpMenusTest, SystemFilesOpenFromTheWindowsDriveWhenTheyAreThere)
{
    ASSERT_TRUE(platform::FolderExists(L"D:\\")) << "the test prefix has a D: drive";
    platform::OverrideWindowsFolder(L"D:\\WINNT");
    WriteBytes(L"D:\\autoexec.bat", "@echo off\r\n");
    EXPECT_EQ(NotepadFile(L"autoexec.bat"), L"D:\\autoexec.bat");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"C:\\CONFIG.SYS");
    frmMain& w = Open();
    w.mnuAuto_Click();
    EXPECT_NE(EndStarted(L"notepad.exe").find(L"autoexec"), std::wstring::npos);
    WriteBytes(L"D:\\CONFIG.SYS", "FILES=40\r\n");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"D:\\CONFIG.SYS");
    w.mnuConfig_Click();
    EXPECT_NE(EndStarted(L"notepad.exe").find(L"CONFIG"), std::wstring::npos);
}

TEST_F(EditHelpMenusTest, TheRegistryWarningDefaultsToNoAndOnlyYesStartsTheEditor)
{
    WritePack(L"English.ini", L"412=Change the registry?\r\n425=Registry Editor\r\n");
    frmMain& w = Open();
    {
        DialogAnswer box(IDNO);
        w.mnuRegistry_Click();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Caption() + L"|" + box.Text(), L"Registry Editor|Change the registry?");
        EXPECT_TRUE(box.HadButton(IDYES) && box.HadButton(IDNO));
        EXPECT_EQ(box.DefaultButton(), IDNO);
        EXPECT_EQ(w.RegistryAnswer, IDNO);
        EXPECT_TRUE(ChildProcesses(L"regedit.exe").empty());
    }
    {
        DialogAnswer box(IDYES);
        w.mnuRegistry_Click();
    }
    EXPECT_EQ(w.RegistryAnswer, IDYES);
    EXPECT_NE(EndStarted(L"regedit.exe").find(L"Registry Editor"), std::wstring::npos);

    // A Windows folder without the editor: the reason is shown.
    platform::OverrideWindowsFolder(programFolder);
    DialogAnswer answers(IDYES);
    w.mnuRegistry_Click();
    EXPECT_EQ(answers.Shown(), 2) << "the warning, then why the editor did not start";
    EXPECT_NE(answers.Text().find(programFolder + L"\\regedit.exe"), std::wstring::npos);
}

TEST_F(EditHelpMenusTest, HelpIndexOpensTheHelpFileAndTheMissingOnesSayNothing)
{
    frmMain& w = Open();
    {
        DialogAnswer box(IDOK);
        w.mnuHelpIndex_Click();
        w.mnuUpdate_Click(); // no updater either
        w.mnuVisit_Click();
        PumpMessages();
        EXPECT_EQ(box.Shown(), 0);
        EXPECT_TRUE(ChildProcesses(L"hh.exe").empty());
    }
    HMENU bar = GetMenu(w.Handle());
    EXPECT_TRUE(GetMenuState(bar, IDM_UPDATE, MF_BYCOMMAND) & GetMenuState(bar, IDM_VISIT, MF_BYCOMMAND) &
                MF_GRAYED);
    // The help file the build puts in the program folder.
    const std::wstring built = BuildFolder() + L"\\Ravelin\\RavHelp.chm";
    ASSERT_TRUE(CopyFileW(built.c_str(), (programFolder + L"\\RavHelp.chm").c_str(), FALSE)) << built;
    w.mnuHelpIndex_Click();
    EXPECT_NE(EndStarted(L"hh.exe").find(L"Brightfold Ravelin Help"), std::wstring::npos);
}

TEST(CommandLineTest, AProgramPathWithBlanksStaysOneArgument)
{
    for (const std::wstring program : {L"C:\\Program Files\\Tools\\msinfo32.exe", L"notepad.exe"})
    {
        int count = 0;
        LPWSTR* args =
            CommandLineToArgvW(platform::CommandLine(program, L"C:\\autoexec.bat").c_str(), &count);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(args[0] + (L"|" + std::wstring(args[1])), program + L"|C:\\autoexec.bat");
        LocalFree(args);
    }
    EXPECT_EQ(platform::CommandLine(L"\"C:\\My Tools\\x.exe\"", L""), L"\"C:\\My Tools\\x.exe\"");
}

TEST_F(EditHelpMenusTest, TheAboutBoxShowsModelessOnceWithThePackAndTheSkinAndOkOrEscDiscardsIt)
{
    WritePack(L"English.ini", L"301=Über\r\n302=T302\r\n");
    WriteBytes(programFolder + L"\\Title.skn", "[Skin]\r\nName=Test\r\n[Panel]\r\nBackColor=10,20,30\r\n");
    frmMain& w = Open();
    frmAbout& about = About();
    EXPECT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(w.Handle())) << "modeless: the main window stays usable";
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), w.Handle());
    EXPECT_NE(SendMessageW(about.Control(IDC_ABOUT_PICICON), STM_GETICON, 0, 0), 0);
    HWND first = about.Handle();
    EXPECT_EQ(About().Handle(), first) << "only once";
    about.cmdOk_Click();
    EXPECT_TRUE(!frmAbout::Existing() && !IsWindow(first)) << "Ok discards the box";
    frmAbout& again = About();
    EXPECT_EQ(WindowText(again.Handle()), L"Über") << "a new box shows the pack too";
    EXPECT_EQ(WindowText(again.Control(IDC_ABOUT_LBLTITLE)), L"T302");
    HDC dc = GetDC(again.Handle()); // and the skin of the first load
    SendMessageW(again.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(again.Control(IDC_ABOUT_LBLVERSION)));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    ReleaseDC(again.Handle(), dc);
    SendMessageW(again.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(frmAbout::Existing(), nullptr);
}

TEST_F(EditHelpMenusTest, GetKeyValueReadsTextsAndTheDwordQuirk)
{
    SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", L"C:\\Tools\\msinfo32.exe");
    SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Number", REG_DWORD, {0x05, 0x01, 0x00, 0x00});
    SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"AllOnes", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Bytes", REG_BINARY, {0x41, 0x42});
    SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Empty", REG_SZ, {});
    struct Case
    {
        const wchar_t *name, *result;
        bool found, failed; // failed: a value without data, a failure of its own
        const wchar_t* key = MsInfoKey;
    };
    for (const Case& c :
         {Case{L"PATH", L"C:\\Tools\\msinfo32.exe", true, false}, Case{L"Number", L"261", true, false},
          Case{L"AllOnes", L"-1", true, false},  // signed
          Case{L"Bytes", L"stale", true, false}, // other types leave the text
          Case{L"Empty", L"stale", false, true}, Case{L"Missing", L"", false, false},
          Case{L"PATH", L"", false, false, L"SOFTWARE\\Nowhere"}})
    {
        SCOPED_TRACE(std::wstring(c.key) + L"\\" + c.name);
        std::wstring value = L"stale";
        bool failed = !c.failed;
        EXPECT_EQ(platform::GetKeyValue(HKEY_LOCAL_MACHINE, c.key, c.name, value, &failed), c.found);
        EXPECT_EQ(value, c.result);
        EXPECT_EQ(failed, c.failed);
    }
}

TEST_F(EditHelpMenusTest, SystemInfoStartsTheToolFromEitherPlaceOrGivesTheOneMessage)
{
    const std::wstring folder = programFolder + L"\\Shared Tools";
    CreateDirectoryW(folder.c_str(), nullptr);
    Open();
    MessageTexts[0] = L"No system information here.";
    SetRegString(HKEY_LOCAL_MACHINE, LocationKey, L"MSINFO", folder);
    EXPECT_EQ(SysInfo(), L"No system information here.") << "the folder value, without the tool in it";
    ASSERT_TRUE(CopyFileW(SystemFile(L"msinfo32.exe").c_str(), (folder + L"\\MSINFO32.EXE").c_str(), FALSE));
    EXPECT_EQ(SysInfo(), L"<started>");
    // A PATH comes first: to the tool, or to a missing file.
    SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", SystemFile(L"msinfo32.exe"));
    EXPECT_EQ(SysInfo(), L"<started>");
    SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", programFolder + L"\\missing.exe");
    EXPECT_EQ(SysInfo(), L"No system information here.");

    // Keys the user may not write to are not opened: the one message, without a pack an empty one.
    SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", SystemFile(L"msinfo32.exe"));
    MessageTexts[0].clear();
    for (const wchar_t* path : {MsInfoKey, LocationKey})
        DenyWrites(HKEY_LOCAL_MACHINE, path);
    EXPECT_EQ(SysInfo(), L"");
}

TEST_F(EditHelpMenusTest, MeasureTheNextLogonArmsAndDisarmsWithItsCheckMark)
{
    frmMain& w = Open();
    HMENU bar = GetMenu(w.Handle());
    SendMessageW(w.Handle(), WM_COMMAND, IDM_MEASURE, 0);
    EXPECT_TRUE(LogonWatchArmed());
    EXPECT_TRUE(GetMenuState(bar, IDM_MEASURE, MF_BYCOMMAND) & MF_CHECKED);
    const std::wstring status = StatusText(0) + L"|" + StatusText(1);
    EXPECT_NE(status.find(L"will be measured for 90 seconds"), std::wstring::npos) << status;
    SendMessageW(w.Handle(), WM_COMMAND, IDM_MEASURE, 0);
    EXPECT_FALSE(LogonWatchArmed());
    EXPECT_FALSE(GetMenuState(bar, IDM_MEASURE, MF_BYCOMMAND) & MF_CHECKED);
}
