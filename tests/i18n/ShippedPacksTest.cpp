// The language packs and flags that ship in data/Lang, read as the program reads them.
#include "app/StartupSource.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Images.h"
#include "support/Fixtures.h"

#include <set>

namespace {

const std::wstring Folder = testsupport::RepoFolder() + L"\\data\\Lang\\";

// The key names of the pack's section, or the value of one key, as the profile-string reader gives them.
std::vector<std::wstring> KeysOf(const std::wstring& pack)
{
    std::vector<wchar_t> buffer(65536);
    DWORD n = GetPrivateProfileStringW(L"Brightfold Language Pack", nullptr, L"", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), (Folder + pack).c_str());
    std::vector<std::wstring> keys;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + n && *p; p += wcslen(p) + 1) keys.emplace_back(p);
    return keys;
}
std::wstring Value(const std::wstring& pack, const std::wstring& key)
{
    wchar_t buffer[500] = {};
    GetPrivateProfileStringW(L"Brightfold Language Pack", key.c_str(), L"<missing>", buffer, 500, (Folder + pack).c_str());
    return buffer;
}

} // namespace

TEST(ShippedPacks, EachPackHasEveryKeyOfEnglishItsOwnFlagAndWordsTheWritersCanTellApart)
{
    const std::vector<std::wstring> keys = KeysOf(L"English.ini");
    ASSERT_GT(keys.size(), 60u) << "English.ini is read by the profile-string reader";
    std::vector<std::wstring> packs;
    for (const std::wstring& name : platform::ListFolderFiles(Folder).names)
        if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".ini") == 0) packs.push_back(name);
    for (const wchar_t* shipped : {L"Arabic.ini", L"English.ini", L"French.ini", L"German.ini"})
        EXPECT_NE(std::find(packs.begin(), packs.end(), shipped), packs.end()) << shipped;
    for (const std::wstring& pack : packs) {
        SCOPED_TRACE(pack);
        for (const std::wstring& key : keys) EXPECT_TRUE(Value(pack, key) != L"<missing>" && Value(pack, key) != L"") << key;
        const std::vector<std::wstring> own = KeysOf(pack);
        EXPECT_EQ(std::set<std::wstring>(own.begin(), own.end()).size(), own.size()) << "a key repeats";
        DWORD error = ERROR_SUCCESS;
        platform::UniqueGdi<HBITMAP> flag(platform::LoadBitmapFile(Folder + pack.substr(0, pack.size() - 4) + L".bmp", 24, 16, &error));
        EXPECT_TRUE(flag) << "flag: error " << error;
        // The source writers recognise machine rows by these names in any language.
        for (const wchar_t* key : {L"419", L"427", L"428", L"429"}) EXPECT_EQ(Value(pack, key), Value(L"English.ini", key));
        // The Add Task dialog finds the per-user Run key by comparing these two.
        EXPECT_EQ(Value(pack, L"414"), Value(pack, L"426"));
        // Status words and source names must differ, or one could not be told from another.
        EXPECT_EQ((std::set<std::wstring>{Value(pack, L"413"), Value(pack, L"423"), Value(pack, L"424")}).size(), 3u);
        std::set<std::wstring> sources;
        size_t named = 0;
        for (const StartupSource& source : StartupSources)
            if (source.nameKey) sources.insert(Value(pack, source.nameKey)), ++named;
        EXPECT_EQ(sources.size(), named);
    }
}
