// The registry functions and the registry component Reg.
#include "platform/Registry.h"
#include "support/Fixtures.h"

using namespace platform;
using testsupport::RavelinTest;

namespace {
const std::wstring RunPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

TEST(RegistryRendering, ShowsEachValueTypeAsDisplayText)
{
    const wchar_t sz[] = L"C:\\a.exe /x";
    EXPECT_EQ(RenderRegData(REG_SZ, reinterpret_cast<const BYTE*>(sz), sizeof(sz)), L"C:\\a.exe /x");
    const wchar_t expand[] = L"%ProgramFiles%\\b.exe";
    EXPECT_EQ(RenderRegData(REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof(expand)),
              L"%ProgramFiles%\\b.exe");
    const BYTE dword[] = {0x05, 0x01, 0x00, 0x00};
    EXPECT_EQ(RenderRegData(REG_DWORD, dword, 4), L"261");
    const BYTE qword[] = {0, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(RenderRegData(REG_QWORD, qword, 8), L"4294967296");
    const wchar_t multi[] = L"one\0two\0three\0";
    EXPECT_EQ(RenderRegData(REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof(multi)), L"one two three");
    const BYTE binary[] = {0x00, 0xAB, 0x10};
    EXPECT_EQ(RenderRegData(REG_BINARY, binary, 3), L"00 AB 10");
    EXPECT_EQ(RenderRegData(REG_BINARY, binary, 0), L"");
    // A string stored without its terminating NUL, and one with an odd byte count.
    const wchar_t unterminated[] = L"abc";
    EXPECT_EQ(RenderRegData(REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 6), L"abc");
    EXPECT_EQ(RenderRegData(REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 7), L"abc");
}

using RegistryFunctions = RavelinTest;

TEST_F(RegistryFunctions, CountsNamesAndMissingKeys)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunPath, L"  Padded  ", L"x");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunPath + L"\\Sub", L"v", L"y");
    UniqueHKey key = OpenRegKey(HKEY_CURRENT_USER, RunPath);
    ASSERT_TRUE(key);
    EXPECT_EQ(QueryRegCount(key.get(), 0), 1u);
    EXPECT_EQ(QueryRegCount(key.get(), 1), 1u);
    EXPECT_EQ(EnumRegValueName(key.get(), 0), L"Padded");
    EXPECT_EQ(EnumRegValueName(key.get(), 1), L"");
    EXPECT_FALSE(OpenRegKey(HKEY_CURRENT_USER, RunPath + L"\\Missing"));
    EXPECT_EQ(QueryRegCount(nullptr, 0), 0u);
    EXPECT_EQ(EnumRegValueName(nullptr, 0), L"");
}

TEST_F(RegistryFunctions, ReadValuesGivesNamesAndDataInOnePass)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunPath, L"A", L"one");
    testsupport::SetRegBinary(HKEY_CURRENT_USER, RunPath, L"B", REG_DWORD, {7, 0, 0, 0});
    UniqueHKey key = OpenRegKey(HKEY_CURRENT_USER, RunPath);
    auto values = ReadRegValues(key.get());
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, L"A");
    EXPECT_EQ(RenderRegData(values[0].type, values[0].data.data(), values[0].data.size()), L"one");
    EXPECT_EQ(values[1].type, static_cast<DWORD>(REG_DWORD));
    EXPECT_TRUE(ReadRegValues(nullptr).empty());
}

using RegComponent = RavelinTest;

TEST_F(RegComponent, WritesReadsAndDeletes)
{
    Reg reg;
    reg.RootKey(HKEY_LOCAL_MACHINE);
    reg.KeyPath(L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"); // missing: created on write
    reg.ValueName(L"Agent");
    reg.ValueData(L"C:\\agent.exe -q");
    EXPECT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
                                          L"Agent", &type),
              L"C:\\agent.exe -q");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(reg.ReadValue(), L"C:\\agent.exe -q");

    reg.ValueName(L"Expand");
    reg.ValueData(L"%SystemRoot%\\x.exe");
    EXPECT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    testsupport::RegStringValue(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
                                L"Expand", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(reg.ReadValue(), L"%SystemRoot%\\x.exe"); // unexpanded

    reg.ValueName(L"Agent");
    EXPECT_EQ(reg.DeleteValue(), ERROR_SUCCESS);
    EXPECT_EQ(reg.ReadValue(), L"");
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND);

    reg.KeyPath(L"Software\\Nowhere");
    reg.ValueName(L"x");
    EXPECT_EQ(reg.ReadValue(), L"");
    EXPECT_NE(reg.DeleteValue(), ERROR_SUCCESS);
}

TEST_F(RegComponent, ServedReadsAnswerAsTheRegistryWouldAndEndOnAnyChange)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunPath, L"Tool", L"C:\\tool.exe");
    testsupport::SetRegString(HKEY_CURRENT_USER, RunPath, L" Spaced", L"C:\\spaced.exe");
    Reg reg;
    reg.RootKey(HKEY_CURRENT_USER);
    reg.KeyPath(RunPath);
    UniqueHKey key = OpenRegKey(HKEY_CURRENT_USER, RunPath);
    reg.ServeReadsFrom(ReadRegValues(key.get()));
    // Names compare without regard to case; a trimmed name finds no value of its own.
    for (const wchar_t* name : {L"Tool", L"TOOL", L"Spaced", L" Spaced", L"missing"}) {
        reg.ValueName(name);
        std::wstring served = reg.ReadValue();
        Reg fresh;
        fresh.RootKey(HKEY_CURRENT_USER);
        fresh.KeyPath(RunPath);
        fresh.ValueName(name);
        EXPECT_EQ(served, fresh.ReadValue()) << name;
    }
    // A write ends the served reads: the new data is seen.
    reg.ValueName(L"Tool");
    reg.ValueData(L"C:\\new.exe");
    reg.WriteValue();
    EXPECT_EQ(reg.ReadValue(), L"C:\\new.exe");
}

TEST_F(RegComponent, AKeyDeletedWhileHeldOpenIsOpenedAgain)
{
    const std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    Reg reg;
    reg.RootKey(HKEY_LOCAL_MACHINE);
    reg.KeyPath(path);
    reg.ValueName(L"Agent");
    reg.ValueData(L"C:\\agent.exe");
    ASSERT_EQ(reg.WriteValue(), ERROR_SUCCESS); // the key is now held open
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND); // gone with its key, not "key deleted"
    ASSERT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, path, L"Agent"), L"C:\\agent.exe");
}
