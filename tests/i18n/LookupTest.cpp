// The text lookup, its in-memory copy of the pack, the right-to-left choice and the error log.
#include "i18n/Globals.h"
#include "i18n/Lookup.h"
#include "support/Fixtures.h"

#include <regex>

namespace
{

class LookupTest : public testsupport::RavelinTest
{
  protected:
    // What a fresh read through the profile-string reader gives, with the lookup's own rules.
    std::wstring Fresh(const std::wstring& key, const std::wstring& def)
    {
        std::wstring buffer(500, L' ');
        GetPrivateProfileStringW(L"Brightfold Language Pack", key.c_str(), def.c_str(), buffer.data(), 500,
                                 LanguagePackPath().c_str());
        buffer.resize(wcslen(buffer.c_str()));
        const size_t first = buffer.find_first_not_of(L' ');
        return first == std::wstring::npos ? std::wstring() : buffer.substr(first);
    }
};

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

    // Only Arabic.ini, exactly so, is right to left.
    for (const wchar_t* name : {L"Arabic.ini", L"arabic.ini", L"Arabic.INI", L"English.ini"})
    {
        LanguageFile = name;
        EXPECT_EQ(RightToLeftLanguage(), std::wstring(name) == L"Arabic.ini") << name;
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
