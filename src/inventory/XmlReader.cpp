// The XML reader: one pass over the text, every step moving on or stopping with a fault, the open
// elements on a stack of their own, so no input can make it loop or recurse without end.
#include "inventory/XmlReader.h"
#include "platform/Text.h"

#include <algorithm>

namespace
{

constexpr std::wstring_view Blanks = L" \t\r\n";
constexpr size_t npos = std::wstring_view::npos;

bool IsBlank(wchar_t c)
{
    return Blanks.find(c) != npos;
}

std::wstring LocalName(std::wstring_view qualified)
{
    const size_t colon = qualified.rfind(L':');
    return std::wstring(colon == npos ? qualified : qualified.substr(colon + 1));
}

// Appends a code point as UTF-16; false when it is no character.
bool AppendCodePoint(std::wstring& out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    if (code >= 0x10000)
    {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (code >> 10));
        out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    }
    else
        out += static_cast<wchar_t>(code);
    return true;
}

// A character reference's text after "&#": "65" or "x41".
bool AppendCharacterReference(std::wstring& out, std::wstring_view reference)
{
    const bool hex = !reference.empty() && reference[0] == L'x';
    const std::wstring_view digits = reference.substr(hex ? 1 : 0);
    unsigned long code = 0;
    for (wchar_t d : digits)
    {
        const int value = d >= L'0' && d <= L'9'          ? d - L'0'
                          : hex && d >= L'a' && d <= L'f' ? d - L'a' + 10
                          : hex && d >= L'A' && d <= L'F' ? d - L'A' + 10
                                                          : -1;
        if (value < 0)
            return false;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(value);
    }
    return !digits.empty() && AppendCodePoint(out, code);
}

// Character data or an attribute value with its references replaced; one this reader does not
// know stays as written, as a bare '&' does.
void AppendDecoded(std::wstring& out, std::wstring_view raw)
{
    static const struct
    {
        std::wstring_view name;
        wchar_t character;
    } Entities[] = {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"apos", L'\''}, {L"quot", L'"'}};
    size_t at = 0;
    while (at < raw.size())
    {
        const size_t amp = raw.find(L'&', at);
        out.append(raw.substr(at, amp == npos ? npos : amp - at));
        if (amp == npos)
            return;
        const size_t semicolon = raw.find(L';', amp + 1);
        // Nine characters hold the longest reference of a character, so a number cannot overflow.
        const std::wstring_view reference = semicolon == npos || semicolon - amp > 10
                                                ? std::wstring_view()
                                                : raw.substr(amp + 1, semicolon - amp - 1);
        bool known = reference.size() > 1 && reference[0] == L'#' &&
                     AppendCharacterReference(out, reference.substr(1));
        for (const auto& entity : Entities)
            if (!known && reference == entity.name)
            {
                out += entity.character;
                known = true;
            }
        if (!known)
            out += L'&';
        at = known ? semicolon + 1 : amp + 1;
    }
}

class Reader
{
  public:
    explicit Reader(std::wstring_view text) : text_(text) {}
    XmlDocument Read();

  private:
    bool Fail(XmlProblem problem, size_t at, std::wstring detail = {})
    {
        doc_.fault = {problem, LineAt(text_, at), std::move(detail)};
        return false;
    }
    bool Starts(std::wstring_view prefix) const { return text_.substr(pos_, prefix.size()) == prefix; }
    bool SkipPast(std::wstring_view close, size_t from)
    {
        const size_t found = text_.find(close, from);
        if (found == npos)
            return false;
        pos_ = found + close.size();
        return true;
    }
    void SkipBlanks()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
    }
    std::wstring_view Name()
    {
        const size_t begin = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) &&
               std::wstring_view(L"/>=<\"'").find(text_[pos_]) == npos)
            ++pos_;
        return text_.substr(begin, pos_ - begin);
    }
    bool CharacterData();
    bool Markup();
    bool DocumentType(size_t at);
    bool StartTag();
    bool Attribute(XmlElement& element, size_t tagAt);
    bool EndTag();

    std::wstring_view text_;
    size_t pos_ = 0;
    XmlDocument doc_;
    std::vector<size_t> open_;
    std::vector<std::wstring_view> openNames_; // as written, prefix and all, to match the end tags
};

