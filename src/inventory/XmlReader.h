// A small tolerant XML reader: the bytes of a file decoded as the file says, and its elements with
// their attributes, text and places in the text, for reading definitions and changing one value.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Why bytes are no readable XML; the English words for a person come from DescribeXmlFault.
enum class XmlProblem
{
    None,
    Empty,              // no bytes, or only blanks
    UnknownEncoding,    // detail: the declaration's encoding name
    NotInItsEncoding,   // the bytes are not text of their encoding (detail: its name)
    NoRoot,             // no element at all
    EndsInsideMarkup,   // inside a tag, comment, CDATA section or processing instruction
    EndsInsideElement,  // detail: the innermost open element's name
    MismatchedEndTag,   // detail: "</end> closes <start>"
    StrayEndTag,        // detail: the end tag's name
    BadTag,             // a '<' without a name, or an attribute without a quoted value
    ContentOutsideRoot, // text outside the root, or a second root
    NotATask,           // detail: the root's name (for the task reader)
};

struct XmlFault
{
    XmlProblem problem = XmlProblem::None;
    size_t line = 0; // from 1; 0 when it is about the whole file
    std::wstring detail;
};
// "the XML ends inside the element <Settings> begun at line 3", in English.
std::wstring DescribeXmlFault(const XmlFault& fault);

// How a file's text is written in its bytes.
struct XmlEncoding
{
    enum Form
    {
        Utf8,
        Utf16Le,
        Utf16Be,
        CodePage
    } form = Utf8;
    UINT codePage = CP_UTF8; // for CodePage
    size_t bomSize = 0;      // bytes of the byte-order mark the file starts with
};

struct XmlText
{
    std::wstring text; // without the byte-order mark
    XmlEncoding encoding;
    XmlFault fault;
};
// Decodes by the byte-order mark, else by the declaration's encoding, else as UTF-8. Text whose
// bytes do not come back from it exactly is refused, so that an edit can keep every other byte.
XmlText DecodeXml(std::string_view bytes);
// text in the encoding, without a byte-order mark.
std::string EncodeXml(const XmlEncoding& encoding, std::wstring_view text);

struct XmlElement
{
    std::wstring name; // the local name: a prefix is dropped, namespaces are not looked at
    std::vector<std::pair<std::wstring, std::wstring>> attributes; // local names, values decoded
    std::wstring text;                                             // its own character data, decoded
    std::vector<size_t> children;                                  // indexes of its child elements
    // Places in the text: its '<', after its start tag, its end tag's '<', after its end tag. An
    // element written <name/> has contentStart == contentEnd == end.
    size_t start = 0, contentStart = 0, contentEnd = 0, end = 0;
    bool selfClosed = false;
};

struct XmlDocument
{
    std::vector<XmlElement> elements; // in document order: the root first, when there is one
    XmlFault fault;
    // The first child element of that local name, or null.
    const XmlElement* Child(const XmlElement* parent, std::wstring_view name) const;
};
// Reads elements, attributes, text, the five entities and character references, comments, CDATA,
// processing instructions and a document type. A reference it does not know stays as written.
XmlDocument ReadXml(std::wstring_view text);
// The line of a place in the text, from 1.
size_t LineAt(std::wstring_view text, size_t at);
