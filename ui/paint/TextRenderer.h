#pragma once
#include <string>

#include "ui/base/UIGeometry.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/render/Canvas.h"

// How the control painters put text on a canvas. The painters stay free of any font machinery:
// on Windows the implementation rasterises with GDI (ui/win/GdiTextRenderer.h); tests record calls.
namespace SkinUI {
namespace Paint {

class ITextRenderer {
public:
    virtual ~ITextRenderer() = default;

    // Draws `text` inside `rc` (canvas pixels) with `font`, composited over what the canvas holds
    // and limited to its clip. `style` holds the kText* flags (ui/base/TextStyle.h: alignment, single
    // line, word break, end ellipsis, ...). Only the RGB part of `color` is used: text is opaque.
    virtual void DrawString(Render::CCanvas& canvas, const UIRect& rc, const std::wstring& text, const TFontInfo& font,
                            UIColor color, unsigned style) = 0;
};

}  // namespace Paint
}  // namespace SkinUI
