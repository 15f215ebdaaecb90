#include "ui/Markup.h"

#include <algorithm>
#include <utility>
#include <vector>


namespace SkinUI {

// A piece of MarkupDocument::pool. Names and attribute values all live in that one string, so
// reading a document allocates a handful of buffers rather than a few per element.
struct MarkupSpan {
    size_t offset = 0;
    size_t length = 0;
};

// One element of a parsed document. Links are indices into MarkupDocument::elements (-1: none);
// the attributes of an element are a contiguous run of MarkupDocument::attributes, because they
// are all read before any child element.
struct MarkupElement {
    int parent = -1;
    int firstChild = -1;
    int lastChild = -1;
    int next = -1;
    int attrBegin = 0;
    int attrCount = 0;
    MarkupSpan name;
    std::wstring value;  // character data; rare in layout documents, so kept apart
};

struct MarkupAttribute {
    MarkupSpan name;
    MarkupSpan value;
};

struct MarkupDocument {
    std::wstring pool;
    std::vector<MarkupElement> elements;  // [0] is the root
    std::vector<MarkupAttribute> attributes;

    std::wstring Text(const MarkupSpan& span) const { return pool.substr(span.offset, span.length); }
    bool Equals(const MarkupSpan& span, const std::wstring& s) const
    {
        return span.length == s.size() && pool.compare(span.offset, span.length, s) == 0;
    }
};

namespace {

const wchar_t kReplacementChar = 0xFFFD;
const size_t kErrorExcerptLength = 50;

AnsiDecoder g_ansiDecoder = nullptr;

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }

// Compares a[aBegin, aBegin + length) with b[bBegin, ...) ignoring ASCII case, as names are compared.
bool EqualsNoCaseAt(const std::wstring& a, size_t aBegin, const std::wstring& b, size_t bBegin, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (AsciiLower(a[aBegin + i]) != AsciiLower(b[bBegin + i])) return false;
    }
    return true;
}

bool EndsName(wchar_t c)
{
    return IsSpace(c) || c == L'/' || c == L'>' || c == L'=' || c == L'<' || c == L'"' || c == L'\'';
}

void AppendCodePoint(std::wstring& out, char32_t cp)
{
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

bool IsValidCodePoint(unsigned long cp) { return cp != 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

// Malformed sequences become one U+FFFD per maximal invalid prefix, as Unicode recommends, so
// the reader never loses sync with the byte stream.
std::wstring DecodeUtf8(const unsigned char* p, size_t n)
{
    std::wstring out;
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        int length;
        char32_t cp;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
            if (b == 0xE0) lo = 0xA0;       // no overlong forms
            if (b == 0xED) hi = 0x9F;       // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
            if (b == 0xF0) lo = 0x90;       // no overlong forms
            if (b == 0xF4) hi = 0x8F;       // nothing above U+10FFFF
        } else {
            out.push_back(kReplacementChar);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (int k = 1; k < length; ++k, ++j) {
            unsigned char c = j < n ? p[j] : 0;
            unsigned char min = k == 1 ? lo : 0x80, max = k == 1 ? hi : 0xBF;
            if (j >= n || c < min || c > max) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (ok) {
            AppendCodePoint(out, cp);
        } else {
            out.push_back(kReplacementChar);
        }
        i = j;
    }
    return out;
}

// UTF-16 code units to the platform's wide string: taken unchanged where wchar_t is 16 bits,
// combined into code points where it is 32 bits (an unpaired surrogate becomes U+FFFD there).
std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian)
{
    std::wstring out;
    size_t count = n / 2;
    out.reserve(count);
    auto unit = [&](size_t i) -> char16_t {
        unsigned a = p[2 * i], b = p[2 * i + 1];
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 0; i < count; ++i) {
        char16_t u = unit(i);
        if (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<wchar_t>(u));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            AppendCodePoint(out, cp);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(kReplacementChar);
        } else {
            out.push_back(static_cast<wchar_t>(u));
        }
    }
    return out;
}

std::wstring DecodeLatin1(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<wchar_t>(c));
    return out;
}

