// The bytes of an XML file as text and back: byte-order marks, the declaration's encoding.
#include "inventory/XmlReader.h"
#include "platform/Text.h"

namespace
{

struct NamedCodePage
{
    const wchar_t* name;
    UINT codePage;
};
// The encodings a task file may name; UTF-16 with 8-bit bytes is taken as the UTF-8 it must be.
const NamedCodePage CodePages[] = {
    {L"UTF-8", CP_UTF8},     {L"UTF8", CP_UTF8},      {L"UTF-16", CP_UTF8},     {L"UTF-16LE", CP_UTF8},
    {L"US-ASCII", 20127},    {L"ASCII", 20127},       {L"ISO-8859-1", 28591},   {L"LATIN1", 28591},
    {L"ISO-8859-2", 28592},  {L"ISO-8859-5", 28595},  {L"ISO-8859-7", 28597},   {L"ISO-8859-9", 28599},
    {L"ISO-8859-15", 28605}, {L"WINDOWS-1250", 1250}, {L"WINDOWS-1251", 1251},  {L"WINDOWS-1252", 1252},
    {L"WINDOWS-1253", 1253}, {L"WINDOWS-1254", 1254}, {L"WINDOWS-1255", 1255},  {L"WINDOWS-1256", 1256},
    {L"WINDOWS-1257", 1257}, {L"WINDOWS-1258", 1258}, {L"SHIFT_JIS", 932},      {L"GB2312", 936},
    {L"GBK", 936},           {L"BIG5", 950},          {L"KS_C_5601-1987", 949}, {L"EUC-KR", 949},
};

// The encoding="..." of a declaration at the start of ASCII-compatible bytes; empty when none.
std::wstring DeclaredEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 5) != "<?xml")
        return {};
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_of("\"'", at);
    if (at == std::string_view::npos)
        return {};
    const size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return {};
    const std::string_view name = declaration.substr(at + 1, close - at - 1);
    return std::wstring(name.begin(), name.end());
}

std::wstring FormName(const XmlEncoding& encoding, const std::wstring& declared)
{
    switch (encoding.form)
    {
    case XmlEncoding::Utf16Le:
        return L"UTF-16LE";
    case XmlEncoding::Utf16Be:
        return L"UTF-16BE";
    case XmlEncoding::Utf8:
        return L"UTF-8";
    default:
        return declared;
    }
}

} // namespace

std::string EncodeXml(const XmlEncoding& encoding, std::wstring_view text)
{
    if (encoding.form == XmlEncoding::Utf16Le || encoding.form == XmlEncoding::Utf16Be)
    {
        const bool bigEndian = encoding.form == XmlEncoding::Utf16Be;
        std::string bytes;
        bytes.reserve(text.size() * 2);
        for (wchar_t c : text)
        {
            const char high = static_cast<char>((c >> 8) & 0xFF), low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    }
    return platform::CodePageFromWide(encoding.form == XmlEncoding::Utf8 ? CP_UTF8 : encoding.codePage, text);
}

XmlText DecodeXml(std::string_view bytes)
{
    XmlText result;
    XmlEncoding& encoding = result.encoding;
    const auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    if (starts("\xEF\xBB\xBF"))
        encoding = {XmlEncoding::Utf8, CP_UTF8, 3};
    else if (starts("\xFF\xFE"))
        encoding = {XmlEncoding::Utf16Le, 0, 2};
    else if (starts("\xFE\xFF"))
        encoding = {XmlEncoding::Utf16Be, 0, 2};
    else if (starts(std::string_view("<\0", 2)))
        encoding = {XmlEncoding::Utf16Le, 0, 0};
    else if (starts(std::string_view("\0<", 2)))
        encoding = {XmlEncoding::Utf16Be, 0, 0};
    const bool wide = encoding.form == XmlEncoding::Utf16Le || encoding.form == XmlEncoding::Utf16Be;
    const std::wstring declared = wide || encoding.bomSize ? std::wstring() : DeclaredEncoding(bytes);
    if (!declared.empty())
    {
        const NamedCodePage* known = nullptr;
        for (const NamedCodePage& page : CodePages)
            if (platform::EqualsNoCase(declared, page.name))
                known = &page;
        if (!known)
        {
            result.fault = {XmlProblem::UnknownEncoding, 1, declared};
            return result;
        }
        encoding = {known->codePage == CP_UTF8 ? XmlEncoding::Utf8 : XmlEncoding::CodePage, known->codePage,
                    0};
    }
    const std::string_view body = bytes.substr(encoding.bomSize);
    if (wide && body.size() % 2)
    {
        result.fault = {XmlProblem::NotInItsEncoding, 0, FormName(encoding, declared)};
        return result;
    }
    if (!wide)
        result.text = platform::WideFromCodePage(encoding.codePage, body);
    else if (encoding.bomSize)
        result.text = platform::DecodeText(bytes);
    else // DecodeText goes by a mark, which this file does not have
        result.text = platform::DecodeText((encoding.form == XmlEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF") +
                                           std::string(body));
    if (EncodeXml(encoding, result.text) != body)
    {
        result.text.clear();
        result.fault = {XmlProblem::NotInItsEncoding, 0, FormName(encoding, declared)};
    }
    else if (platform::Trim(result.text, L" \t\r\n").empty())
        result.fault = {XmlProblem::Empty, 0, {}};
    return result;
}
