// The About box on the real main window, and the system-information tool it starts.
#include "app/frmMain.h"
#include "app/resource.h"
#include "dialogs/frmAbout.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/KeyValue.h"
#include "platform/Names.h"
#include "support/Fixtures.h"
#include "support/WindowFixture.h"
#include "support/DialogAnswer.h"
#include "support/Processes.h"

#include <aclapi.h>

using testsupport::MessageBoxAnswer;
using testsupport::RavelinTest;
using testsupport::WindowText;

namespace {

constexpr wchar_t MsInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t LocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

std::wstring SystemTool(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

int AboutBoxesOfThisThread()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t cls[64] = {};
            GetClassNameW(window, cls, 64);
            if (std::wstring(cls) == platform::names::AboutWindowClass) ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class AboutBoxTest : public RavelinTest {
  protected:
    void TearDown() override
    {
        window.reset();
        for (DWORD id : testsupport::ChildProcesses(L"msinfo32.exe")) testsupport::EndProcess(id);
        RavelinTest::TearDown();
    }
    frmMain& Open()
    {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        testsupport::PumpMessages(); // the rest of the start, posted for after the first paint
        return *window;
    }
    frmAbout& About()
    {
        window->mnuAbout_Click();
        return *frmAbout::Existing();
    }
    // Runs the tool's start and says whether the failure message came, with its text.
    bool SysInfoFails(std::wstring* text = nullptr)
    {
        MessageBoxAnswer box(IDOK);
        About().cmdSysInfo_Click();
        if (text) *text = box.Text();
        if (box.Shown()) {
            EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
            EXPECT_TRUE(box.HadButton(IDOK));
            EXPECT_FALSE(box.HadButton(IDCANCEL));
        }
        return box.Shown() == 1;
    }
    std::unique_ptr<frmMain> window;
};

} // namespace

TEST_F(AboutBoxTest, ShowsItsBuiltInTextsModelessAndOnlyOnce)
{
    frmMain& w = Open();
    frmAbout& about = About();
    EXPECT_EQ(WindowText(about.Handle()), L"About Brightfold Ravelin");
    EXPECT_EQ(WindowText(about.Control(IDC_ABOUT_LBLTITLE)), L"Ravelin");
    EXPECT_EQ(WindowText(about.Control(IDC_ABOUT_LBLVERSION)), L"Version 1.0.0.1");
    EXPECT_EQ(WindowText(about.Control(IDC_ABOUT_LBLDESCRIPTION)),
              L"Use Ravelin to Mange your Startup programs you can Enable, Disable,Remove, and Add startup programs "
              L"in you system in the most easy and safe way.");
    EXPECT_NE(WindowText(about.Control(IDC_ABOUT_LBLDISCLAIMER)).find(L"Brightfold"), std::wstring::npos);
    EXPECT_EQ(WindowText(about.Control(IDC_ABOUT_CMDOK)), L"&Ok");
    EXPECT_EQ(WindowText(about.Control(IDC_ABOUT_CMDSYSINFO)), L"&System Info...");
    EXPECT_EQ(GetWindowLongW(about.Control(IDC_ABOUT_RULE), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDHORZ);
    EXPECT_NE(SendMessageW(about.Control(IDC_ABOUT_PICICON), STM_GETICON, 0, 0), 0);

    EXPECT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(w.Handle())) << "modeless: the main window stays usable";
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), w.Handle());
    HWND first = about.Handle();
    w.mnuAbout_Click();
    EXPECT_EQ(frmAbout::Existing()->Handle(), first);
    EXPECT_EQ(AboutBoxesOfThisThread(), 1);
}

TEST_F(AboutBoxTest, OkDiscardsItAndTheNextOneShowsThePackAgain)
{
    WritePack(L"English.ini", L"301=Über\r\n302=T302\r\n303=T303\r\n304=T304\r\n305=T305\r\n306=T306\r\n307=T307\r\n");
    Open();
    HWND first = About().Handle();
    EXPECT_EQ(WindowText(first), L"Über");
    frmAbout::Existing()->cmdOk_Click();
    EXPECT_EQ(frmAbout::Existing(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    frmAbout& again = About();
    EXPECT_EQ(WindowText(again.Handle()), L"Über");
    EXPECT_EQ(WindowText(again.Control(IDC_ABOUT_LBLTITLE)), L"T302");
    EXPECT_EQ(WindowText(again.Control(IDC_ABOUT_CMDSYSINFO)), L"T307");
    // Esc and the close box discard it as Ok does.
    SendMessageW(again.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(frmAbout::Existing(), nullptr);
}

TEST_F(AboutBoxTest, TheSkinColoursItsPanelsFromTheFirstLoad)
{
    testsupport::WriteBytes(programFolder + L"\\Title.skn", "[Skin]\r\nName=Test\r\n[Panel]\r\nBackColor=10,20,30\r\n");
    Open();
    frmAbout& about = About();
    HDC dc = GetDC(about.Handle());
    SendMessageW(about.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(about.Control(IDC_ABOUT_LBLVERSION)));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    ReleaseDC(about.Handle(), dc);
}

TEST_F(AboutBoxTest, GetKeyValueReadsTextsAndTheDwordQuirk)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", L"C:\\Tools\\msinfo32.exe");
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Number", REG_DWORD, {0x05, 0x01, 0x00, 0x00});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"AllOnes", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Bytes", REG_BINARY, {0x41, 0x42});
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"Empty", REG_SZ, {});
    std::wstring value = L"before";
    bool failed = true;
    EXPECT_TRUE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", value, &failed));
    EXPECT_EQ(value, L"C:\\Tools\\msinfo32.exe");
    EXPECT_FALSE(failed);
    EXPECT_TRUE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"Number", value));
    EXPECT_EQ(value, L"261");
    EXPECT_TRUE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"AllOnes", value));
    EXPECT_EQ(value, L"-1") << "read as a signed 32-bit number";
    value = L"kept";
    EXPECT_TRUE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"Bytes", value));
    EXPECT_EQ(value, L"kept") << "other types leave the text as it was";
    EXPECT_FALSE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"Empty", value, &failed));
    EXPECT_TRUE(failed) << "a value without data is a failure of its own";
    value = L"stale";
    EXPECT_FALSE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"Missing", value, &failed));
    EXPECT_EQ(value, L"");
    EXPECT_FALSE(failed);
    value = L"stale";
    EXPECT_FALSE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nowhere", L"PATH", value));
    EXPECT_EQ(value, L"");
}

