// The language packs and flags that ship in data/Lang, read as the program reads them.
#include "app/StartupSource.h"
#include "i18n/Globals.h"
#include "i18n/LanguageList.h"
#include "platform/Files.h"
#include "platform/Images.h"
#include "support/Fixtures.h"

#include <commctrl.h>

#include <set>

using testsupport::RavelinTest;

namespace {

constexpr wchar_t Section[] = L"Brightfold Language Pack";

std::wstring ShippedFolder()
{
    return testsupport::RepoFolder() + L"\\data\\Lang";
}

// Key names of the section, as the profile-string reader lists them.
std::vector<std::wstring> KeysOf(const std::wstring& path)
{
    std::vector<wchar_t> buffer(65536);
    DWORD n = GetPrivateProfileStringW(Section, nullptr, L"", buffer.data(), static_cast<DWORD>(buffer.size()),
                                       path.c_str());
    std::vector<std::wstring> keys;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + n && *p; p += wcslen(p) + 1) keys.emplace_back(p);
    return keys;
}

std::wstring Value(const std::wstring& path, const std::wstring& key)
{
    wchar_t buffer[500] = {};
    GetPrivateProfileStringW(Section, key.c_str(), L"<missing>", buffer, 500, path.c_str());
    return buffer;
}

std::vector<std::wstring> Packs()
{
    std::vector<std::wstring> packs;
    for (const std::wstring& name : platform::ListFolderFiles(ShippedFolder()).names)
        if (platform::FileExists(ShippedFolder() + L"\\" + name) && name.size() > 4 &&
            _wcsicmp(name.c_str() + name.size() - 4, L".ini") == 0)
            packs.push_back(name);
    return packs;
}

std::vector<BYTE> Pixels(HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<BYTE> pixels(static_cast<size_t>(width * height * 4));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0; // alpha is not part of the picture
    return pixels;
}

} // namespace

TEST(ShippedPacks, EveryPackHasEveryKeyOfEnglishWithAText)
{
    const std::wstring english = ShippedFolder() + L"\\English.ini";
    const std::vector<std::wstring> keys = KeysOf(english);
    ASSERT_GT(keys.size(), 60u) << "English.ini is read by the profile-string reader";
    const std::vector<std::wstring> packs = Packs();
    for (const wchar_t* expected : {L"Arabic.ini", L"English.ini", L"French.ini", L"German.ini"})
        EXPECT_NE(std::find(packs.begin(), packs.end(), expected), packs.end()) << std::wstring(expected);
    for (const std::wstring& pack : packs) {
        const std::wstring path = ShippedFolder() + L"\\" + pack;
        for (const std::wstring& key : keys) {
            const std::wstring value = Value(path, key);
            EXPECT_NE(value, L"<missing>") << pack << " lacks key " << key;
            EXPECT_FALSE(value.empty()) << pack << " has an empty key " << key;
        }
        const std::vector<std::wstring> own = KeysOf(path);
        EXPECT_EQ(std::set<std::wstring>(own.begin(), own.end()).size(), own.size()) << pack << " repeats a key";
    }
}

TEST(ShippedPacks, TechnicalNamesStayEnglishAndEachPackAgreesWithItself)
{
    const std::wstring english = ShippedFolder() + L"\\English.ini";
    for (const std::wstring& pack : Packs()) {
        const std::wstring path = ShippedFolder() + L"\\" + pack;
        // The source writers recognise machine rows by these names in any language.
        for (const wchar_t* key : {L"419", L"427", L"428", L"429"})
            EXPECT_EQ(Value(path, key), Value(english, key)) << pack << " key " << std::wstring(key);
        // The Add Task dialog finds the per-user Run key by comparing these two.
        EXPECT_EQ(Value(path, L"414"), Value(path, L"426")) << pack;
        // Status words must differ, or one state could not be told from another.
        const std::set<std::wstring> words = {Value(path, L"413"), Value(path, L"423"), Value(path, L"424")};
        EXPECT_EQ(words.size(), 3u) << pack;
        // The source names must differ too: the writers know a row's source by its name.
        std::set<std::wstring> sources;
        size_t named = 0;
        for (const StartupSource& source : StartupSources)
            if (source.nameKey) {
                sources.insert(Value(path, source.nameKey));
                ++named;
            }
        EXPECT_EQ(sources.size(), named) << pack;
    }
}

TEST(ShippedPacks, EveryPackHasAFlagOfTheSameNameThatIsAPicture)
{
    for (const std::wstring& pack : Packs()) {
        const std::wstring flag = ShippedFolder() + L"\\" + pack.substr(0, pack.size() - 4) + L".bmp";
        DWORD error = ERROR_SUCCESS;
        platform::UniqueGdi<HBITMAP> bitmap(platform::LoadBitmapFile(flag, 24, 16, &error));
        EXPECT_TRUE(bitmap) << flag << " error " << error;
    }
}

class ShippedSelectorTest : public RavelinTest {};

TEST_F(ShippedSelectorTest, EachShippedPackShowsItsOwnFlag)
{
    InstallShippedPacks();
    HWND parent = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND combo = CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, parent,
                                 nullptr, nullptr, nullptr);
    platform::UniqueImageList images;
    ShowLanguageList(combo, ReadLanguageList(images, 96, parent), images.get(), parent);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 4) << "the four shipped packs";
    ASSERT_EQ(count, static_cast<int>(Packs().size()));
    ASSERT_EQ(ImageList_GetImageCount(images.get()), count);
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        IMAGEINFO shown{};
        ASSERT_TRUE(ImageList_GetImageInfo(images.get(), item.iImage, &shown));
        platform::UniqueGdi<HBITMAP> own(
            platform::LoadBitmapFile(ShippedFolder() + L"\\" + text + L".bmp", 24, 16, nullptr));
        ASSERT_TRUE(own);
        // The image list keeps all its images side by side in one bitmap.
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP copy = CreateCompatibleBitmap(screen, 24, 16);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, copy);
        ImageList_Draw(images.get(), item.iImage, dc, 0, 0, ILD_NORMAL);
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_EQ(Pixels(copy, 24, 16), Pixels(own.get(), 24, 16)) << std::wstring(text);
        DeleteObject(copy);
    }
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << "English, the pack of no stored choice";
    DestroyWindow(parent);
}