// Appends text[begin, end) with the five named entities and numeric character references
// decoded. Anything that is not a well-formed reference is kept as written.
void AppendDecoded(std::wstring& out, const std::wstring& text, size_t begin, size_t end)
{
    static const struct {
        const wchar_t* name;
        wchar_t ch;
    } kNamed[] = {{L"quot", L'"'}, {L"apos", L'\''}, {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}};
    const size_t kLongestReference = 12;  // "&#x0010FFFF;" and a little more

    size_t i = begin;
    while (i < end) {
        // Searched only up to `end`: a search to the end of the document for every attribute
        // would make reading quadratic.
        size_t amp = static_cast<size_t>(std::find(text.begin() + i, text.begin() + end, L'&') - text.begin());
        if (amp >= end) {
            out.append(text, i, end - i);
            return;
        }
        out.append(text, i, amp - i);
        // Look for the ';' only a short way ahead, so text full of '&' stays linear to read.
        size_t limit = end - amp > kLongestReference ? amp + kLongestReference + 1 : end;
        size_t semi = amp + 1;
        while (semi < limit && text[semi] != L';') ++semi;
        bool decoded = false;
        if (semi < limit) {
            const wchar_t* name = text.data() + amp + 1;
            const size_t length = semi - amp - 1;
            if (length >= 2 && name[0] == L'#') {
                bool hex = name[1] == L'x' || name[1] == L'X';
                size_t first = hex ? 2 : 1;
                unsigned long cp = 0;
                bool digits = first < length;
                for (size_t k = first; k < length && digits; ++k) {
                    wchar_t c = name[k];
                    int d = c >= L'0' && c <= L'9' ? c - L'0'
                            : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                            : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
                    if (d < 0) digits = false;
                    else if (cp <= 0x10FFFF) cp = cp * (hex ? 16 : 10) + d;  // stops growing once out of range
                }
                if (digits) {
                    if (IsValidCodePoint(cp)) AppendCodePoint(out, static_cast<char32_t>(cp));
                    else out.push_back(kReplacementChar);
                    decoded = true;
                }
            } else {
                for (const auto& entity : kNamed) {
                    if (length == std::char_traits<wchar_t>::length(entity.name) &&
                        std::char_traits<wchar_t>::compare(name, entity.name, length) == 0) {
                        out.push_back(entity.ch);
                        decoded = true;
                        break;
                    }
                }
            }
        }
        if (decoded) {
            i = semi + 1;
        } else {
            out.push_back(L'&');
            i = amp + 1;
        }
    }
}

void TrimSpace(std::wstring& s)
{
    size_t first = 0;
    while (first < s.size() && IsSpace(s[first])) ++first;
    size_t last = s.size();
    while (last > first && IsSpace(s[last - 1])) --last;
    if (first > 0 || last < s.size()) s = s.substr(first, last - first);
}

// Reads a whole document into a MarkupDocument in one forward pass. Open elements are kept on an
// explicit stack, so nesting depth costs heap, not call stack, and is bounded by kMaxMarkupDepth.
class MarkupParser {
public:
    MarkupParser(const std::wstring& text, MarkupDocument& doc) : m_text(text), m_doc(doc) {}

