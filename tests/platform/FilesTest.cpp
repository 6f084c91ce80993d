// Folder listings, atomic replacement and the skin file.
#include "platform/Files.h"
#include "platform/Skin.h"
#include "support/Fixtures.h"

using namespace platform;

namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override { folder = testsupport::MakeTempFolder(); }
    void TearDown() override { testsupport::DeleteTree(folder); }
    std::wstring folder;
};

} // namespace

TEST_F(FilesTest, ListingIsSortedWithoutCaseAndSkipsFoldersHiddenAndSystemFiles)
{
    for (const wchar_t* name : {L"b.txt", L"A.txt", L"c.TXT", L"hidden.txt", L"system.txt"})
        testsupport::WriteBytes(folder + L"\\" + name, "x");
    SetFileAttributesW((folder + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((folder + L"\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    FolderListing listing = ListFolderFiles(folder);
    EXPECT_EQ(listing.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(listing.names, (std::vector<std::wstring>{L"A.txt", L"b.txt", L"c.TXT"}));
    EXPECT_TRUE(ListFolderFiles(folder + L"\\missing").names.empty());
    EXPECT_EQ(ListFolderFiles(folder + L"\\missing").error, static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(FilesTest, AtomicReplaceKeepsTheOldFileWhenTheWriteFails)
{
    const std::wstring path = folder + L"\\store.pro";
    EXPECT_EQ(ReplaceFileAtomically(path, "first"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReplaceFileAtomically(path, "second"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(testsupport::ReadBytes(path), "second");
    // A folder in the way of the temporary file makes the write fail before the target is touched.
    CreateDirectoryW((path + L".new").c_str(), nullptr);
    EXPECT_NE(ReplaceFileAtomically(path, "third"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(testsupport::ReadBytes(path), "second");
    RemoveDirectoryW((path + L".new").c_str());
    // A target held open by another program is not replaced, and nothing is left beside it.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(ReplaceFileAtomically(path, "fourth"), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(held);
    EXPECT_EQ(testsupport::ReadBytes(path), "second");
    EXPECT_FALSE(FileExists(path + L".new"));
    EXPECT_EQ(RemoveFile(path, true), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(FilesTest, SkinLoadsOnlyARealSkinFile)
{
    Skin skin;
    EXPECT_FALSE(skin.LoadSkinFile(folder + L"\\Title.skn"));
    testsupport::WriteBytes(folder + L"\\Title.skn", std::string("\x00\x01\x02garbage\xff", 11));
    EXPECT_FALSE(skin.LoadSkinFile(folder + L"\\Title.skn"));
    testsupport::WriteBytes(folder + L"\\Title.skn",
                            "[Skin]\r\nName=t\r\n[Panel]\r\nBackColor=1,2,3\r\nTextColor=bad\r\n[Font]\r\nName=Arial\r\nSize=99\r\n");
    EXPECT_TRUE(skin.LoadSkinFile(folder + L"\\Title.skn"));
    EXPECT_EQ(skin.PanelBackColor(), RGB(1, 2, 3));
    EXPECT_EQ(skin.PanelTextColor(), RGB(0, 0, 0)); // a bad colour keeps the default
    EXPECT_EQ(skin.FontName(), L"Arial");
    EXPECT_EQ(skin.FontPoints(), 8); // out of range
}
