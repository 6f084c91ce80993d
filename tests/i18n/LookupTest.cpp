// The text lookup, its in-memory copy of the pack, the source names and the error log.
#include "app/StartupSource.h"
#include "i18n/Globals.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "support/Fixtures.h"

using testsupport::RavelinTest;

namespace {

class LookupTest : public RavelinTest {
  protected:
    // What a fresh read through the profile-string reader gives, with the lookup's own rules.
    std::wstring Fresh(const std::wstring& key, const std::wstring& def)
    {
        std::wstring buffer(500, L' ');
        GetPrivateProfileStringW(L"Brightfold Language Pack", key.c_str(), def.c_str(), buffer.data(), 500,
                                 LanguagePackPath().c_str());
        buffer.resize(wcslen(buffer.c_str()));
        size_t first = buffer.find_first_not_of(L' ');
        return first == std::wstring::npos ? std::wstring() : buffer.substr(first);
    }

    void ExpectSameAsFresh(std::initializer_list<const wchar_t*> keyList)
    {
        for (const wchar_t* key : keyList) {
            EXPECT_EQ(SetCaptionfromINI(key, L"Default"), Fresh(key, L"Default")) << "key " << std::wstring(key);
            EXPECT_EQ(SetCaptionfromINI(key), Fresh(key, L""));
        }
    }
};

} // namespace

TEST_F(LookupTest, MissingPackSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"Enabled"); // no Lang folder at all
    EXPECT_EQ(SetCaptionfromINI(L"413"), L"");
    WritePack(L"English.ini", L"101=Heading\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"Enabled");
    EXPECT_EQ(SetCaptionfromINI(L"101", L"x"), L"Heading");
    testsupport::WriteUtf16File(LangFolder() + L"\\English.ini", L"[Other Section]\r\n413=Nope\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L"Enabled");
}

TEST_F(LookupTest, ValuesAsThePackGivesThem)
{
    WritePack(L"English.ini", L"413=\r\n101=   Leading blanks\r\n102=Aktiviert\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"Enabled"), L""); // present but empty: not the default
    EXPECT_EQ(SetCaptionfromINI(L"101", L"x"), L"Leading blanks");
    EXPECT_EQ(SetCaptionfromINI(L"102", L"x"), L"Aktiviert");
    WritePack(L"English.ini", L"304=" + std::wstring(600, L'w') + L"\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"304"), std::wstring(499, L'w'));
}

TEST_F(LookupTest, InMemoryCopyAnswersExactlyAsAFreshRead)
{
    WritePack(L"English.ini", L"  101  =  blanks around  \r\n"
                              L"102=\"  quoted blanks  \"\r\n"
                              L"103='single'\r\n"
                              L"104=first\r\n104=duplicate\r\n"
                              L"105=\r\n"
                              L"106=" + std::wstring(600, L'z') + L"\r\n"
                              L"107=\"" + std::wstring(498, L'q') + L"\"\r\n"
                              L"KEY=upper\r\n"
                              L"[brightfold language pack]\r\n108=second section\r\n");
    ExpectSameAsFresh({L"101", L"102", L"103", L"104", L"105", L"106", L"107", L"key", L"Key", L"108", L"999"});
}

TEST_F(LookupTest, AnEditedPackOrAnotherLanguageIsSeenAtOnce)
{
    WritePack(L"English.ini", L"413=Enabled\r\n");
    WritePack(L"French.ini", L"413=Activé\r\n");
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Enabled");
    WritePack(L"English.ini", L"413=On\r\n"); // same length changes too: size and time are both checked
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), Fresh(L"413", L"x"));
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"On");
    LanguageFile = L"French.ini";
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"Activé");
    LanguageFile = L"Missing.ini";
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"x");
    DeleteFileW((LangFolder() + L"\\English.ini").c_str());
    LanguageFile = L"English.ini";
    EXPECT_EQ(SetCaptionfromINI(L"413", L"x"), L"x");
}

TEST_F(LookupTest, SourceNamesComeFromThePackInTableOrder)
{
    SourceNameTable names;
    LoadSourceNames(names);
    EXPECT_EQ(names, (SourceNameTable{L"Registry(User Run)", L"Registry(Machine Run)", L"Registry(Machine RunOnce)",
                                      L"Registry(Machine RunOnceEx)", L"Registry(Machine RunServices)",
                                      L"Registry(Machine Run 32-bit)", L"Registry(Machine RunOnce 32-bit)",
                                      L"Registry(User RunOnce)", L"Registry(User Policies Run)",
                                      L"Registry(Machine Policies Run)", L"StartUp (Current User)",
                                      L"StartUp (All Users)", L"Win.ini Load", L"Win.ini Run"}));
    WritePack(L"English.ini", L"426=Registre(Utilisateur)\r\n433=Win.ini Exécuter\r\n436=Registre(Une fois)\r\n");
    LoadSourceNames(names);
    EXPECT_EQ(names[0], L"Registre(Utilisateur)");
    EXPECT_EQ(names[1], L"Registry(Machine Run)");
    EXPECT_EQ(names[7], L"Registre(Une fois)");
    EXPECT_EQ(names[13], L"Win.ini Exécuter");
}

TEST_F(LookupTest, AnUnreadablePackIsLoggedAndGivesAnEmptyText)
{
    WritePack(L"English.ini", L"413=Enabled\r\n");
    HANDLE locked = CreateFileW(LanguagePackPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    // Touch the pack so that the copy in memory is not used.
    FILETIME later{};
    GetSystemTimeAsFileTime(&later);
    SetFileTime(locked, nullptr, nullptr, &later);
    LanguageFile = L"English.ini";
    std::wstring result = SetCaptionfromINI(L"413", L"Enabled");
    CloseHandle(locked);
    EXPECT_EQ(result, L"");

    std::string log = testsupport::ReadBytes(programFolder + L"\\errorlog.txt");
    ASSERT_FALSE(log.empty());
    // A record: a lone quotation mark line, then Date, Time and the message, each quoted.
    EXPECT_EQ(log.substr(0, 9), "\"\r\nDate: ");
    EXPECT_NE(log.find("\",\"Time: "), std::string::npos);
    EXPECT_NE(log.find("\",\"Error Description: "), std::string::npos);
    EXPECT_NE(log.find(", Error Number: 32, Method: SetCaptionfromINI\"\r\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST_F(LookupTest, ErrorLogRecordsAreAppendedByteForByte)
{
    WriteErrorLog(L"Error Description: Boom \"quoted\", Error Number: -5, Method: SetCaptionfromINI");
    WriteErrorLog(L"second");
    std::string log = testsupport::ReadBytes(programFolder + L"\\errorlog.txt");
    wchar_t date[64], time[64];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 64);
    std::string expectedStart = "\"\r\nDate: " + std::string(date, date + wcslen(date)) + "\",\"Time: ";
    EXPECT_EQ(log.substr(0, expectedStart.size()), expectedStart);
    size_t firstEnd = log.find("\"\r\n\"\r\nDate: ");
    ASSERT_NE(firstEnd, std::string::npos) << "second record follows the first";
    EXPECT_EQ(log.find("\",\"Error Description: Boom \"quoted\", Error Number: -5, Method: SetCaptionfromINI\"\r\n"),
              firstEnd - 80);
    EXPECT_EQ(log.substr(log.size() - 12), "\",\"second\"\r\n");
    // A folder that cannot be written to makes logging fail silently.
    platform::OverrideProgramFolder(programFolder + L"\\missing");
    WriteErrorLog(L"lost");
    platform::OverrideProgramFolder(programFolder);
}
