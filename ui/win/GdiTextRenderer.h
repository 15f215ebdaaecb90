#pragma once
#include "ui/paint/TextRenderer.h"
#include "ui/render/win/FontCache.h"
#include "ui/render/win/TextRasterizer.h"

// Text for the control painters: the renderer's GDI text output (coverage blended into the
// canvas, so text keeps per-pixel alpha) with its font cache (missing faces fall back).
namespace SkinUI {

class CGdiTextRenderer : public Paint::ITextRenderer {
public:
    void DrawString(Render::CCanvas& canvas, const UIRect& rc, const std::wstring& text, const TFontInfo& font,
                    UIColor color, unsigned style) override;

    Render::CFontCache& Fonts() { return m_fonts; }

private:
    Render::CFontCache m_fonts;
    Render::CTextRasterizer m_rasterizer;
};

}  // namespace SkinUI