TEST_F(AboutBoxTest, StartsTheToolFromEitherPlace)
{
    const std::wstring tool = SystemTool(L"msinfo32.exe");
    ASSERT_TRUE(platform::FileExists(tool)) << "the prefix has a system-information tool";
    Open();
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", tool);
    EXPECT_FALSE(SysInfoFails());
    std::vector<DWORD> started = testsupport::ChildProcesses(L"msinfo32.exe");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_FALSE(testsupport::WindowTextsOf(started[0]).empty()) << "its window came up";
    testsupport::EndProcess(started[0]);

    // Only the folder in the second place: MSINFO32.EXE in it is started.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH");
    const std::wstring folder = programFolder + L"\\Shared Tools";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(tool.c_str(), (folder + L"\\MSINFO32.EXE").c_str(), FALSE));
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, LocationKey, L"MSINFO", folder);
    EXPECT_FALSE(SysInfoFails());
    started = testsupport::ChildProcesses(L"msinfo32.exe");
    ASSERT_EQ(started.size(), 1u);
    testsupport::EndProcess(started[0]);
}

TEST_F(AboutBoxTest, EveryWayTheToolIsMissingGivesTheOneMessage)
{
    const std::wstring folder = programFolder + L"\\Shared Tools";
    CreateDirectoryW(folder.c_str(), nullptr);
    Open();
    MessageTexts[0] = L"No system information here.";
    std::wstring text;

    // The folder value alone, without the tool in it.
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, LocationKey, L"MSINFO", folder);
    EXPECT_TRUE(SysInfoFails(&text));
    EXPECT_EQ(text, L"No system information here.");

    // A PATH to a missing file: the message, and the second place, now holding the tool, is not tried.
    ASSERT_TRUE(CopyFileW(SystemTool(L"msinfo32.exe").c_str(), (folder + L"\\MSINFO32.EXE").c_str(), FALSE));
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", programFolder + L"\\missing.exe");
    EXPECT_TRUE(SysInfoFails());
    EXPECT_TRUE(testsupport::ChildProcesses(L"msinfo32.exe").empty());

    // A PATH of another type reads as an empty path, which cannot be started.
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", REG_BINARY, {0x43, 0x3A});
    EXPECT_TRUE(SysInfoFails());
    EXPECT_TRUE(testsupport::ChildProcesses(L"msinfo32.exe").empty());

    // Without a pack the message is empty, under the program's title.
    MessageTexts[0].clear();
    EXPECT_TRUE(SysInfoFails(&text));
    EXPECT_EQ(text, L"");
}

TEST_F(AboutBoxTest, NoWriteRightsOnTheMachineKeysGivesTheMessage)
{
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", SystemTool(L"msinfo32.exe"));
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, LocationKey, L"MSINFO", L"C:\\windows\\system32");
    // Everyone may read the two keys, nobody may write them; the fixture needs them back whole.
    auto grant = [](DWORD rights) {
        for (const wchar_t* path : {MsInfoKey, LocationKey}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, WRITE_DAC, &key), ERROR_SUCCESS);
        EXPLICIT_ACCESSW access{};
        BuildExplicitAccessWithNameW(&access, const_cast<wchar_t*>(L"EVERYONE"), rights, SET_ACCESS, NO_INHERITANCE);
        PACL acl = nullptr;
        ASSERT_EQ(SetEntriesInAclW(1, &access, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_EQ(SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, acl, nullptr),
                  static_cast<DWORD>(ERROR_SUCCESS));
        LocalFree(acl);
        RegCloseKey(key);
        }
    };
    grant(KEY_READ);
    std::wstring value;
    EXPECT_FALSE(platform::GetKeyValue(HKEY_LOCAL_MACHINE, MsInfoKey, L"PATH", value));
    Open();
    EXPECT_TRUE(SysInfoFails());
    EXPECT_TRUE(testsupport::ChildProcesses(L"msinfo32.exe").empty());
    grant(KEY_ALL_ACCESS);
}
