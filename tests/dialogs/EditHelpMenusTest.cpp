// The Edit and Help menus: what they start, observed as real processes and then ended.
#include "app/frmMain.h"
#include "app/resource.h"
#include "dialogs/EditHelpMenus.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "support/Fixtures.h"
#include "support/DialogAnswer.h"
#include "support/Processes.h"

#include <shellapi.h>

using testsupport::MessageBoxAnswer;
using testsupport::RavelinTest;

namespace {

class EditHelpMenusTest : public RavelinTest {
  protected:
    void TearDown() override
    {
        window.reset();
        for (const wchar_t* exe : {L"notepad.exe", L"regedit.exe", L"hh.exe"})
            for (DWORD id : testsupport::ChildProcesses(exe)) testsupport::EndProcess(id);
        platform::OverrideWindowsFolder({});
        DeleteFileW(L"D:\\autoexec.bat");
        DeleteFileW(L"D:\\CONFIG.SYS");
        RavelinTest::TearDown();
    }
    frmMain& Open()
    {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        testsupport::PumpMessages(); // the rest of the start, posted for after the first paint
        return *window;
    }
    // The one process of that name the menu started; its window texts.
    std::vector<std::wstring> StartedWindowTexts(const wchar_t* exe)
    {
        std::vector<DWORD> started = testsupport::ChildProcesses(exe);
        EXPECT_EQ(started.size(), 1u) << std::wstring(exe);
        if (started.size() != 1) return {};
        std::vector<std::wstring> texts = testsupport::WindowTextsOf(started[0]);
        testsupport::EndProcess(started[0]);
        return texts;
    }
    std::unique_ptr<frmMain> window;
};

} // namespace

TEST_F(EditHelpMenusTest, SystemFilesOpenFromTheWindowsDriveWhenTheyAreThere)
{
    ASSERT_TRUE(platform::FolderExists(L"D:\\")) << "the test prefix has a D: drive";
    platform::OverrideWindowsFolder(L"D:\\WINNT");
    testsupport::WriteBytes(L"D:\\autoexec.bat", "@echo off\r\n");
    EXPECT_EQ(NotepadFile(L"autoexec.bat"), L"D:\\autoexec.bat");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"C:\\CONFIG.SYS");
    testsupport::WriteBytes(L"D:\\CONFIG.SYS", "FILES=40\r\n");
    EXPECT_EQ(NotepadFile(L"CONFIG.SYS"), L"D:\\CONFIG.SYS");

    frmMain& w = Open();
    w.mnuAuto_Click();
    EXPECT_TRUE(testsupport::AnyContains(StartedWindowTexts(L"notepad.exe"), L"autoexec"));
    DeleteFileW(L"D:\\autoexec.bat");
    EXPECT_EQ(NotepadFile(L"autoexec.bat"), L"C:\\autoexec.bat");
    w.mnuConfig_Click();
    EXPECT_TRUE(testsupport::AnyContains(StartedWindowTexts(L"notepad.exe"), L"CONFIG"));
}

TEST_F(EditHelpMenusTest, AProgramThatCannotStartIsExplained)
{
    frmMain& w = Open();
    MessageBoxAnswer box(IDOK);
    StartOrExplain(w.Handle(), L"Z:\\nowhere\\notepad.exe", L"C:\\autoexec.bat");
    EXPECT_EQ(box.Shown(), 1);
    EXPECT_NE(box.Text().find(L"Z:\\nowhere\\notepad.exe"), std::wstring::npos);
    EXPECT_GT(box.Text().size(), std::wstring(L"Cannot start \"Z:\\nowhere\\notepad.exe C:\\autoexec.bat\":\r\n").size())
        << "the reason follows";
}

