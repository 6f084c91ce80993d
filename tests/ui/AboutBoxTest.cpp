// The About box on the real main window, and the system-information tool it starts.
#include "ui/frmMain.h"
#include "ui/resource.h"
#include "ui/frmAbout.h"
#include "i18n/Globals.h"
#include "platform/KeyValue.h"
#include "support/DialogAnswer.h"
#include "support/Processes.h"
#include "support/WindowFixture.h"

#include <sddl.h>

using testsupport::WindowText;

namespace
{

constexpr wchar_t MsInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t LocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

std::wstring SystemTool()
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\msinfo32.exe";
}

class AboutBoxTest : public testsupport::MainWindowFixture
{
  protected:
    void TearDown() override
    {
        for (DWORD id : testsupport::ChildProcesses(L"msinfo32.exe"))
            testsupport::EndProcess(id);
        MainWindowFixture::TearDown();
    }
    frmAbout& About()
    {
        window->mnuAbout_Click();
        return *frmAbout::Existing();
    }
    // Presses System Info; the failure message's text, or "<started>" when none came.
    std::wstring SysInfo()
    {
        testsupport::DialogAnswer box(IDOK);
        About().cmdSysInfo_Click();
        if (!box.Shown())
            return L"<started>";
        EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
        EXPECT_TRUE(box.HadButton(IDOK) && !box.HadButton(IDCANCEL));
        return box.Text();
    }
    // The one tool started, ended again.
    void ExpectOneToolStarted()
    {
        std::vector<DWORD> started = testsupport::ChildProcesses(L"msinfo32.exe");
        ASSERT_EQ(started.size(), 1u);
        EXPECT_FALSE(testsupport::WindowTextsOf(started[0]).empty()) << "its window came up";
        testsupport::EndProcess(started[0]);
    }
};

} // namespace

TEST_F(AboutBoxTest, ShowsModelessOnceWithThePackAndTheSkinAndOkOrEscDiscardsIt)
{
    WritePack(L"English.ini", L"301=Über\r\n302=T302\r\n");
    testsupport::WriteBytes(programFolder + L"\\Title.skn",
                            "[Skin]\r\nName=Test\r\n[Panel]\r\nBackColor=10,20,30\r\n");
    frmMain& w = Open();
    frmAbout& about = About();
    EXPECT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(w.Handle())) << "modeless: the main window stays usable";
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), w.Handle());
    EXPECT_NE(SendMessageW(about.Control(IDC_ABOUT_PICICON), STM_GETICON, 0, 0), 0);
    HWND first = about.Handle();
    EXPECT_EQ(About().Handle(), first) << "only once";
    about.cmdOk_Click();
    EXPECT_EQ(frmAbout::Existing(), nullptr);
    EXPECT_FALSE(IsWindow(first));
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

TEST_F(AboutBoxTest, GetKeyValueReadsTextsAndTheDwordQuirk)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", L"C:\\Tools\\msinfo32.exe");
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Number", REG_DWORD, {0x05, 0x01, 0x00, 0x00});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"AllOnes", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Bytes", REG_BINARY, {0x41, 0x42});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Empty", REG_SZ, {});
    struct Case
    {
        const wchar_t *key, *name, *result;
        bool found, failed; // failed: a value without data, a failure of its own
    };
    for (const Case& c :
         {Case{MsInfoKey, L"PATH", L"C:\\Tools\\msinfo32.exe", true, false},
          Case{MsInfoKey, L"Number", L"261", true, false},
          Case{MsInfoKey, L"AllOnes", L"-1", true, false},  // a signed 32-bit number
          Case{MsInfoKey, L"Bytes", L"stale", true, false}, // other types leave the text
          Case{MsInfoKey, L"Empty", L"stale", false, true}, Case{MsInfoKey, L"Missing", L"", false, false},
          Case{L"SOFTWARE\\Nowhere", L"PATH", L"", false, false}})
    {
        SCOPED_TRACE(c.name);
        std::wstring value = L"stale";
        bool failed = !c.failed;
        EXPECT_EQ(platform::GetKeyValue(HKEY_LOCAL_MACHINE, c.key, c.name, value, &failed), c.found);
        EXPECT_EQ(value, c.result);
        EXPECT_EQ(failed, c.failed);
    }
}

TEST_F(AboutBoxTest, StartsTheToolFromEitherPlaceOrGivesTheOneMessage)
{
    const std::wstring folder = programFolder + L"\\Shared Tools";
    CreateDirectoryW(folder.c_str(), nullptr);
    Open();
    MessageTexts[0] = L"No system information here.";
    // The folder value alone, without the tool in it.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, LocationKey, L"MSINFO", folder);
    EXPECT_EQ(SysInfo(), L"No system information here.");
    // MSINFO32.EXE in that folder is started.
    ASSERT_TRUE(CopyFileW(SystemTool().c_str(), (folder + L"\\MSINFO32.EXE").c_str(), FALSE));
    EXPECT_EQ(SysInfo(), L"<started>");
    ExpectOneToolStarted();
    // A PATH comes first: to the tool, to a missing file, or of another type (an empty path).
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", SystemTool());
    EXPECT_EQ(SysInfo(), L"<started>");
    ExpectOneToolStarted();
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", programFolder + L"\\missing.exe");
    EXPECT_EQ(SysInfo(), L"No system information here.");

    // Without the right to write the machine keys (the fixture needs them back whole); no pack.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", SystemTool());
    MessageTexts[0].clear();
    auto allow = [](const wchar_t* rights) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(
            ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &sd, nullptr));
        for (const wchar_t* path : {MsInfoKey, LocationKey})
        {
            HKEY key = nullptr;
            ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, WRITE_DAC, &key), ERROR_SUCCESS);
            EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
            RegCloseKey(key);
        }
        LocalFree(sd);
    };
    allow(L"D:P(A;;KR;;;WD)");
    EXPECT_EQ(SysInfo(), L"");
    EXPECT_TRUE(testsupport::ChildProcesses(L"msinfo32.exe").empty());
    allow(L"D:P(A;;KA;;;WD)");
}
