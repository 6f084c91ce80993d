// The registry, INI and file functions the rest of the program stands on.
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/IniFile.h"
#include "platform/MachineLock.h"
#include "platform/Registry.h"
#include "platform/Skin.h"
#include "platform/StartSteps.h"
#include "platform/Text.h"
#include "support/Fixtures.h"

#include <aclapi.h>
#include <regex>
#include <sddl.h>

using namespace platform;
using PlatformTest = testsupport::RavelinTest;

TEST_F(PlatformTest, RegistryValuesGoByTheirExactName)
{
    const std::wstring services = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    Reg reg;
    reg.RootKey(HKEY_LOCAL_MACHINE);
    reg.KeyPath(services); // missing: made on the first write
    for (const wchar_t* name : {L" Spaced ", L"", L"%Expand"})
    {
        SCOPED_TRACE(name);
        reg.ValueName(name);
        EXPECT_EQ(reg.ReadValue(), L"");
        const std::wstring data = std::wstring(L"C:\\") + name + L".exe";
        reg.ValueData(data);
        ASSERT_EQ(reg.WriteValue(), ERROR_SUCCESS);
        DWORD type = 0;
        EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, services, name, &type), data);
        EXPECT_EQ(type, static_cast<DWORD>(name[0] == L'%' ? REG_EXPAND_SZ : REG_SZ));
        EXPECT_EQ(reg.ReadValue(), data); // unexpanded
    }
    reg.ValueName(L"Spaced"); // a trimmed name finds no value of its own
    EXPECT_EQ(reg.ReadValue(), L"");
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND);
    reg.ValueName(L" Spaced ");
    EXPECT_EQ(reg.DeleteValue(), ERROR_SUCCESS);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, services, L" Spaced "));
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, services, L""));
    // A key deleted by someone else while held open is made again.
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, services.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, services, L" Spaced "), L"C:\\%Expand.exe");
}

TEST(PlatformRendering, EachValueTypeShowsAsText)
{
    const wchar_t text[] = L"%ProgramFiles%\\b.exe", multi[] = L"one\0two\0";
    const auto bytes = [](const void* p, size_t n) {
        return std::vector<BYTE>((const BYTE*)p, (const BYTE*)p + n);
    };
    const struct
    {
        DWORD type;
        std::vector<BYTE> data;
        std::wstring shown;
    } cases[] = {{REG_EXPAND_SZ, bytes(text, sizeof(text)), text},
                 {REG_SZ, bytes(text, 7), L"%Pr"}, // no terminating NUL, and an odd byte count
                 {REG_DWORD, {0x05, 0x01, 0, 0}, L"261"},
                 {REG_QWORD, {0, 0, 0, 0, 1, 0, 0, 0}, L"4294967296"},
                 {REG_MULTI_SZ, bytes(multi, sizeof(multi)), L"one two"},
                 {REG_BINARY, {0x0F, 0xAB, 0x10}, L"0F AB 10"}};
    for (const auto& c : cases)
        EXPECT_EQ(RenderRegData(c.type, c.data.data(), c.data.size()), c.shown) << c.type;
}

