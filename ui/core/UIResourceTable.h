#pragma once
#include <map>
#include <string>
#include <vector>

#include "ui/base/UIGeometry.h"

// The resources a layout document declares before its controls: fonts, per-class default
// attribute lists, named styles, preloaded images and font files. A window keeps one table of its
// own; declarations marked shared="true" go to one process-wide table that every window consults
// after its own.
namespace SkinUI {

// A Font declaration as written: the size is in document units, scaled when the font is used.
struct TFontDecl {
    std::wstring face;  // at most 31 characters (longer names are cut)
    int size = 0;       // 0: the size of the system's default GUI font
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// An Image declaration.
struct TImageDecl {
    std::wstring name;
    std::wstring resType;
    UIColor mask = 0;
};

class CUIResourceTable {
public:
    void AddFont(int id, const TFontDecl& font);  // a later declaration of an id replaces it
    const TFontDecl* FindFont(int id) const;
    void SetDefaultFont(const TFontDecl& font);
    const TFontDecl* GetDefaultFont() const { return m_hasDefaultFont ? &m_defaultFont : nullptr; }

    // Class names ("Button", "VScrollBar") ignore ASCII case; a later list replaces an earlier one.
    void SetDefaultAttributeList(const std::wstring& className, const std::wstring& list);
    const std::wstring* FindDefaultAttributeList(const std::wstring& className) const;

    // Style names are matched exactly.
    void SetStyle(const std::wstring& name, const std::wstring& list);
    const std::wstring* FindStyle(const std::wstring& name) const;

    void AddImage(const TImageDecl& image);
    const TImageDecl* FindImage(const std::wstring& name) const;

    void AddFontFile(const std::wstring& path);
    const std::vector<std::wstring>& GetFontFiles() const { return m_fontFiles; }

    void Clear();

private:
    std::map<int, TFontDecl> m_fonts;
    TFontDecl m_defaultFont;
    bool m_hasDefaultFont = false;
    std::map<std::wstring, std::wstring> m_defaults;  // key: lower-case class name
    std::map<std::wstring, std::wstring> m_styles;
    std::map<std::wstring, TImageDecl> m_images;
    std::vector<std::wstring> m_fontFiles;
};

// A face name cut to the 31 characters a GDI font description holds.
std::wstring LimitFontFace(const std::wstring& face);

}  // namespace SkinUI
