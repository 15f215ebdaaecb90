#pragma once
#include <string>
#include <vector>

#include "ui/markup/Markup.h"

// Turns a layout document into a tree of controls for a window.
//
// A document is a Window element whose attributes describe the window, followed by resource
// declarations (Font, Default, Style, Image, Import) and one control tree. The resources are
// taken first, in document order, wherever they stand; then the first element that is not a
// resource declaration is built as the root of the tree. A tag names the class "C" + tag + "UI";
// a tag that is not a built-in class is offered to the callback, and skipped (with its subtree)
// when the callback makes nothing of it. Include (source, count) inserts another document's tree
// `count` times.
//
// Each control gets, in this order: the Default list of its tag, the Style its `style` attribute
// names, then its own attributes.
namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A control for a tag that is not a built-in class, or null to leave the element out.
    virtual CControlUI* CreateControl(const std::wstring& tagName) = 0;
};

class CDialogBuilder {
public:
    // Reads layout resource `id` of `type` from the executable into `bytes`; false when absent.
    using ResourceLoader = bool (*)(const std::wstring& id, const std::wstring& type,
                                    std::vector<unsigned char>& bytes);

    // Without a loader, documents named with a resource type cannot be loaded.
    explicit CDialogBuilder(ResourceLoader loadResource = nullptr) : m_loadResource(loadResource) {}

    // Include nests at most this deep (a document that includes itself stops here).
    static constexpr int kMaxIncludeDepth = 8;
    // An Include inserts its document at most this many times.
    static constexpr int kMaxIncludeCount = 100;
    // Controls nest at most this deep; deeper elements are left out. Layout, hit testing and
    // painting walk the tree recursively, and a thread's stack must hold the deepest walk.
    static constexpr int kMaxTreeDepth = 100;

    // Loads and builds. `xml` is a document name in the skin, or the document text when it
    // begins with "<". With a non-empty `type`, `xml` names a resource of that type of the
    // executable instead, read through the builder's resource loader.
    // The Window attributes and resources go to `manager` (none without one); the root of the
    // tree is added to `parent` when that is a container. Returns the root, or null when the
    // document cannot be loaded or holds no control (GetLastErrorMessage says why).
    CControlUI* Create(const std::wstring& xml, const std::wstring& type = std::wstring(),
                       IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                       CControlUI* parent = nullptr);
    // Builds again from the document loaded by the last Create.
    CControlUI* Create(IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                       CControlUI* parent = nullptr);

    CMarkup& GetMarkup() { return m_xml; }
    // The parser's error text, or why a loaded document gave no control.
    std::wstring GetLastErrorMessage() const;

private:
    CControlUI* Build(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent,
                      bool applyWindowAttributes);
    void ApplyResource(const CMarkupNode& node, CPaintManagerUI* manager);
    CControlUI* BuildElement(const CMarkupNode& node, CControlUI* parent, IDialogBuilderCallback* callback,
                             CPaintManagerUI* manager, int depth);
    void BuildChildren(const CMarkupNode& node, CControlUI* container, IDialogBuilderCallback* callback,
                       CPaintManagerUI* manager, int depth);
    void BuildInclude(const CMarkupNode& node, CControlUI* container, IDialogBuilderCallback* callback,
                      CPaintManagerUI* manager, int depth);

    ResourceLoader m_loadResource;
    CMarkup m_xml;
    std::wstring m_error;
    int m_includeDepth = 0;
    int m_baseDepth = 0;  // tree depth of the container an included document is built into
};

}  // namespace SkinUI
