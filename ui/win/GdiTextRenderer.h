#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/paint/TextRenderer.h"

// Text for the control painters, rasterised by GDI. GDI cannot write alpha, so each text is drawn
// white on black into a scratch bitmap with grey-scale anti-aliasing; the grey level is the
// coverage with which the text colour is then blended into the premultiplied canvas. That keeps
// text crisp on a per-pixel-alpha window.
namespace SkinUI {

class CGdiTextRenderer : public Paint::ITextRenderer {
public:
    CGdiTextRenderer();
    ~CGdiTextRenderer() override;
    CGdiTextRenderer(const CGdiTextRenderer&) = delete;
    CGdiTextRenderer& operator=(const CGdiTextRenderer&) = delete;

    void DrawText(Render::CCanvas& canvas, const UIRect& rc, const std::wstring& text, const TFontInfo& font,
                  UIColor color, unsigned style) override;

    // The face a font is created with: the requested one when it is installed, else the first
    // installed of a few common faces, else the default GUI font's face.
    std::wstring ResolveFace(const std::wstring& requested);
    // Whether GDI knows a face of that name (installed, or substituted by the system).
    static bool IsFaceInstalled(const std::wstring& face);

private:
    HFONT GetFont(const TFontInfo& font);
    bool EnsureScratch(int width, int height);

    using FontKey = std::tuple<std::wstring, int, bool, bool, bool>;
    std::map<FontKey, HFONT> m_fonts;
    std::map<std::wstring, std::wstring> m_faces;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace SkinUI
