#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The parsed form of a layout document, shared by CMarkup and its nodes (see ui/markup/Markup.h).
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

}  // namespace SkinUI
