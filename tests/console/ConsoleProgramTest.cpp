// The real ravelinc.exe, started as a child process with its output redirected. It runs on the
// test prefix's own registry, so these tests use the places it shares with the test: the StartUp
// folder, the store and the copies beside it.
#include "apply/ApplyFixture.h"
#include "console/ConsoleCommand.h"
#include "platform/Files.h"
#include "platform/MachineLock.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/StartupFill.h"
#include "support/Processes.h"
#include "support/ServicesFixture.h"

using namespace applytest;

namespace
{

struct ProgramRun
{
    DWORD code = 0xFFFFFFFF;
    std::string out, err; // as written
};

std::string Utf8(const std::wstring& text)
{
    return platform::CodePageFromWide(CP_UTF8, text);
}

// With services of the test, as the window tests make them.
class ConsoleProgramTest : public servicetest::ServicesTest
{
  protected:
    // Standard output into a pipe or a file, standard error into a file.
    ProgramRun Run(const std::wstring& arguments, bool pipe = true)
    {
        ProgramRun run;
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        const std::wstring files[] = {programFolder + L"\\child-out.txt", programFolder + L"\\child-err.txt"};
        auto create = [&](const std::wstring& file) {
            return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                               nullptr);
        };
        HANDLE read = nullptr, out = nullptr;
        if (!pipe || !CreatePipe(&read, &out, &inherit, 0))
            out = create(files[0]);
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = out;
        start.hStdError = create(files[1]);
        PROCESS_INFORMATION process{};
        // Beside Ravelin.exe, in the program folder of the build this test is part of.
        std::wstring line = L"\"" + testsupport::BuildFolder() + L"\\Ravelin\\ravelinc.exe\" " + arguments;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &start, &process))
            << "ravelinc.exe is built beside Ravelin.exe: " << line;
        CloseHandle(out);
        CloseHandle(start.hStdError);
        char buffer[4096];
        for (DWORD got = 0; read && ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got;)
            run.out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.code);
        for (HANDLE handle : {read, process.hProcess, process.hThread})
            CloseHandle(handle);
        if (!read)
            run.out = testsupport::ReadBytes(files[0]);
        run.err = testsupport::ReadBytes(files[1]);
        return run;
    }
};

} // namespace

TEST_F(ConsoleProgramTest, OutputIsUtf8InAFileAndInAPipeAndErrorsGoApart)
{
    SeedPlace(PlaceOf(L"StartUp (Current User)"), L"Caf\u00e9 \u2615", L"C:\\caf\u00e9.exe");
    const std::string row = Utf8(L"Caf\u00e9 \u2615,Enabled,StartUp (Current User),Current User,");
    ProgramRun r = Run(L"/list", false);
    EXPECT_EQ(r.code, DWORD(ExitDone));
    EXPECT_NE(r.out.find("\r\n" + row), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty());
    r = Run(L"/LIST /JSON");
    EXPECT_NE(r.out.find(Utf8(
                  L"{\"taskName\": \"Caf\u00e9 \u2615\", \"status\": \"Enabled\", \"state\": \"enabled\"")),
              std::string::npos);
    r = Run(L"/list /from \"No Such\"");
    EXPECT_EQ(r.code, DWORD(ExitBadUsage));
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.find("The switch /from does not go with /list.\r\n\r\nBrightfold Ravelin for scripts"),
              0u);
}

