// Feeds arbitrary bytes to the layout-document reader. The sanitizers catch memory and UB faults;
// the checks below catch a reader that "succeeds" with an inconsistent tree.
//
// Input: the first byte picks the encoding (its value modulo 3: '0' UTF-8, '1' UTF-16 with a
// byte-order mark, '2' ANSI); the rest is the document.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/base/UIValues.h"
#include "ui/markup/Markup.h"

using namespace SkinUI;

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

void CheckNode(const CMarkupNode& node)
{
    int count = node.GetAttributeCount();
    Require(node.HasAttributes() == (count > 0));
    for (int i = 0; i < count; ++i) {
        std::wstring name = node.GetAttributeName(i);
        Require(!name.empty());
        Require(node.HasAttribute(name));
        std::wstring value;
        Require(node.GetAttributeValue(name, value));
    }
    Require(node.GetAttributeName(count).empty());
    Require(!node.GetName().empty());
    CMarkupNode child = node.GetChild();
    Require(node.HasChildren() == child.IsValid());
    if (child.IsValid()) {
        Require(child.GetParent().GetName() == node.GetName());
        Require(node.GetChild(child.GetName()).IsValid());
    }
}

// Visits every element without recursion (the tree may be as deep as the reader allows).
void WalkTree(const CMarkupNode& root)
{
    int depth = 1;
    CMarkupNode node = root;
    while (node.IsValid()) {
        Require(depth <= kMaxMarkupDepth);
        CheckNode(node);
        if (node.HasChildren()) {
            node = node.GetChild();
            ++depth;
            continue;
        }
        while (node.IsValid() && !node.HasSiblings()) {
            node = node.GetParent();
            --depth;
        }
        if (node.IsValid()) node = node.GetSibling();
    }
    Require(depth == 0);
}

// One fuzz iteration; further stages (such as building controls from the tree) go here.
void FuzzMarkup(const uint8_t* data, size_t size)
{
    if (size == 0) return;
    const int encoding = data[0] % 3;
    CMarkup markup;
    bool loaded = markup.LoadFromMem(data + 1, size - 1, encoding);
    Require(loaded == markup.IsValid());
    Require(loaded == markup.GetRoot().IsValid());
    if (!loaded) {
        Require(!markup.GetLastErrorMessage().empty());
        return;
    }
    Require(markup.GetLastErrorMessage().empty());
    CMarkupNode root = markup.GetRoot();
    Require(!root.GetParent().IsValid() && !root.HasSiblings());
    WalkTree(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMarkup(data, size);
    return 0;
}
