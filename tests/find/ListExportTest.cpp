// The list for scripts: CSV and JSON text, and Ravelin.exe /list run as a program.
#include "find/ListCommand.h"
#include "find/ListExport.h"
#include "platform/Handles.h"
#include "platform/Shortcuts.h"
#include "platform/Text.h"
#include "support/Fixtures.h"

namespace {

ExportRow Row(std::wstring name, std::wstring location, std::wstring publisher, std::optional<bool> exists)
{
    return {{std::move(name), L"Enabled", L"Win.ini Run", L"All users", L"Any User Logs On",
             std::move(location), std::move(publisher)},
            exists};
}

// Runs a command line with its standard output in a pipe; the output, and the exit code.
std::string RunCapturingOutput(const std::wstring& commandLine, DWORD& exitCode)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    platform::UniqueHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                               &process));
    platform::UniqueHandle thread(process.hThread), owned(process.hProcess);
    writer.reset(); // the pipe ends when the program's copy of it closes
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) output.append(buffer, got);
    // A program that opened a window would still be running: it must end by itself.
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &exitCode);
    return output;
}

} // namespace

TEST(ListExport, CsvQuotesOnlyFieldsWithCommasQuotesOrLineBreaks)
{
    EXPECT_EQ(CsvField(L"C:\\Tools\\a.exe /x"), L"C:\\Tools\\a.exe /x");
    EXPECT_EQ(CsvField(L"Tray, Helper"), L"\"Tray, Helper\"");
    EXPECT_EQ(CsvField(L"say \"hi\""), L"\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField(L"two\r\nlines"), L"\"two\r\nlines\"");
    const std::array<std::wstring, ShownColumnCount + 1> header = {L"A", L"B", L"C", L"D",
                                                                   L"E", L"F", L"G", L"H"};
    const std::vector<ExportRow> rows = {Row(L"x", L"\"C:\\a b\\x.exe\" -q", L"Acme, Inc.", true),
                                         Row(L"y", L"", L"", {})};
    EXPECT_EQ(ToCsv(header, rows), L"A,B,C,D,E,F,G,H\r\n"
                                   L"x,Enabled,Win.ini Run,All users,Any User Logs On,"
                                   L"\"\"\"C:\\a b\\x.exe\"\" -q\",\"Acme, Inc.\",true\r\n"
                                   L"y,Enabled,Win.ini Run,All users,Any User Logs On,,,\r\n");
}

TEST(ListExport, JsonEscapesQuotesBackslashesAndControlCharacters)
{
    EXPECT_EQ(JsonString(L"C:\\a \"b\"\t\x01\x2028\x00e9"), L"\"C:\\\\a \\\"b\\\"\\t\\u0001\\u2028\x00e9\"");
    const std::wstring json = ToJson({Row(L"x", L"x.exe", L"Acme", false), Row(L"y", L"", L"", {})});
    EXPECT_NE(
        json.find(L"{\"taskName\": \"x\", \"status\": \"Enabled\", \"loadFrom\": \"Win.ini Run\", \"user\": "
                  L"\"All users\", \"when\": \"Any User Logs On\", \"location\": \"x.exe\", \"publisher\": "
                  L"\"Acme\", \"fileExists\": false},"),
        std::wstring::npos)
        << json;
    EXPECT_NE(json.find(L"\"fileExists\": null}\r\n]"), std::wstring::npos) << json;
    EXPECT_EQ(ToJson({}), L"[]\r\n");
}

class ListCommandTest : public testsupport::RavelinTest {};

TEST_F(ListCommandTest, ListPrintsTheRowsAsCsvOrJsonAndEndsWithoutAWindow)
{
    ASSERT_TRUE(
        SUCCEEDED(platform::WriteShortcut(UserStartup() + L"\\Tray, Helper.lnk", L"C:\\nowhere\\tray.exe")));
    EXPECT_EQ(ParseListRequest(L"  -LIST   /Json").json, true);
    EXPECT_FALSE(ParseListRequest(L"/json list").wanted);

    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring program = module;
    program = program.substr(0, program.rfind(L'\\')) + L"\\..\\Ravelin\\Ravelin.exe";
    DWORD exitCode = 1;
    const std::wstring csv =
        platform::WideFromCodePage(CP_UTF8, RunCapturingOutput(L"\"" + program + L"\" /list", exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(csv.find(L"Task Name,Status,Load From,User,When?,Location,Publisher,File exists\r\n"), 0u)
        << csv;
    EXPECT_NE(
        csv.find(L"\r\n\"Tray, Helper\",Enabled,StartUp (Current User),Current User,Current User Logs On,"
                 L"C:\\nowhere\\tray.exe,,false\r\n"),
        std::wstring::npos)
        << csv;

    const std::wstring json = platform::WideFromCodePage(
        CP_UTF8, RunCapturingOutput(L"\"" + program + L"\" /list /json", exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_NE(json.find(L"{\"taskName\": \"Tray, Helper\", \"status\": \"Enabled\""), std::wstring::npos)
        << json;
    EXPECT_NE(
        json.find(
            L"\"location\": \"C:\\\\nowhere\\\\tray.exe\", \"publisher\": \"\", \"fileExists\": false}"),
        std::wstring::npos)
        << json;
}