TEST_F(PlatformTest, IniFileAnswersAsTheSystemReaderDoes)
{
    const std::wstring path = programFolder + L"\\pack.ini";
    const std::string quoted = "\"" + std::string(498, 'q') + "\"",
                      text = "k=before\r\n[S]\r\n  a  =   value  \r\nb=\"quoted  "
                             "\"\r\nc='single'\r\nd=\"open\r\ne=\"\r\nf=''\r\n"
                             "g=\"mixed'\r\n\th\t=\ttabs\t\r\nempty=\r\nnoequals\r\nlong=" +
                             std::string(600, 'x') + "\r\nq=" + quoted +
                             "\r\nk=first\r\nK=second\r\n[s]\r\nk=third\r\nonly=later\r\n[ Spaced "
                             "]\r\nk=spaced\r\n[T] x\r\nk=t\r\n";
    const char wide[] = "\xFF\xFE[\0S\0]\0\n\0w\0=\0\xE9\0\x45\x06\n\0";
    const std::string utf16(wide, sizeof(wide) - 1);
    for (const std::string& bytes : {text, std::string("[S]\nw=D\xE9j\xE0\n[T]\nk=v"), utf16})
    {
        testsupport::WriteBytes(path, bytes);
        const IniFile ini = IniFile::Parse(bytes);
        for (const wchar_t* section : {L"S", L"s", L" Spaced ", L"Spaced", L"T", L"T] x", L"None"})
            for (const wchar_t* key : {L"a", L" a ", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"empty",
                                       L"noequals", L"long", L"q", L"K", L"only", L"w", L"missing"})
                for (const std::wstring def : {L"", L"def  "})
                    for (size_t size : {500, 128, 1})
                    {
                        std::wstring buffer(size, L'\0');
                        buffer.resize(GetPrivateProfileStringW(section, key, def.c_str(), buffer.data(),
                                                               static_cast<DWORD>(size), path.c_str()));
                        EXPECT_EQ(ini.GetString(section, key, def, size), buffer) << section << "/" << key;
                    }
    }
}

