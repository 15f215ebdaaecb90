#include "ui/core/UIResourceTable.h"

#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {
const size_t kMaxFaceLength = 31;
}  // namespace

std::wstring LimitFontFace(const std::wstring& face)
{
    return face.size() > kMaxFaceLength ? face.substr(0, kMaxFaceLength) : face;
}

void CUIResourceTable::AddFont(int id, const TFontDecl& font)
{
    TFontDecl stored = font;
    stored.face = LimitFontFace(font.face);
    m_fonts[id] = stored;
}

const TFontDecl* CUIResourceTable::FindFont(int id) const
{
    const auto it = m_fonts.find(id);
    return it == m_fonts.end() ? nullptr : &it->second;
}

void CUIResourceTable::SetDefaultFont(const TFontDecl& font)
{
    m_defaultFont = font;
    m_defaultFont.face = LimitFontFace(font.face);
    m_hasDefaultFont = true;
}

void CUIResourceTable::SetDefaultAttributeList(const std::wstring& className, const std::wstring& list)
{
    m_defaults[AsciiLower(className)] = list;
}

const std::wstring* CUIResourceTable::FindDefaultAttributeList(const std::wstring& className) const
{
    const auto it = m_defaults.find(AsciiLower(className));
    return it == m_defaults.end() ? nullptr : &it->second;
}

void CUIResourceTable::SetStyle(const std::wstring& name, const std::wstring& list) { m_styles[name] = list; }

const std::wstring* CUIResourceTable::FindStyle(const std::wstring& name) const
{
    const auto it = m_styles.find(name);
    return it == m_styles.end() ? nullptr : &it->second;
}

void CUIResourceTable::AddImage(const TImageDecl& image) { m_images[image.name] = image; }

const TImageDecl* CUIResourceTable::FindImage(const std::wstring& name) const
{
    const auto it = m_images.find(name);
    return it == m_images.end() ? nullptr : &it->second;
}

void CUIResourceTable::AddFontFile(const std::wstring& path) { m_fontFiles.push_back(path); }

void CUIResourceTable::Clear() { *this = CUIResourceTable(); }

}  // namespace SkinUI
