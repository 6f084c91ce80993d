// Two users of one machine: each one's own entries taken out stay theirs, and the machine's entries
// come back exactly, whoever disabled them.
#include "ApplyFixture.h"
#include "apply/ApplyEngine.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "staging/EntryStore.h"

using namespace applytest;
using testsupport::RegStringValue;
using testsupport::RowTexts;
using Names = std::vector<std::wstring>;

namespace
{

// The same machine as another user sees it: a registry and an application data folder of their own.
class OtherUser
{
  public:
    explicit OtherUser(const std::wstring& scratch)
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOpenKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKCU").c_str(), 0, KEY_ALL_ACCESS, &own_);
        RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\Other").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &other_, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, other_);
        platform::OverrideUserDataFolder(platform::UserDataFolder() + L"-other");
        Forget(); // left by an earlier run: the store's folder is made when it is needed
    }
    ~OtherUser()
    {
        Forget();
        platform::OverrideUserDataFolder({});
        RegOverridePredefKey(HKEY_CURRENT_USER, own_);
        RegCloseKey(other_);
        RegCloseKey(own_);
    }

  private:
    static void Forget()
    {
        platform::RemoveFile(UserStorePath(), true);
        RemoveDirectoryW(platform::UserDataFolder().c_str());
    }
    HKEY own_ = nullptr, other_ = nullptr;
};

} // namespace

TEST_F(ApplyTest, AnotherUserNeitherSeesNorDropsTheUsersOwnEntriesAndGetsTheMachinesBackExactly)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Mine", L"C:\\mine.exe");
    // A plain string that looks expandable: its text alone would come back of the other type.
    const std::wstring tool = L"%ProgramFiles%\\tool.exe";
    const BYTE* bytes = reinterpret_cast<const BYTE*>(tool.c_str());
    const std::vector<BYTE> toolBytes(bytes, bytes + (tool.size() + 1) * sizeof(wchar_t));
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, RunKey, L"Tool", REG_SZ, toolBytes);
    Start();
    Stage(L"Mine", L"Disabled");
    Stage(L"Tool", L"Disabled");
    ASSERT_TRUE(ApplyNow(*state).failures.empty());
    {
        OtherUser other(ScratchPath());
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Theirs", L"C:\\theirs.exe");
        Start();
        EXPECT_EQ(RowTexts(state->List, TaskName), (Names{L"Theirs", L"Tool"}));
        // Enabled, the machine's entry takes its copy with it, also one an older build kept in HKCU.
        const std::wstring olderCopies = platform::names::CopiesKey + std::wstring(L"Registry(Machine Run)");
        testsupport::SetRegString(HKEY_CURRENT_USER, olderCopies, L"Tool", tool);
        Stage(L"Tool", L"Enabled");
        Stage(L"Theirs", L"Disabled");
        EXPECT_TRUE(ApplyNow(*state).failures.empty());
        EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, olderCopies, L"Tool"));
        EXPECT_EQ(StoredNames(), (Names{L"Theirs"})) << "in their own store, in a folder made for it";
        platform::RegValue value;
        ASSERT_EQ(platform::ReadRegValue(HKEY_LOCAL_MACHINE, RunKey, L"Tool", value), ERROR_SUCCESS);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value.data, toolBytes);
    }
    Start();
    EXPECT_EQ(RowTexts(state->List, TaskName), (Names{L"Tool", L"Mine"}));
    EXPECT_EQ(state->List.Text(Position(L"Mine"), Status), L"Disabled");
    Stage(L"Mine", L"Enabled");
    EXPECT_TRUE(ApplyNow(*state).failures.empty());
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Mine"), L"C:\\mine.exe");
    EXPECT_TRUE(StoredRecords().empty());
    // Back in their places, neither keeps a copy behind, in the machine's registry or the user's.
    const std::wstring copies = L"Software\\Brightfold\\Disabled\\Registry(";
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, copies + L"Machine Run)", L"Tool"));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, copies + L"User Run)", L"Mine"));
}
