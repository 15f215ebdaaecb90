#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>

// GDI fonts for the skin's Font declarations, created once and kept.
namespace SkinUI {
namespace Render {

// A font as the window asks for it: the declared face and flags, and the GDI character height
// already at the window's scale (negative: the height of the characters without internal
// leading, as -(size * scale)). An empty face or a height of 0 means the default GUI font's.
struct TFontSpec {
    std::wstring face;
    int height = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// Whether GDI knows a font family of this name (EnumFontFamiliesExW).
bool IsFontInstalled(const std::wstring& face);

// Creates each distinct font once and deletes them all when destroyed. A face that is not
// installed is replaced by a fallback (ChooseFontFace), so text never disappears for lack of a font.
class CFontCache {
public:
    using InstalledProbe = std::function<bool(const std::wstring&)>;

    explicit CFontCache(InstalledProbe isInstalled = IsFontInstalled);
    ~CFontCache();
    CFontCache(const CFontCache&) = delete;
    CFontCache& operator=(const CFontCache&) = delete;

    // The font for `request`; never null (the default GUI font if creation fails).
    HFONT Get(const TFontSpec& request);
    // The face a font for `request` is created with.
    std::wstring FaceFor(const TFontSpec& request);
    // Deletes every font (after a change of the window's scale).
    void Clear();
    int Size() const { return static_cast<int>(m_fonts.size()); }

private:
    using Key = std::tuple<std::wstring, int, bool, bool, bool>;

    bool Installed(const std::wstring& face);

    InstalledProbe m_probe;
    std::map<std::wstring, bool> m_installed;
    std::map<Key, HFONT> m_fonts;
};

}  // namespace Render
}  // namespace SkinUI