XmlDocument Reader::Read()
{
    if (!text_.empty() && text_[0] == 0xFEFF)
        pos_ = 1;
    bool ok = true;
    while (ok && pos_ < text_.size())
        ok = text_[pos_] == L'<' ? Markup() : CharacterData();
    if (ok && !open_.empty())
        Fail(XmlProblem::EndsInsideElement, doc_.elements[open_.back()].start,
             doc_.elements[open_.back()].name);
    else if (ok && doc_.elements.empty())
        doc_.fault = {XmlProblem::NoRoot, 0, {}};
    if (doc_.fault.problem != XmlProblem::None)
        doc_.elements.clear(); // nothing half read is used
    return std::move(doc_);
}

bool Reader::CharacterData()
{
    const size_t end = std::min(text_.find(L'<', pos_), text_.size());
    const std::wstring_view chunk = text_.substr(pos_, end - pos_);
    if (open_.empty())
    {
        const size_t first = chunk.find_first_not_of(Blanks);
        if (first != npos)
            return Fail(XmlProblem::ContentOutsideRoot, pos_ + first);
    }
    else
        AppendDecoded(doc_.elements[open_.back()].text, chunk);
    pos_ = end;
    return true;
}

bool Reader::Markup()
{
    const size_t at = pos_;
    if (Starts(L"<!--"))
        return SkipPast(L"-->", at + 4) || Fail(XmlProblem::EndsInsideMarkup, at, L"comment");
    if (Starts(L"<![CDATA["))
    {
        const size_t close = text_.find(L"]]>", at + 9);
        if (close == npos)
            return Fail(XmlProblem::EndsInsideMarkup, at, L"CDATA section");
        if (open_.empty())
            return Fail(XmlProblem::ContentOutsideRoot, at);
        doc_.elements[open_.back()].text.append(text_.substr(at + 9, close - at - 9));
        pos_ = close + 3;
        return true;
    }
    if (Starts(L"<?"))
        return SkipPast(L"?>", at + 2) || Fail(XmlProblem::EndsInsideMarkup, at, L"processing instruction");
    if (Starts(L"<!"))
        return DocumentType(at);
    return Starts(L"</") ? EndTag() : StartTag();
}

// <!DOCTYPE ...> with an internal subset in brackets, whose quoted texts may hold '>' or ']'.
bool Reader::DocumentType(size_t at)
{
    size_t depth = 0;
    wchar_t quote = 0;
    for (size_t i = at + 2; i < text_.size(); ++i)
    {
        const wchar_t c = text_[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == L'"' || c == L'\'')
            quote = c;
        else if (c == L'[')
            ++depth;
        else if (c == L']' && depth)
            --depth;
        else if (c == L'>' && depth == 0)
        {
            pos_ = i + 1;
            return true;
        }
    }
    return Fail(XmlProblem::EndsInsideMarkup, at, L"document type");
}

bool Reader::StartTag()
{
    const size_t at = pos_++;
    const std::wstring_view qualified = Name();
    if (qualified.empty())
        return Fail(XmlProblem::BadTag, at);
    if (open_.empty() && !doc_.elements.empty())
        return Fail(XmlProblem::ContentOutsideRoot, at);
    XmlElement element;
    element.name = LocalName(qualified);
    element.start = at;
    for (;;)
    {
        SkipBlanks();
        if (pos_ >= text_.size())
            return Fail(XmlProblem::EndsInsideMarkup, at, L"tag");
        if (text_[pos_] == L'>' || Starts(L"/>"))
        {
            element.selfClosed = text_[pos_] == L'/';
            pos_ += element.selfClosed ? 2 : 1;
            break;
        }
        if (!Attribute(element, at))
            return false;
    }
    element.contentStart = pos_;
    if (element.selfClosed)
        element.contentEnd = element.end = pos_;
    const size_t index = doc_.elements.size();
    if (!open_.empty())
        doc_.elements[open_.back()].children.push_back(index);
    doc_.elements.push_back(std::move(element));
    if (!doc_.elements.back().selfClosed)
    {
        open_.push_back(index);
        openNames_.push_back(qualified);
    }
    return true;
}

