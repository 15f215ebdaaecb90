#pragma once
#include <cstddef>
#include <memory>
#include <string>

// The framework's own XML reader for layout documents.
//
// A document is parsed in one pass into a flat array of elements linked by indices
// (parent, first child, next sibling), so navigating it is cheap and no recursion is needed.
// Nodes share ownership of the parsed document: a CMarkupNode stays valid even after its
// CMarkup is released, reloaded or destroyed.
//
// What the reader accepts:
//   - an optional declaration <?xml ...?> and other processing instructions, comments anywhere,
//     <!DOCTYPE ...> (skipped, including an internal subset in [...]), CDATA sections;
//   - one root element; anything after the root element's end is ignored;
//   - attribute values in double or single quotes;
//   - the entities &quot; &apos; &amp; &lt; &gt; and &#decimal; / &#xhex; in attribute values and
//     text; an unknown or malformed entity is kept literally.
// Tag and attribute names keep their case. An end tag must repeat its start tag's name,
// compared without regard to ASCII case as the framework compares names.
// Elements may nest at most kMaxMarkupDepth levels; deeper documents are refused.
namespace SkinUI {

enum { XMLFILE_ENCODING_UTF8 = 0, XMLFILE_ENCODING_UNICODE = 1, XMLFILE_ENCODING_ASNI = 2 };

constexpr int kMaxMarkupDepth = 1000;

struct MarkupDocument;

class CMarkupNode {
public:
    CMarkupNode();  // an invalid node

    bool IsValid() const;

    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    // First child element whose tag name equals `name`, ignoring ASCII case.
    CMarkupNode GetChild(const std::wstring& name) const;
    bool HasSiblings() const;
    bool HasChildren() const;

    std::wstring GetName() const;  // tag name as written
    // Character data of the element (text and CDATA sections, entities decoded), with leading
    // and trailing white space removed; child elements' text is not included.
    std::wstring GetValue() const;

    bool HasAttributes() const;
    bool HasAttribute(const std::wstring& name) const;  // exact (case-sensitive) name
    int GetAttributeCount() const;
    std::wstring GetAttributeName(int index) const;                  // "" when out of range
    std::wstring GetAttributeValue(int index) const;                 // "" when out of range
    std::wstring GetAttributeValue(const std::wstring& name) const;  // "" when absent
    bool GetAttributeValue(const std::wstring& name, std::wstring& value) const;

private:
    friend class CMarkup;
    CMarkupNode(std::shared_ptr<const MarkupDocument> doc, int index);

    std::shared_ptr<const MarkupDocument> m_doc;
    int m_index = -1;
};

// Decodes ANSI (system code page) text; ANSI decoding needs Windows, so it is given by whoever
// makes the reader.
using AnsiDecoder = std::wstring (*)(const std::string&);

class CMarkup {
public:
    // Without a decoder, ANSI bytes are read as Latin-1.
    explicit CMarkup(AnsiDecoder decodeAnsi = nullptr);

    // Parses `text`. On failure no tree is kept (IsValid() is false) and the error is recorded.
    bool Load(const std::wstring& text);
    // Decodes `bytes` and parses them. UTF-8 (a leading EF BB BF is skipped; malformed bytes
    // become U+FFFD); UTF-16 only with a byte-order mark (FF FE little-endian, FE FF big-endian),
    // without one nothing is loaded; ANSI through the reader's ANSI decoder.
    bool LoadFromMem(const unsigned char* bytes, size_t size, int encoding = XMLFILE_ENCODING_UTF8);
    // Documents stored in the skin are read by LoadSkinMarkup (ui/resources/SkinMarkup.h).

    void Release();
    bool IsValid() const;

    std::wstring GetLastErrorMessage() const;
    // A short excerpt of the document text where parsing stopped ("" when not known).
    std::wstring GetLastErrorLocation() const;
    void SetLastError(const std::wstring& message, const std::wstring& location = L"");

    CMarkupNode GetRoot() const;

private:
    AnsiDecoder m_decodeAnsi;
    std::shared_ptr<const MarkupDocument> m_doc;
    std::wstring m_errorMessage;
    std::wstring m_errorLocation;
};

}  // namespace SkinUI
