// The Edit and Help menus: what they start, observed as real processes and then ended.
#include "ui/EditHelpMenus.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "support/DialogAnswer.h"
#include "support/Processes.h"
#include "support/WindowFixture.h"

#include <shellapi.h>

using testsupport::DialogAnswer;

namespace
{

class EditHelpMenusTest : public testsupport::MainWindowFixture
{
  protected:
    void TearDown() override
    {
        for (const wchar_t* exe : {L"notepad.exe", L"regedit.exe", L"hh.exe"})
            testsupport::EndStarted(exe); // what a failed check left running
        platform::OverrideWindowsFolder({});
        DeleteFileW(L"D:\\autoexec.bat");
        DeleteFileW(L"D:\\CONFIG.SYS");
        MainWindowFixture::TearDown();
    }
};

} // namespace

TEST_F(EditHelpMenusTest, SystemFilesOpenFromTheWindowsDriveWhenTheyAreThere)
{
    ASSERT_TRUE(platform::FolderExists(L"D:\\")) << "the test prefix has a D: drive";
    platform::OverrideWindowsFolder(L"D:\\WINNT");
    testsupport::WriteBytes(L"D:\\autoexec.bat", "@echo off\r\n");
    EXPECT_EQ(NotepadFile(L"autoexec.bat"), L"D:\\autoexec.bat");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"C:\\CONFIG.SYS");
    frmMain& w = Open();
    w.mnuAuto_Click();
    EXPECT_NE(testsupport::EndStarted(L"notepad.exe").find(L"autoexec"), std::wstring::npos);
    testsupport::WriteBytes(L"D:\\CONFIG.SYS", "FILES=40\r\n");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"D:\\CONFIG.SYS");
    w.mnuConfig_Click();
    EXPECT_NE(testsupport::EndStarted(L"notepad.exe").find(L"CONFIG"), std::wstring::npos);
}

TEST_F(EditHelpMenusTest, TheRegistryWarningDefaultsToNoAndOnlyYesStartsTheEditor)
{
    WritePack(L"English.ini", L"412=Change the registry?\r\n425=Registry Editor\r\n");
    frmMain& w = Open();
    {
        DialogAnswer box(IDNO);
        w.mnyRegistry_Click();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Caption() + L"|" + box.Text(), L"Registry Editor|Change the registry?");
        EXPECT_TRUE(box.HadButton(IDYES) && box.HadButton(IDNO));
        EXPECT_EQ(box.DefaultButton(), IDNO);
        EXPECT_EQ(w.RegistryAnswer, IDNO);
        EXPECT_TRUE(testsupport::ChildProcesses(L"regedit.exe").empty());
    }
    {
        DialogAnswer box(IDYES);
        w.mnyRegistry_Click();
    }
    EXPECT_EQ(w.RegistryAnswer, IDYES);
    EXPECT_NE(testsupport::EndStarted(L"regedit.exe").find(L"Registry Editor"), std::wstring::npos);

    // A Windows folder without the editor: the reason is shown.
    platform::OverrideWindowsFolder(programFolder);
    DialogAnswer answers(IDYES);
    w.mnyRegistry_Click();
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
        testsupport::PumpMessages();
        EXPECT_EQ(box.Shown(), 0);
        EXPECT_TRUE(testsupport::ChildProcesses(L"hh.exe").empty());
    }
    HMENU bar = GetMenu(w.Handle());
    EXPECT_TRUE(GetMenuState(bar, IDM_UPDATE, MF_BYCOMMAND) & GetMenuState(bar, IDM_VISIT, MF_BYCOMMAND) &
                MF_GRAYED);
    // The help file the build puts in the program folder.
    const std::wstring built = testsupport::BuildFolder() + L"\\Ravelin\\RavHelp.chm";
    ASSERT_TRUE(CopyFileW(built.c_str(), (programFolder + L"\\RavHelp.chm").c_str(), FALSE)) << built;
    w.mnuHelpIndex_Click();
    EXPECT_NE(testsupport::EndStarted(L"hh.exe").find(L"Brightfold Ravelin Help"), std::wstring::npos);
}

TEST(CommandLineTest, AProgramPathWithBlanksStaysOneArgument)
{
    for (const std::wstring program : {L"C:\\Program Files\\Tools\\msinfo32.exe", L"notepad.exe"})
    {
        int count = 0;
        LPWSTR* args =
            CommandLineToArgvW(platform::CommandLine(program, L"C:\\autoexec.bat").c_str(), &count);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(std::wstring(args[0]), program);
        EXPECT_EQ(std::wstring(args[1]), L"C:\\autoexec.bat");
        LocalFree(args);
    }
    EXPECT_EQ(platform::CommandLine(L"\"C:\\My Tools\\x.exe\"", L""), L"\"C:\\My Tools\\x.exe\"");
}
