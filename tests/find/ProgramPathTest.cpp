// Finding the file of a command line: quotes, arguments, variables, rundll32, the search path,
// and files that are not there.
#include "find/FileFacts.h"
#include "support/Fixtures.h"

#include <windows.h>

namespace {

class ProgramPathTest : public testsupport::RavelinTest {
  protected:
    void SetUp() override
    {
        RavelinTest::SetUp();
        folder = testsupport::MakeTempFolder() + L"\\My Tools";
        CreateDirectoryW(folder.c_str(), nullptr);
        tool = folder + L"\\tool.exe";
        dll = folder + L"\\helper.dll";
        testsupport::WriteBytes(tool, "MZ");
        testsupport::WriteBytes(dll, "MZ");
        wchar_t path[32767] = {};
        GetEnvironmentVariableW(L"PATH", path, 32767);
        oldPath = path;
        SetEnvironmentVariableW(L"PATH", (oldPath + L";" + folder).c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"PATH", oldPath.c_str());
        testsupport::DeleteTree(folder.substr(0, folder.rfind(L'\\')));
        RavelinTest::TearDown();
    }
    static std::wstring SystemFile(const wchar_t* name)
    {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        return std::wstring(system) + L"\\" + name;
    }
    static std::wstring OwnFile()
    {
        wchar_t module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        return module;
    }

    std::wstring folder, tool, dll, oldPath;
};

void ExpectFound(const std::wstring& commandLine, const std::wstring& file)
{
    const FileFacts facts = ResolveFileFacts(commandLine);
    EXPECT_EQ(facts.state, FileFacts::State::Found) << commandLine;
    EXPECT_EQ(_wcsicmp(facts.file.c_str(), file.c_str()), 0) << commandLine << " gave " << facts.file;
}

} // namespace

TEST_F(ProgramPathTest, QuotedAndUnquotedProgramsWithArgumentsAndVariables)
{
    ExpectFound(L"\"" + tool + L"\" /background", tool);
    // Unquoted, the blank in "My Tools" is tried as the end of the program and passed over.
    ExpectFound(tool + L" --minimized -x", tool);
    ExpectFound(folder + L"\\tool /x", tool);
    ExpectFound(L"  %SystemRoot%\\system32\\notepad.exe %1", SystemFile(L"notepad.exe"));
    ExpectFound(L"\"%SystemRoot%\\system32\\notepad.exe\"", SystemFile(L"notepad.exe"));
}

TEST_F(ProgramPathTest, BareNamesAreSearchedInTheSystemFoldersAndPath)
{
    ExpectFound(L"tool /quiet", tool);
    ExpectFound(L"notepad.exe C:\\readme.txt", SystemFile(L"notepad.exe"));
    ExpectFound(L"rundll32.exe helper.dll,Entry 1 2", dll);
    ExpectFound(L"rundll32 \"" + dll + L"\",Entry", dll);
    ExpectFound(L"RUNDLL32.EXE shell32.dll,Control_RunDLL", SystemFile(L"shell32.dll"));
}

TEST_F(ProgramPathTest, AFileThatIsNotThereIsMissingAndABlankLineNamesNone)
{
    for (const std::wstring& line :
         {std::wstring(L"C:\\nowhere\\gone.exe /x"), std::wstring(L"\"C:\\no where\\gone.exe\""),
          std::wstring(L"%NO_SUCH_VARIABLE%\\gone.exe"), std::wstring(L"gone-for-good.exe"),
          // rundll32 itself exists; the entry's own file is its DLL.
          std::wstring(L"rundll32.exe gone.dll,Entry")})
        EXPECT_EQ(ResolveFileFacts(line).state, FileFacts::State::Missing) << line;
    EXPECT_EQ(ResolveFileFacts(L"   ").state, FileFacts::State::NoFile);
}

TEST_F(ProgramPathTest, PublisherIsTheCompanyNameOfTheVersionInformation)
{
    const FileFacts own = ResolveFileFacts(L"\"" + OwnFile() + L"\" --gtest_list_tests");
    EXPECT_EQ(own.publisher, L"Brightfold") << "this test program carries Ravelin's version resource";
    const FileFacts plain = ResolveFileFacts(tool);
    EXPECT_EQ(plain.state, FileFacts::State::Found);
    EXPECT_EQ(plain.publisher, L"");
}