TEST_F(ConsoleProgramTest, TheWindowAndTheCommandLineKeepEachOthersEntriesByteForByte)
{
    const std::wstring folder = UserStartup();
    // With arguments, which only their exact copies give back.
    ASSERT_EQ(testsupport::Shortcut(folder + L"\\Alpha.lnk", L"C:\\alpha.exe", L"-a --quiet"), L"");
    ASSERT_EQ(testsupport::Shortcut(folder + L"\\Beta.lnk", L"C:\\beta.exe", L"-b"), L"");
    const std::string alpha = testsupport::ReadBytes(folder + L"\\Alpha.lnk"),
                      beta = testsupport::ReadBytes(folder + L"\\Beta.lnk");
    frmMain& main = Open();
    main.cmdDisable_Click(); // Alpha, the first row, is selected after the fill
    main.mnuApp_Just_Click();
    ASSERT_EQ(StoredNames(), (std::vector<std::wstring>{L"Alpha"}));
    // The window stays open and lists Beta enabled while the command line disables it. Even told
    // it runs on Windows 10, ravelinc sees Wine, whose start ignores the switch: Beta goes out.
    const wchar_t* asWindows10 = L"Software\\Wine\\AppDefaults\\ravelinc.exe";
    HKEY user = nullptr; // the prefix's own, which ravelinc reads, not the test's stand-in
    ASSERT_EQ(RegOpenCurrentUser(KEY_ALL_ACCESS, &user), ERROR_SUCCESS);
    testsupport::SetRegString(user, asWindows10, L"Version", L"win10");
    EXPECT_EQ(Run(L"/disable beta").code, DWORD(ExitDone));
    RegDeleteTreeW(user, asWindows10);
    RegCloseKey(user);
    EXPECT_FALSE(platform::FileExists(folder + L"\\Beta.lnk"));
    main.mnuApp_Just_Click();
    EXPECT_EQ(StoredNames(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
    window.reset();

    // Both come back as they were, and a copy an older build kept in the Windows folder goes.
    const std::wstring older =
        platform::GetWindowsFolder() + platform::names::CopiesFolder + L"StartUp (Current User)";
    ASSERT_EQ(platform::CreateFolderPath(older), DWORD(ERROR_SUCCESS));
    testsupport::WriteBytes(older + L"\\Alpha.lnk", alpha);
    MainState later;
    FillStartupList(later);
    ASSERT_EQ(testsupport::RowTexts(later.List, Status),
              (std::vector<std::wstring>{L"Disabled", L"Disabled"}));
    for (int row = 1; row <= 2; ++row)
        later.List.SetSubItem(row, Status, L"Enabled");
    EXPECT_TRUE(ApplyNow(later).failures.empty());
    EXPECT_EQ(testsupport::ReadBytes(folder + L"\\Alpha.lnk"), alpha);
    EXPECT_EQ(testsupport::ReadBytes(folder + L"\\Beta.lnk"), beta);
    EXPECT_FALSE(platform::FileExists(older + L"\\Alpha.lnk"));
}

TEST_F(ConsoleProgramTest, WhileAnotherProgramAppliesAChangeWaitsAFewSecondsThenAnswersFour)
{
    const Place& startup = PlaceOf(L"StartUp (Current User)");
    SeedPlace(startup, L"Beta", L"C:\\beta.exe");
    const std::wstring a = Make(L"A", servicetest::Automatic), b = Make(L"B", servicetest::Manual);
    Fill(); // listed before the command line changes anything
    {
        const platform::MachineLock applying(platform::names::ApplyLock, 0);
        ASSERT_TRUE(applying.Held());
        const ProgramRun r = Run(L"/disable Beta");
        EXPECT_EQ(r.code, DWORD(ExitNotSafe));
        EXPECT_EQ(r.err,
                  "Nothing was applied: another program is applying changes now. Try again in a moment.\r\n");
        EXPECT_EQ(Run(L"/disable " + a + L" /from Service").code, DWORD(ExitNotSafe));
        EXPECT_EQ(ReadPlace(startup, L"Beta"), L"C:\\beta.exe");
        EXPECT_EQ(servicetest::StartOf(a), servicetest::Automatic);
    }
    EXPECT_EQ(Run(L"/disable Beta").code, DWORD(ExitDone));
    EXPECT_EQ(ReadPlace(startup, L"Beta"), L"<missing>");
    // The window keeps what the command line remembered: a is given back as it was, not as Manual.
    EXPECT_EQ(Run(L"/disable " + a + L" /from Service").code, DWORD(ExitDone));
    Stage(b, false);
    EXPECT_TRUE(ApplyServices(state_).failures.empty());
    EXPECT_EQ(Run(L"/enable " + a + L" /from Service").code, DWORD(ExitDone));
    EXPECT_EQ(servicetest::StartOf(a), servicetest::Automatic);
}
