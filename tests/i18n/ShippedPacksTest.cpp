// The language packs and flags that ship in data/Lang, read as the program reads them.
#include "i18n/Keys.h"
#include "model/StartupSource.h"
#include "platform/Handles.h"
#include "platform/Images.h"
#include "support/Fixtures.h"

#include <set>

namespace
{

const std::wstring Folder = testsupport::RepoFolder() + L"\\data\\Lang\\";

// The value of one key of the pack, as the profile-string reader gives it.
std::wstring Value(const std::wstring& pack, const wchar_t* key)
{
    wchar_t buffer[500] = {};
    GetPrivateProfileStringW(L"Brightfold Language Pack", key, L"<missing>", buffer, 500,
                             (Folder + pack).c_str());
    return buffer;
}

} // namespace

TEST(ShippedPacks, EachPackHasEveryKeyOfEnglishItsOwnFlagAndWordsTheWritersCanTellApart)
{
    std::vector<wchar_t> names(65536); // the key names of English, each ended by a null
    const DWORD size =
        GetPrivateProfileStringW(L"Brightfold Language Pack", nullptr, L"", names.data(),
                                 static_cast<DWORD>(names.size()), (Folder + L"English.ini").c_str());
    ASSERT_GT(size, 300u) << "English.ini is read by the profile-string reader";
    for (const std::wstring pack : {L"Arabic.ini", L"English.ini", L"French.ini", L"German.ini"})
    {
        SCOPED_TRACE(pack);
        for (const wchar_t* key = names.data(); *key; key += wcslen(key) + 1)
            EXPECT_TRUE(Value(pack, key) != L"<missing>" && Value(pack, key) != L"") << key;
        DWORD error = ERROR_SUCCESS;
        platform::UniqueGdi<HBITMAP> flag(
            platform::LoadBitmapFile(Folder + pack.substr(0, pack.size() - 4) + L".bmp", 24, 16, &error));
        EXPECT_TRUE(flag) << "flag: error " << error;
        // The source writers recognise machine rows by these names in any language.
        for (const wchar_t* key : {L"419", L"427", L"428", L"429"})
            EXPECT_EQ(Value(pack, key), Value(L"English.ini", key));
        // The Add Task dialog finds the per-user Run key by comparing these two.
        EXPECT_EQ(Value(pack, L"414"), Value(pack, L"426"));
        // Status words and source names must differ, or one could not be told from another.
        EXPECT_EQ(
            (std::set<std::wstring>{Value(pack, L"413"), Value(pack, L"423"), Value(pack, L"424")}).size(),
            3u);
        std::set<std::wstring> sources;
        size_t named = 0;
        for (const StartupSource& source : StartupSources)
            if (source.nameKey)
                sources.insert(Value(pack, source.nameKey)), ++named;
        EXPECT_EQ(sources.size(), named);
    }
}

TEST(ShippedPacks, EnglishGivesEachMessageTheProgramsOwnEnglishText)
{
    // A message key missing from English would also be missing from the other packs' check.
    for (const keys::KeyText* message : keys::Messages)
        EXPECT_EQ(Value(L"English.ini", message->key), message->text) << message->key;
}