    bool Parse()
    {
        if (!SkipMisc() || AtEnd() || m_text[m_pos] != L'<' || StartsWith(L"<!")) return Fail(L"Expected start tag");

        // Names and decoded values are never longer than the text they come from.
        m_doc.pool.reserve(m_text.size());

        std::vector<int> open;
        bool selfClosed = false;
        if (!ParseStartTag(-1, selfClosed)) return false;
        if (!selfClosed) open.push_back(0);

        while (!open.empty()) {
            int current = open.back();
            size_t lt = m_text.find(L'<', m_pos);
            if (lt == std::wstring::npos) lt = m_text.size();
            AppendText(m_doc.elements[current].value, lt);
            m_pos = lt;
            if (AtEnd()) return Fail(L"Expected end-tag start");

            if (StartsWith(L"<![CDATA[")) {
                size_t close = m_text.find(L"]]>", m_pos + 9);
                if (close == std::wstring::npos) return Fail(L"Expected end-tag start");
                m_doc.elements[current].value.append(m_text, m_pos + 9, close - (m_pos + 9));
                m_pos = close + 3;
            } else if (StartsWith(L"<!--") || StartsWith(L"<?") || StartsWith(L"<!")) {
                if (!SkipMarkupDeclaration()) return Fail(L"Expected end-tag start");
            } else if (StartsWith(L"</")) {
                m_pos += 2;
                size_t nameBegin = m_pos;
                size_t length = SkipName();
                if (length == 0) return Fail(L"Error parsing element name");
                const MarkupSpan& openName = m_doc.elements[current].name;
                if (length != openName.length || !EqualsNoCaseAt(m_text, nameBegin, m_doc.pool, openName.offset, length)) {
                    return Fail(L"Unmatched closing tag");
                }
                SkipSpace();
                if (AtEnd() || m_text[m_pos] != L'>') return Fail(L"Expected start-tag closing");
                ++m_pos;
                TrimSpace(m_doc.elements[current].value);
                open.pop_back();
            } else {
                if (open.size() >= static_cast<size_t>(kMaxMarkupDepth)) return Fail(L"Elements nested too deeply");
                int child = static_cast<int>(m_doc.elements.size());
                if (!ParseStartTag(current, selfClosed)) return false;
                if (!selfClosed) open.push_back(child);
            }
        }
        // Whatever follows the root element is not part of the document.
        return true;
    }

    const std::wstring& Error() const { return m_error; }

    std::wstring ErrorExcerpt() const
    {
        size_t at = m_errorPos < m_text.size() ? m_errorPos : m_text.size();
        return m_text.substr(at, kErrorExcerptLength);
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }

