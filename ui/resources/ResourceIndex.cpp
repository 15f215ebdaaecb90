#include "ui/resources/ResourceIndex.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "ui/markup/Markup.h"
#include "ui/resources/ExeResource.h"
#include "ui/resources/ResourceName.h"
#include "ui/resources/SkinMarkup.h"

namespace SkinUI {
namespace {

struct Index {
    std::mutex mutex;
    std::unordered_map<std::wstring, std::wstring> images;  // folded alias -> file
};

Index& TheIndex()
{
    static Index index;
    return index;
}

bool SameAscii(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (x >= L'A' && x <= L'Z') x += 32;
        if (y >= L'A' && y <= L'Z') y += 32;
        if (x != y) {
            return false;
        }
    }
    return i == a.size() && !b[i];
}

std::wstring Attribute(const CMarkupNode& node, const wchar_t* name)
{
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (SameAscii(node.GetAttributeName(i), name)) {
            return node.GetAttributeValue(i);
        }
    }
    return std::wstring();
}

void Replace(std::unordered_map<std::wstring, std::wstring> images)
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    index.images = std::move(images);
}

bool Build(const CMarkup& markup)
{
    std::unordered_map<std::wstring, std::wstring> images;
    const CMarkupNode root = markup.GetRoot();
    if (!root.IsValid()) {
        Replace({});
        return false;
    }
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (!SameAscii(node.GetName(), L"Image")) {
            continue;
        }
        const std::wstring alias = Attribute(node, L"name");
        const std::wstring file = Attribute(node, L"file");
        if (!alias.empty() && !file.empty()) {
            images.emplace(FoldResourceName(alias), file);
        }
    }
    Replace(std::move(images));
    return true;
}

}  // namespace

bool CResourceIndex::Load(const std::wstring& name, const std::wstring& type)
{
    CMarkup markup;
    bool loaded = false;
    if (type.empty()) {
        loaded = LoadSkinMarkup(markup, name);
    } else {
        std::vector<unsigned char> bytes;
        loaded = ReadExeResource(type, name, bytes) && markup.LoadFromMem(bytes.data(), bytes.size());
    }
    if (!loaded) {
        Clear();
        return false;
    }
    return Build(markup);
}

bool CResourceIndex::LoadFromText(const std::wstring& text)
{
    CMarkup markup;
    if (!markup.Load(text)) {
        Clear();
        return false;
    }
    return Build(markup);
}

void CResourceIndex::Clear() { Replace({}); }

std::wstring CResourceIndex::TranslateImage(const std::wstring& name)
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    if (index.images.empty()) {
        return name;
    }
    const auto found = index.images.find(FoldResourceName(name));
    return found == index.images.end() ? name : found->second;
}

size_t CResourceIndex::ImageCount()
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    return index.images.size();
}

}  // namespace SkinUI
