// The text lookup, its in-memory copy of the pack, the right-to-left choice and the error log; and
// the language packs and flags that ship in data/Lang, read as the program reads them.
#include "i18n/Globals.h"
#include "i18n/MessageKeys.h"
#include "i18n/Lookup.h"
#include "model/StartupSource.h"
#include "platform/Handles.h"
#include "platform/Images.h"
#include "support/Fixtures.h"

#include <regex>
#include <set>

using LookupTest = testsupport::RavelinTest;

namespace
{

// The value of one key of a pack, as the profile-string reader gives it.
std::wstring PackValue(const std::wstring& path, const std::wstring& key, const std::wstring& def)
{
    wchar_t buffer[500] = {};
    GetPrivateProfileStringW(L"Brightfold Language Pack", key.c_str(), def.c_str(), buffer, 500,
                             path.c_str());
    return buffer;
}

// What a fresh read of the pack in use gives, with the lookup's own rules.
std::wstring Fresh(const std::wstring& key, const std::wstring& def)
{
    const std::wstring value = PackValue(LanguagePackPath(), key, def);
    const size_t first = value.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : value.substr(first);
}

const std::wstring Shipped = testsupport::RepoFolder() + L"\\data\\Lang\\";

// A key of a shipped pack.
std::wstring Value(const std::wstring& pack, const wchar_t* key)
{
    return PackValue(Shipped + pack, key, L"<missing>");
}

} // namespace

TEST_F(LookupTest, TheInMemoryCopyAnswersExactlyAsAFreshReadAndAMissingKeyGivesTheDefault)
{
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"Enabled"); // no Lang folder at all
    EXPECT_EQ(SetCaptionfromINI(L"413"), L"");
    WritePack(L"English.ini", L"  101  =  blanks around  \r\n102=\"  quoted blanks  \"\r\n103='single'\r\n"
                              L"104=first\r\n104=duplicate\r\n105=\r\n106=" +
                                  std::wstring(600, L'z') +
                                  L"\r\n"
                                  L"107=\"" +
                                  std::wstring(498, L'q') +
                                  L"\"\r\nKEY=upper\r\n"
                                  L"[brightfold language pack]\r\n108=second section\r\n");
    for (const wchar_t* key :
         {L"101", L"102", L"103", L"104", L"105", L"106", L"107", L"key", L"Key", L"108", L"999"})
    {
        EXPECT_EQ(SetCaptionfromINI(key, L"Default"), Fresh(key, L"Default")) << key;
        EXPECT_EQ(SetCaptionfromINI(key), Fresh(key, L"")) << key;
    }
    testsupport::WriteUtf16File(LangFolder() + L"\\English.ini", L"[Other Section]\r\n413=Nope\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"Enabled");
}

TEST_F(LookupTest, AnEditedPackOrAnotherLanguageIsSeenAtOnceAndOnlyArabicIsRightToLeft)
{
    WritePack(L"English.ini", L"413=Enabled\r\n");
    WritePack(L"French.ini", L"413=Activé\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Enabled");
    WritePack(L"English.ini", L"413=On\r\n"); // seen by its size: its time may not have moved yet
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"On");
    LanguageFile = L"Missing.ini";
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"x");
    DeleteFileW((LangFolder() + L"\\English.ini").c_str());
    LanguageFile = L"English.ini";
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"x");

    // A batch looks at the disk once, but follows a change of language; the next batch sees the edit.
    WritePack(L"English.ini", L"413=Enabled\r\n");
    {
        const LookupBatch outer;
        {
            const LookupBatch inner;
            EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Enabled");
        }
        WritePack(L"English.ini", L"413=Edited\r\n");
        EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Enabled") << "the outer batch keeps its look";
        LanguageFile = L"French.ini";
        EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Activé");
        LanguageFile = L"English.ini";
    }
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Edited");

    // Right to left is what the pack says of itself, whatever its file's name.
    WritePack(L"Arabic.ini", L"100=0\r\n");
    WritePack(L"Hebrew.ini", L"100=1\r\n");
    for (const wchar_t* name : {L"Arabic.ini", L"Hebrew.ini", L"English.ini"})
    {
        LanguageFile = name;
        EXPECT_EQ(RightToLeftLanguage(), std::wstring(name) == L"Hebrew.ini") << name;
    }
}

TEST_F(LookupTest, AnUnreadablePackGivesAnEmptyTextAndALogRecordAppendedByteForByte)
{
    WriteErrorLog(L"Error Description: Boom \"quoted\", Error Number: -5, Method: SetCaptionfromINI");
    WritePack(L"English.ini", L"413=Enabled\r\n");
    const testsupport::HeldFile locked(LanguagePackPath());
    ASSERT_TRUE(locked.handle);
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"");

    // Each record: a lone quotation mark line, then Date, Time and the message, each quoted.
    const std::string log = std::regex_replace(testsupport::ReadBytes(programFolder + L"\\errorlog.txt"),
                                               std::regex("Time: [^\"]*"), "Time: t");
    wchar_t date[64];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 64);
    const std::string head = "\"\r\nDate: " + std::string(date, date + wcslen(date)) + "\",\"Time: t\",\"";
    const std::string first =
        head + "Error Description: Boom \"quoted\", Error Number: -5, Method: SetCaptionfromINI\"\r\n";
    EXPECT_EQ(log.substr(0, first.size() + head.size()), first + head);
    EXPECT_TRUE(log.ends_with(", Error Number: 32, Method: SetCaptionfromINI\"\r\n")) << log;
}

TEST(ShippedPacks, EachPackHasEveryKeyOfEnglishItsOwnFlagAndWordsTheWritersCanTellApart)
{
    std::vector<wchar_t> names(65536); // the key names of English, each ended by a null
    const DWORD size =
        GetPrivateProfileStringW(L"Brightfold Language Pack", nullptr, L"", names.data(),
                                 static_cast<DWORD>(names.size()), (Shipped + L"English.ini").c_str());
    ASSERT_GT(size, 300u) << "English.ini is read by the profile-string reader";
    for (const std::wstring pack : {L"Arabic.ini", L"English.ini", L"French.ini", L"German.ini"})
    {
        SCOPED_TRACE(pack);
        for (const wchar_t* key = names.data(); *key; key += wcslen(key) + 1)
            EXPECT_TRUE(Value(pack, key) != L"<missing>" && Value(pack, key) != L"") << key;
        DWORD error = ERROR_SUCCESS;
        platform::UniqueGdi<HBITMAP> flag(
            platform::LoadBitmapFile(Shipped + pack.substr(0, pack.size() - 4) + L".bmp", 24, 16, &error));
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
