#include "ui/markup/MarkupParser.h"

#include "ui/markup/Markup.h"
#include "ui/markup/MarkupEntities.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

const size_t kErrorExcerptLength = 50;

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool EndsName(wchar_t c)
{
    return IsSpace(c) || c == L'/' || c == L'>' || c == L'=' || c == L'<' || c == L'"' || c == L'\'';
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
                if (length != openName.length ||
                    !EqualsNoCaseAt(m_text, nameBegin, m_doc.pool, openName.offset, length)) {
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

}  // namespace

bool ParseMarkup(const std::wstring& text, MarkupDocument& doc, std::wstring& error, std::wstring& excerpt)
{
    MarkupParser parser(text, doc);
    if (parser.Parse()) return true;
    error = parser.Error();
    excerpt = parser.ErrorExcerpt();
    return false;
}

}  // namespace SkinUI
