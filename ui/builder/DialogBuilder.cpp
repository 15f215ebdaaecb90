#include "ui/builder/DialogBuilder.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/base/UIValues.h"
#include "ui/builder/ControlFactory.h"
#include "ui/controls/ContainerUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/resources/SkinMarkup.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

bool IsResourceTag(const std::wstring& tag)
{
    return EqualsNoCase(tag, L"Font") || EqualsNoCase(tag, L"Default") || EqualsNoCase(tag, L"Style") ||
           EqualsNoCase(tag, L"Image") || EqualsNoCase(tag, L"Import");
}

// An attribute by name, ignoring ASCII case as the markup does; "" when absent.
std::wstring Attribute(const CMarkupNode& node, const wchar_t* name, bool* present = nullptr)
{
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (EqualsNoCase(node.GetAttributeName(i), name)) {
            if (present) *present = true;
            return node.GetAttributeValue(i);
        }
    }
    if (present) *present = false;
    return std::wstring();
}

}  // namespace

std::wstring CDialogBuilder::GetLastErrorMessage() const
{
    return m_error.empty() ? m_xml.GetLastErrorMessage() : m_error;
}

CControlUI* CDialogBuilder::Create(const std::wstring& xml, const std::wstring& type, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent)
{
    m_error.clear();
    bool loaded = false;
    if (type.empty() || (!xml.empty() && xml[0] == L'<')) {
        loaded = LoadSkinMarkup(m_xml, xml);
    } else if (m_loadResource) {
        std::vector<unsigned char> bytes;
        if (m_loadResource(xml, type, bytes)) loaded = m_xml.LoadFromMem(bytes.data(), bytes.size());
        else m_xml.SetLastError(L"Could not load the layout resource");
    } else {
        m_xml.SetLastError(L"Could not load the layout resource");
    }
    if (!loaded) return nullptr;
    return Build(callback, manager, parent, true);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent)
{
    m_error.clear();
    return Build(callback, manager, parent, true);
}

CControlUI* CDialogBuilder::Build(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent,
                                  bool applyWindowAttributes)
{
    const CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        if (m_xml.GetLastErrorMessage().empty()) m_error = L"No document loaded";
        return nullptr;
    }

    CMarkupNode treeRoot;
    if (EqualsNoCase(root.GetName(), L"Window")) {
        if (manager && applyWindowAttributes) {
            const int count = root.GetAttributeCount();
            for (int i = 0; i < count; ++i)
                manager->SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
        }
        for (CMarkupNode child = root.GetChild(); child.IsValid(); child = child.GetSibling()) {
            if (IsResourceTag(child.GetName())) ApplyResource(child, manager);
            else if (!treeRoot.IsValid()) treeRoot = child;
        }
    } else {
        treeRoot = root;  // a document holding only a control tree (what Include usually inserts)
    }
    if (!treeRoot.IsValid()) {
        m_error = L"The document holds no control";
        return nullptr;
    }

    CControlUI* control = BuildElement(treeRoot, parent, callback, manager, m_baseDepth + 1);
    if (!control) m_error = L"The root element is not a control: " + treeRoot.GetName();
    return control;
}

void CDialogBuilder::ApplyResource(const CMarkupNode& node, CPaintManagerUI* manager)
{
    if (!manager) return;
    const std::wstring tag = node.GetName();
    const bool shared = ParseBool(Attribute(node, L"shared"));
    if (EqualsNoCase(tag, L"Font")) {
        bool hasId = false;
        const int id = ParseInt(Attribute(node, L"id", &hasId));
        TFontDecl font;
        font.face = Attribute(node, L"name");
        font.size = std::max(0, ParseInt(Attribute(node, L"size")));
        font.bold = ParseBool(Attribute(node, L"bold"));
        font.underline = ParseBool(Attribute(node, L"underline"));
        font.italic = ParseBool(Attribute(node, L"italic"));
        if (hasId && id >= 0) manager->AddFont(id, font, shared);
        if (ParseBool(Attribute(node, L"default"))) manager->SetDefaultFont(font, shared);
    } else if (EqualsNoCase(tag, L"Default")) {
        const std::wstring name = Attribute(node, L"name");
        if (!name.empty()) manager->AddDefaultAttributeList(name, Attribute(node, L"value"), shared);
    } else if (EqualsNoCase(tag, L"Style")) {
        const std::wstring name = Attribute(node, L"name");
        if (!name.empty()) manager->AddStyle(name, Attribute(node, L"value"), shared);
    } else if (EqualsNoCase(tag, L"Image")) {
        TImageDecl image;
        image.name = Attribute(node, L"name");
        image.resType = Attribute(node, L"restype");
        image.mask = ParseColor(Attribute(node, L"mask"));
        manager->AddImage(image, shared);
    } else if (EqualsNoCase(tag, L"Import")) {
        const std::wstring file = Attribute(node, L"fontfile");
        if (!file.empty()) manager->AddFontFile(file);
    }
}