bool Reader::Attribute(XmlElement& element, size_t tagAt)
{
    const size_t at = pos_;
    const std::wstring_view name = Name();
    if (name.empty())
        return Fail(XmlProblem::BadTag, at);
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == L'=')
    {
        ++pos_;
        SkipBlanks();
    }
    else if (pos_ < text_.size())
        return Fail(XmlProblem::BadTag, at, std::wstring(name));
    if (pos_ >= text_.size())
        return Fail(XmlProblem::EndsInsideMarkup, tagAt, L"tag");
    const wchar_t quote = text_[pos_];
    if (quote != L'"' && quote != L'\'')
        return Fail(XmlProblem::BadTag, at, std::wstring(name));
    const size_t close = text_.find(quote, pos_ + 1);
    if (close == npos)
        return Fail(XmlProblem::EndsInsideMarkup, tagAt, L"tag");
    std::wstring value;
    AppendDecoded(value, text_.substr(pos_ + 1, close - pos_ - 1));
    element.attributes.emplace_back(LocalName(name), std::move(value));
    pos_ = close + 1;
    return true;
}

bool Reader::EndTag()
{
    const size_t at = pos_;
    pos_ += 2;
    const std::wstring_view qualified = Name();
    SkipBlanks();
    if (pos_ >= text_.size())
        return Fail(XmlProblem::EndsInsideMarkup, at, L"tag");
    if (text_[pos_] != L'>' || qualified.empty())
        return Fail(XmlProblem::BadTag, at);
    ++pos_;
    if (open_.empty())
        return Fail(XmlProblem::StrayEndTag, at, std::wstring(qualified));
    if (qualified != openNames_.back())
        return Fail(XmlProblem::MismatchedEndTag, at,
                    L"</" + std::wstring(qualified) + L"> closes <" + std::wstring(openNames_.back()) + L">");
    XmlElement& element = doc_.elements[open_.back()];
    element.contentEnd = at;
    element.end = pos_;
    open_.pop_back();
    openNames_.pop_back();
    return true;
}

} // namespace

size_t LineAt(std::wstring_view text, size_t at)
{
    size_t line = 1;
    for (size_t i = 0; i < at && i < text.size(); ++i)
        if (text[i] == L'\n' || (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n')))
            ++line;
    return line;
}

XmlDocument ReadXml(std::wstring_view text)
{
    return Reader(text).Read();
}

const XmlElement* XmlDocument::Child(const XmlElement* parent, std::wstring_view name) const
{
    if (parent)
        for (size_t index : parent->children)
            if (elements[index].name == name)
                return &elements[index];
    return nullptr;
}

std::wstring DescribeXmlFault(const XmlFault& fault)
{
    const std::wstring line = L" at line " + platform::ToDecimal(static_cast<long long>(fault.line));
    switch (fault.problem)
    {
    case XmlProblem::None:
        return {};
    case XmlProblem::Empty:
        return L"the file is empty";
    case XmlProblem::UnknownEncoding:
        return L"its encoding " + fault.detail + L" is not known";
    case XmlProblem::NotInItsEncoding:
        return L"its bytes are not " + fault.detail + L" text";
    case XmlProblem::NoRoot:
        return L"it holds no element";
    case XmlProblem::EndsInsideMarkup:
        return L"the XML ends inside a " + fault.detail + L" begun" + line;
    case XmlProblem::EndsInsideElement:
        return L"the XML ends inside the element <" + fault.detail + L"> begun" + line;
    case XmlProblem::MismatchedEndTag:
        return L"the end tag " + fault.detail + line;
    case XmlProblem::StrayEndTag:
        return L"the end tag </" + fault.detail + L"> closes no element" + line;
    case XmlProblem::BadTag:
        return fault.detail.empty() ? L"a tag is not well formed" + line
                                    : L"the attribute " + fault.detail + L" has no quoted value" + line;
    case XmlProblem::ContentOutsideRoot:
        return L"there is text or a second element outside the root element" + line;
    case XmlProblem::NotATask:
        return L"its root element is <" + fault.detail + L">, not <Task>";
    }
    return {};
}
