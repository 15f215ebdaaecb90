#include "ui/win/GdiTextRenderer.h"

namespace SkinUI {

void CGdiTextRenderer::DrawString(Render::CCanvas& canvas, const UIRect& rc, const std::wstring& text,
                                  const TFontInfo& font, UIColor color, unsigned style)
{
    const Render::TFontSpec request{font.face, font.height, font.bold, font.underline, font.italic};
    Render::TTextStyle textStyle;
    textStyle.font = m_fonts.Get(request);
    textStyle.color = color;
    textStyle.format = style;
    m_rasterizer.Draw(canvas, text, rc, textStyle);
}

}  // namespace SkinUI
