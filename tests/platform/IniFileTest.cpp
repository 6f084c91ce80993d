// IniFile must answer exactly as GetPrivateProfileStringW does on the same file.
#include "platform/IniFile.h"
#include "support/Fixtures.h"

#include <string>

using platform::IniFile;

namespace {

class IniFileMatchesReader : public ::testing::Test {
  protected:
    void SetUp() override { folder = testsupport::MakeTempFolder(); }
    void TearDown() override { testsupport::DeleteTree(folder); }

    // Writes the bytes and compares a lookup through both readers.
    void ExpectSame(const std::string& bytes, const std::wstring& section, const std::wstring& key,
                    const std::wstring& def, size_t size = 500)
    {
        std::wstring path = folder + L"\\pack.ini";
        testsupport::WriteBytes(path, bytes);
        std::wstring buffer(size, L'\0');
        DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                           static_cast<DWORD>(size), path.c_str());
        EXPECT_EQ(IniFile::Parse(bytes).GetString(section, key, def, size), buffer.substr(0, n))
            << "key [" << std::string(key.begin(), key.end()) << "]";
    }

    std::wstring folder;
};

std::string Utf16(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return bytes;
}

} // namespace

TEST_F(IniFileMatchesReader, TrimsBlanksAndStripsMatchingQuotes)
{
    std::string ini = "[S]\r\n  a  =   value with blanks   \r\nb=\"quoted  \"\r\nc='single'\r\nd=\"open\r\n"
                      "e=\"\r\nf=''\r\ng=\"mixed'\r\n\th\t=\ttabs\t\r\n";
    for (const wchar_t* key : {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L" a "})
        ExpectSame(ini, L"S", key, L"default");
}

TEST_F(IniFileMatchesReader, EmptyValuesMissingKeysAndDefaults)
{
    std::string ini = "[S]\r\nempty=\r\nnoequals\r\n";
    for (const wchar_t* key : {L"empty", L"noequals", L"missing"}) {
        ExpectSame(ini, L"S", key, L"def");
        ExpectSame(ini, L"S", key, L"");
        ExpectSame(ini, L"S", key, L"def   ");
    }
    ExpectSame(ini, L"Other", L"empty", L"def");
}

TEST_F(IniFileMatchesReader, FirstSectionAndFirstKeyWinWithoutRegardToCase)
{
    std::string ini = "[Pack]\r\nk=first\r\nK=second\r\n[pack]\r\nk=third\r\nonly=later\r\n[Other]\r\nk=x\r\n";
    ExpectSame(ini, L"Pack", L"k", L"d");
    ExpectSame(ini, L"PACK", L"K", L"d");
    ExpectSame(ini, L"pack", L"only", L"d");
}

TEST_F(IniFileMatchesReader, LongValuesAreCutToTheBuffer)
{
    std::string longValue(600, 'x');
    std::string quoted499 = "\"" + std::string(499, 'q') + "\"";
    std::string quoted498 = "\"" + std::string(498, 'q') + "\"";
    std::string ini = "[S]\r\nlong=" + longValue + "\r\nq499=" + quoted499 + "\r\nq498=" + quoted498 + "\r\n";
    for (const wchar_t* key : {L"long", L"q499", L"q498"}) {
        ExpectSame(ini, L"S", key, L"");
        ExpectSame(ini, L"S", key, L"", 128);
    }
    ExpectSame(ini, L"S", L"missing", std::wstring(600, L'd'));
}

TEST_F(IniFileMatchesReader, ReadsUtf16AndAnsiFiles)
{
    ExpectSame(Utf16(L"[S]\r\nword=Désactivé\r\narabic=\u0645\u0639\u0637\u0651\u0644\r\n"), L"S", L"word", L"");
    ExpectSame(Utf16(L"[S]\r\nword=Désactivé\r\narabic=\u0645\u0639\u0637\u0651\u0644\r\n"), L"S", L"arabic", L"");
    ExpectSame("[S]\r\nword=D\xE9sactiv\xE9\r\n", L"S", L"word", L"");
    ExpectSame("[S]\nunix=lines\n[T]\nk=v", L"T", L"k", L"");
    ExpectSame("[S]\nunix=lines\n[T]\nk=v", L"S", L"unix", L"");
}

TEST_F(IniFileMatchesReader, OddSectionLines)
{
    std::string ini = "k=before\r\n[ Spaced ]\r\nk=spaced\r\n[S] trailing\r\nk=trailing\r\n[Unclosed\r\nk=u\r\n";
    ExpectSame(ini, L"Spaced", L"k", L"d");
    ExpectSame(ini, L" Spaced ", L"k", L"d");
    ExpectSame(ini, L"S", L"k", L"d");
    ExpectSame(ini, L"S] trailing", L"k", L"d");
}