CControlUI* CDialogBuilder::BuildElement(const CMarkupNode& node, CControlUI* parent, IDialogBuilderCallback* callback,
                                         CPaintManagerUI* manager, int depth)
{
    if (depth > kMaxTreeDepth) return nullptr;
    const std::wstring tag = node.GetName();
    CControlUI* control = CreateBuiltinControl(tag);
    if (!control && callback) control = callback->CreateControl(tag);
    if (!control) return nullptr;

    // Known to its window before its attributes, so that lengths, images and styles see the
    // window's scale and resources; its name is registered when it joins the tree.
    control->SetManager(manager, parent, false);
    if (manager) control->ApplyAttributeList(manager->GetDefaultAttributeList(tag));
    const int count = node.GetAttributeCount();
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    attributes.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) attributes.emplace_back(node.GetAttributeName(i), node.GetAttributeValue(i));
    for (const auto& attribute : attributes) {
        if (EqualsNoCase(attribute.first, L"style")) control->SetAttribute(attribute.first, attribute.second);
    }
    for (const auto& attribute : attributes) {
        if (!EqualsNoCase(attribute.first, L"style")) control->SetAttribute(attribute.first, attribute.second);
    }

    if (auto* container = dynamic_cast<CContainerUI*>(parent)) container->Add(control);
    // Children of something that is not a container have nowhere to go.
    if (dynamic_cast<CContainerUI*>(control)) BuildChildren(node, control, callback, manager, depth);
    return control;
}

void CDialogBuilder::BuildChildren(const CMarkupNode& node, CControlUI* container, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, int depth)
{
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        const std::wstring tag = child.GetName();
        if (EqualsNoCase(tag, L"Include")) {
            BuildInclude(child, container, callback, manager, depth);
            continue;
        }
        if (IsResourceTag(tag)) continue;  // declarations belong directly under Window
        CControlUI* control = BuildElement(child, container, callback, manager, depth + 1);
        // BuildElement added it; a control the container refused would be lost.
        auto* parent = dynamic_cast<CContainerUI*>(container);
        if (control && parent && parent->GetItemIndex(control) < 0) delete control;
    }
}

void CDialogBuilder::BuildInclude(const CMarkupNode& node, CControlUI* container, IDialogBuilderCallback* callback,
                                  CPaintManagerUI* manager, int depth)
{
    if (m_includeDepth >= kMaxIncludeDepth) return;
    const std::wstring source = Attribute(node, L"source");
    if (source.empty()) return;
    bool hasCount = false;
    int count = ParseInt(Attribute(node, L"count", &hasCount));
    if (!hasCount) count = 1;
    count = std::min(std::max(count, 0), kMaxIncludeCount);
    for (int i = 0; i < count; ++i) {
        CDialogBuilder included;
        included.m_includeDepth = m_includeDepth + 1;
        included.m_baseDepth = depth;
        if (!LoadSkinMarkup(included.m_xml, source)) return;  // a missing document is missing every time
        // The including document describes the window; the included one adds resources and controls.
        CControlUI* control = included.Build(callback, manager, container, false);
        auto* parent = dynamic_cast<CContainerUI*>(container);
        if (control && parent && parent->GetItemIndex(control) < 0) delete control;
    }
}

}  // namespace SkinUI