TEST_F(EditHelpMenusTest, TheRegistryWarningDefaultsToNoAndStartsNothingOnNo)
{
    frmMain& w = Open();
    MessageBoxAnswer box(IDNO);
    w.mnyRegistry_Click();
    EXPECT_EQ(box.Shown(), 1);
    EXPECT_EQ(box.Text(), L"") << "no pack: no message text";
    EXPECT_EQ(box.Caption(), L"") << "no pack: no caption";
    EXPECT_TRUE(box.HadButton(IDYES) && box.HadButton(IDNO));
    EXPECT_EQ(box.DefaultButton(), IDNO);
    EXPECT_EQ(w.RegistryAnswer, IDNO);
    EXPECT_TRUE(testsupport::ChildProcesses(L"regedit.exe").empty());
}

TEST_F(EditHelpMenusTest, YesStartsTheRegistryEditorOfTheWindowsFolder)
{
    WritePack(L"English.ini", L"412=Change the registry?\r\n425=Registry Editor\r\n");
    frmMain& w = Open();
    {
        MessageBoxAnswer box(IDYES);
        w.mnyRegistry_Click();
        EXPECT_EQ(box.Text(), L"Change the registry?");
        EXPECT_EQ(box.Caption(), L"Registry Editor");
    }
    EXPECT_EQ(w.RegistryAnswer, IDYES);
    EXPECT_TRUE(testsupport::AnyContains(StartedWindowTexts(L"regedit.exe"), L"Registry Editor"));

    // A Windows folder without the editor: the reason is shown.
    platform::OverrideWindowsFolder(programFolder);
    MessageBoxAnswer answers(IDYES);
    w.mnyRegistry_Click();
    EXPECT_EQ(answers.Shown(), 2) << "the warning, then why the editor did not start";
    EXPECT_NE(answers.Text().find(L"regedit.exe"), std::wstring::npos);
}

TEST_F(EditHelpMenusTest, HelpIndexOpensTheHelpFileAndSaysNothingWithoutIt)
{
    frmMain& w = Open();
    {
        MessageBoxAnswer box(IDOK);
        w.mnuHelpIndex_Click();
        testsupport::PumpMessages();
        EXPECT_EQ(box.Shown(), 0);
        EXPECT_TRUE(testsupport::ChildProcesses(L"hh.exe").empty());
    }
    // The help file the build puts in the program folder.
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring built = module;
    built = built.substr(0, built.find_last_of(L'\\'));
    built = built.substr(0, built.find_last_of(L'\\')) + L"\\Ravelin\\RavHelp.chm";
    ASSERT_TRUE(CopyFileW(built.c_str(), (programFolder + L"\\RavHelp.chm").c_str(), FALSE)) << built;
    w.mnuHelpIndex_Click();
    EXPECT_TRUE(testsupport::AnyContains(StartedWindowTexts(L"hh.exe"), L"Brightfold Ravelin Help"));
}

TEST_F(EditHelpMenusTest, AMissingUpdaterIsIgnoredAndTheUnavailableItemsStayGreyed)
{
    frmMain& w = Open();
    MessageBoxAnswer box(IDOK);
    w.mnuUpdate_Click();
    w.mnuVisit_Click();
    testsupport::PumpMessages();
    EXPECT_EQ(box.Shown(), 0);
    HMENU bar = GetMenu(w.Handle());
    EXPECT_TRUE(GetMenuState(bar, IDM_UPDATE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(bar, IDM_VISIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(CommandLineTest, AProgramPathWithBlanksStaysOneArgument)
{
    for (const std::wstring program : {L"C:\\Program Files\\Tools\\msinfo32.exe", L"notepad.exe"}) {
        const std::wstring line = platform::CommandLine(program, L"C:\\autoexec.bat");
        int count = 0;
        LPWSTR* args = CommandLineToArgvW(line.c_str(), &count);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(std::wstring(args[0]), program);
        EXPECT_EQ(std::wstring(args[1]), L"C:\\autoexec.bat");
        LocalFree(args);
    }
    EXPECT_EQ(platform::CommandLine(L"\"C:\\My Tools\\x.exe\"", L""), L"\"C:\\My Tools\\x.exe\"");
}