    bool StartsWith(const wchar_t* s) const
    {
        return m_pos <= m_text.size() && m_text.compare(m_pos, std::char_traits<wchar_t>::length(s), s) == 0;
    }

    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(m_text[m_pos])) ++m_pos;
    }

    bool Fail(const wchar_t* message)
    {
        m_error = message;
        m_errorPos = m_pos;
        return false;
    }

    // Moves past a tag or attribute name and returns its length.
    size_t SkipName()
    {
        size_t begin = m_pos;
        while (!AtEnd() && !EndsName(m_text[m_pos])) ++m_pos;
        return m_pos - begin;
    }

    // Copies the name just skipped into the pool.
    MarkupSpan PoolName(size_t begin, size_t length)
    {
        MarkupSpan span{m_doc.pool.size(), length};
        m_doc.pool.append(m_text, begin, length);
        return span;
    }

    // Character data up to `end`. White space before any real text would be trimmed anyway, so
    // it is not stored: the containers of a layout document then never allocate a value.
    void AppendText(std::wstring& value, size_t end)
    {
        if (value.empty()) {
            size_t first = m_pos;
            while (first < end && IsSpace(m_text[first])) ++first;
            if (first == end) return;
        }
        AppendDecoded(value, m_text, m_pos, end);
    }

    // Skips a comment, processing instruction or <!...> declaration starting at m_pos.
    // A declaration may carry an internal subset in brackets and quoted strings holding ">".
    bool SkipMarkupDeclaration()
    {
        const wchar_t* terminator = StartsWith(L"<!--") ? L"-->" : StartsWith(L"<?") ? L"?>" : nullptr;
        if (terminator) {
            size_t close = m_text.find(terminator, m_pos + 2);
            if (close == std::wstring::npos) return false;
            m_pos = close + std::char_traits<wchar_t>::length(terminator);
            return true;
        }
        int brackets = 0;
        wchar_t quote = 0;
        for (size_t i = m_pos + 2; i < m_text.size(); ++i) {
            wchar_t c = m_text[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == L'"' || c == L'\'') {
                quote = c;
            } else if (c == L'[') {
                ++brackets;
            } else if (c == L']') {
                if (brackets > 0) --brackets;
            } else if (c == L'>' && brackets == 0) {
                m_pos = i + 1;
                return true;
            }
        }
        return false;
    }

    // White space, comments, processing instructions and declarations before the root.
    bool SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (StartsWith(L"<?") || StartsWith(L"<!--") || (StartsWith(L"<!") && !StartsWith(L"<![CDATA["))) {
                if (!SkipMarkupDeclaration()) return false;
            } else {
                return true;
            }
        }
    }

    // Reads "<name attr='value' ...>" or "<name .../>" at m_pos into a new element under `parent`.
    bool ParseStartTag(int parent, bool& selfClosed)
    {
        ++m_pos;  // '<'
        size_t nameBegin = m_pos;
        size_t nameLength = SkipName();
        if (nameLength == 0) return Fail(L"Error parsing element name");

        int index = static_cast<int>(m_doc.elements.size());
        m_doc.elements.emplace_back();
        MarkupElement& element = m_doc.elements.back();
        element.name = PoolName(nameBegin, nameLength);
        element.parent = parent;
        element.attrBegin = static_cast<int>(m_doc.attributes.size());
        if (parent >= 0) {
            MarkupElement& p = m_doc.elements[parent];
            if (p.lastChild >= 0) m_doc.elements[p.lastChild].next = index;
            else p.firstChild = index;
            p.lastChild = index;
        }

        for (;;) {
            SkipSpace();
            if (AtEnd()) return Fail(L"Expected start-tag closing");
            wchar_t c = m_text[m_pos];
            if (c == L'>') {
                ++m_pos;
                selfClosed = false;
                return true;
            }
            if (c == L'/') {
                ++m_pos;
                if (AtEnd() || m_text[m_pos] != L'>') return Fail(L"Expected start-tag closing");
                ++m_pos;
                selfClosed = true;
                return true;
            }
            size_t attrBegin = m_pos;
            size_t attrLength = SkipName();
            if (attrLength == 0) return Fail(L"Error while parsing attributes");
            SkipSpace();
            if (AtEnd() || m_text[m_pos] != L'=') return Fail(L"Error while parsing attributes");
            ++m_pos;
            SkipSpace();
            if (AtEnd() || (m_text[m_pos] != L'"' && m_text[m_pos] != L'\'')) return Fail(L"Expected attribute value");
            wchar_t quote = m_text[m_pos++];
            size_t close = m_text.find(quote, m_pos);
            if (close == std::wstring::npos) return Fail(L"Error while parsing attribute string");
            MarkupAttribute attribute;
            attribute.name = PoolName(attrBegin, attrLength);
            attribute.value.offset = m_doc.pool.size();
            AppendDecoded(m_doc.pool, m_text, m_pos, close);
            attribute.value.length = m_doc.pool.size() - attribute.value.offset;
            m_pos = close + 1;
            m_doc.attributes.push_back(attribute);
            m_doc.elements[index].attrCount++;
        }
    }

    const std::wstring& m_text;
    MarkupDocument& m_doc;
    size_t m_pos = 0;
    std::wstring m_error;
    size_t m_errorPos = 0;
};

const std::wstring kEmpty;

}  // namespace

// ---- CMarkupNode ----

CMarkupNode::CMarkupNode() = default;

CMarkupNode::CMarkupNode(std::shared_ptr<const MarkupDocument> doc, int index) : m_doc(std::move(doc)), m_index(index)
{
    if (!m_doc || m_index < 0 || m_index >= static_cast<int>(m_doc->elements.size())) {
        m_doc.reset();
        m_index = -1;
    }
}

bool CMarkupNode::IsValid() const { return m_doc != nullptr; }

