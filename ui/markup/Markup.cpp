#include "ui/markup/Markup.h"

#include <utility>

#include "ui/markup/MarkupDocument.h"
#include "ui/markup/MarkupParser.h"
#include "ui/text/AsciiCase.h"
#include "ui/text/TextCodecs.h"

namespace SkinUI {

namespace {

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

CMarkup::CMarkup(AnsiDecoder decodeAnsi) : m_decodeAnsi(decodeAnsi ? decodeAnsi : DecodeLatin1) {}

bool CMarkup::Load(const std::wstring& text)
{
    Release();
    auto doc = std::make_shared<MarkupDocument>();
    std::wstring error, excerpt;
    if (!ParseMarkup(text, *doc, error, excerpt)) {
        SetLastError(error, excerpt);
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
        return Load(m_decodeAnsi(narrow));
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

}  // namespace SkinUI