TEST_F(PlatformTest, AReplaceIsWholeOrNothingAndOnlyASkinFileIsASkin)
{
    const std::wstring path = programFolder + L"\\store.pro";
    EXPECT_EQ(ReplaceFileAtomically(path, "first"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReplaceFileAtomically(path, "second"), static_cast<DWORD>(ERROR_SUCCESS));
    CreateDirectoryW((path + L".new").c_str(), nullptr); // in the way of the temporary file
    EXPECT_NE(ReplaceFileAtomically(path, "third"), static_cast<DWORD>(ERROR_SUCCESS));
    RemoveDirectoryW((path + L".new").c_str());
    // A target held open by another program is not replaced, and nothing is left beside it.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(ReplaceFileAtomically(path, "fourth"), static_cast<DWORD>(ERROR_SUCCESS));
    // A write the system refuses reports the system's own reason.
    EXPECT_EQ(WriteAll(held, "x"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(held);
    EXPECT_EQ(testsupport::ReadBytes(path), "second");
    EXPECT_FALSE(FileExists(path + L".new"));

    Skin skin;
    testsupport::WriteBytes(path, "[Panel]\r\nBackColor=1,2,3\r\n");
    EXPECT_FALSE(skin.LoadSkinFile(path));
    testsupport::WriteBytes(path,
                            "[Skin]\r\n[Panel]\r\nBackColor=1,2,3\r\nTextColor=bad\r\n[Font]\r\nSize=99\r\n");
    EXPECT_TRUE(skin.LoadSkinFile(path));
    EXPECT_EQ(skin.PanelTextColor(), RGB(0, 0, 0)); // a bad colour keeps the default
    EXPECT_EQ(skin.FontPoints(), 8);                // out of range
    // A part over 255 is refused, not cut to its low byte.
    for (const char* bad : {"300,0,0", "0,300,0", "0,0,300"})
    {
        Skin fresh;
        testsupport::WriteBytes(path, std::string("[Skin]\r\n[Panel]\r\nTextColor=") + bad + "\r\n");
        EXPECT_TRUE(fresh.LoadSkinFile(path));
        EXPECT_EQ(fresh.PanelTextColor(), RGB(0, 0, 0)) << bad;
    }
    EXPECT_FALSE(skin.LoadSkinFile(programFolder + L"\\NoSuch.skn"));
}

TEST_F(PlatformTest, StartStepsGoToTheFileABenchmarkNamesAsUtf8LinesInOrder)
{
    const std::wstring path = programFolder + L"\\steps.txt";
    SetEnvironmentVariableW(L"RAVELIN_BENCH_STEPS", path.c_str());
    startsteps::Mark(L"\u00e9t\u00e9");
    startsteps::Mark(L"fill");
    startsteps::Report();
    SetEnvironmentVariableW(L"RAVELIN_BENCH_STEPS", nullptr);
    const std::string text = testsupport::ReadBytes(path);
    std::smatch at;
    ASSERT_TRUE(std::regex_match(text, at, std::regex("\xC3\xA9t\xC3\xA9\t([0-9.]+)\nfill\t([0-9.]+)\n")));
    EXPECT_LE(std::stod(at[1]), std::stod(at[2]));
}

TEST(PlatformText, TrimHexAndLinesTakeTheirEdgesAsTheReadersDo)
{
    EXPECT_EQ(platform::Trim(L"   "), L"");
    EXPECT_EQ(platform::Trim(L"\ta\t", L" \t"), L"a");
    EXPECT_EQ(platform::Trim(L"\ta "), L"\ta") << "blanks are spaces unless the reader says otherwise";
    EXPECT_EQ(platform::TrimEnd(L"  a. \r\n", L"\r\n ."), L"  a");

    EXPECT_EQ(platform::Hex(0, 2), L"00");
    EXPECT_EQ(platform::Hex(0xAB, 1), L"AB") << "never shorter than the value";
    EXPECT_EQ(platform::Hex(0x1f, 4, true), L"001f");

    using Lines = std::vector<std::wstring_view>;
    EXPECT_EQ(platform::SplitLines(L"a\r\nb\nc\rd"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(platform::SplitLines(L"a\r\n\r\n"), (Lines{L"a", L""}))
        << "an empty line is a line; the end is not";
    EXPECT_EQ(platform::SplitLines(L"\r\r\n"), (Lines{L"", L""}));
    EXPECT_EQ(platform::SplitLines(L""), Lines{});

    EXPECT_EQ(platform::DecodeText(std::string("\xFE\xFF\x00\x61\x20\xAC", 6)), L"a\u20ac");
    EXPECT_EQ(platform::DecodeText(std::string("\xFF\xFE\x61\x00\xC4\x30", 6)), L"a\u30c4");
    EXPECT_TRUE(platform::IsUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(platform::IsUtf8(std::string(10, '\xA9'))) << "ten copyright signs in ANSI";
    EXPECT_EQ(platform::ErrorFromHResult(S_FALSE), DWORD(ERROR_SUCCESS)) << "a success all the same";
}

TEST(PlatformConsole, AConsoleTakesEachWriteWholeHoweverShort)
{
    // A console of its own, whose screen reads back what was written to it.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const UniqueHandle screen = MakeUniqueHandle(CreateFileW(
        L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    SetStdHandle(STD_OUTPUT_HANDLE, screen.get());
    EXPECT_EQ(WriteStandardOutput(L"x") | WriteStandardOutput(L"\u00e9t\u00e9"), DWORD(ERROR_SUCCESS));
    wchar_t shown[4] = {};
    DWORD count = 0;
    ReadConsoleOutputCharacterW(screen.get(), shown, 4, {0, 0}, &count);
    EXPECT_EQ(std::wstring(shown, count), L"x\u00e9t\u00e9");
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    FreeConsole();
}

TEST(PlatformLock, EveryoneMayWaitForTheLockAndReleaseItAndDoNothingElse)
{
    const MachineLock lock(L"Brightfold.Ravelin.TestLock", 0);
    ASSERT_TRUE(lock.Held());
    UniqueHandle mutex(OpenMutexW(READ_CONTROL, FALSE, L"Global\\Brightfold.Ravelin.TestLock"));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t* text = nullptr;
    ASSERT_EQ(GetSecurityInfo(mutex.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    EXPECT_EQ(std::wstring(text), L"D:(A;;0x100001;;;WD)"); // synchronize and modify state, for the world
    LocalFree(text);
    LocalFree(descriptor);
}