CMarkupNode CMarkupNode::GetParent() const
{
    return IsValid() ? CMarkupNode(m_doc, m_doc->elements[m_index].parent) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetSibling() const
{
    return IsValid() ? CMarkupNode(m_doc, m_doc->elements[m_index].next) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild() const
{
    return IsValid() ? CMarkupNode(m_doc, m_doc->elements[m_index].firstChild) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild(const std::wstring& name) const
{
    if (!IsValid()) return CMarkupNode();
    for (int i = m_doc->elements[m_index].firstChild; i >= 0; i = m_doc->elements[i].next) {
        const MarkupSpan& span = m_doc->elements[i].name;
        if (span.length == name.size() && EqualsNoCaseAt(m_doc->pool, span.offset, name, 0, span.length)) {
            return CMarkupNode(m_doc, i);
        }
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const { return IsValid() && m_doc->elements[m_index].next >= 0; }

bool CMarkupNode::HasChildren() const { return IsValid() && m_doc->elements[m_index].firstChild >= 0; }

std::wstring CMarkupNode::GetName() const { return IsValid() ? m_doc->Text(m_doc->elements[m_index].name) : kEmpty; }

std::wstring CMarkupNode::GetValue() const { return IsValid() ? m_doc->elements[m_index].value : kEmpty; }

bool CMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

bool CMarkupNode::HasAttribute(const std::wstring& name) const
{
    std::wstring ignored;
    return GetAttributeValue(name, ignored);
}

int CMarkupNode::GetAttributeCount() const { return IsValid() ? m_doc->elements[m_index].attrCount : 0; }

std::wstring CMarkupNode::GetAttributeName(int index) const
{
    if (index < 0 || index >= GetAttributeCount()) return kEmpty;
    return m_doc->Text(m_doc->attributes[m_doc->elements[m_index].attrBegin + index].name);
}

std::wstring CMarkupNode::GetAttributeValue(int index) const
{
    if (index < 0 || index >= GetAttributeCount()) return kEmpty;
    return m_doc->Text(m_doc->attributes[m_doc->elements[m_index].attrBegin + index].value);
}

std::wstring CMarkupNode::GetAttributeValue(const std::wstring& name) const
{
    std::wstring value;
    GetAttributeValue(name, value);
    return value;
}

bool CMarkupNode::GetAttributeValue(const std::wstring& name, std::wstring& value) const
{
    int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        const auto& attribute = m_doc->attributes[m_doc->elements[m_index].attrBegin + i];
        if (m_doc->Equals(attribute.name, name)) {
            value = m_doc->Text(attribute.value);
            return true;
        }
    }
    return false;
}

// ---- CMarkup ----

CMarkup::CMarkup() = default;

bool CMarkup::Load(const std::wstring& text)
{
    Release();
    auto doc = std::make_shared<MarkupDocument>();
    MarkupParser parser(text, *doc);
    if (!parser.Parse()) {
        SetLastError(parser.Error(), parser.ErrorExcerpt());
        return false;
    }
    m_doc = std::move(doc);
    return true;
}

bool CMarkup::LoadFromMem(const unsigned char* bytes, size_t size, int encoding)
{
    Release();
    if (bytes == nullptr) size = 0;
    if (encoding == XMLFILE_ENCODING_UNICODE) {
        if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return Load(DecodeUtf16(bytes + 2, size - 2, false));
        if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return Load(DecodeUtf16(bytes + 2, size - 2, true));
        SetLastError(L"Missing byte-order mark");
        return false;
    }
    if (encoding == XMLFILE_ENCODING_ASNI) {
        std::string narrow = size ? std::string(reinterpret_cast<const char*>(bytes), size) : std::string();
        AnsiDecoder decoder = g_ansiDecoder ? g_ansiDecoder : DecodeLatin1;
        return Load(decoder(narrow));
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    return Load(DecodeUtf8(bytes, size));
}

void CMarkup::Release()
{
    m_doc.reset();
    m_errorMessage.clear();
    m_errorLocation.clear();
}

bool CMarkup::IsValid() const { return m_doc != nullptr; }

std::wstring CMarkup::GetLastErrorMessage() const { return m_errorMessage; }

std::wstring CMarkup::GetLastErrorLocation() const { return m_errorLocation; }

void CMarkup::SetLastError(const std::wstring& message, const std::wstring& location)
{
    m_errorMessage = message;
    m_errorLocation = location;
}

CMarkupNode CMarkup::GetRoot() const { return m_doc ? CMarkupNode(m_doc, 0) : CMarkupNode(); }

void SetMarkupAnsiDecoder(AnsiDecoder decoder) { g_ansiDecoder = decoder; }

}  // namespace SkinUI
