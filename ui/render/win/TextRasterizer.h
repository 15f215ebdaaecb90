#pragma once
#include <windows.h>

#include <string>

#include "ui/base/TextStyle.h"
#include "ui/base/UIGeometry.h"
#include "ui/render/Canvas.h"

// Text output into a canvas. GDI draws the text white on black into a private 32-bit DIB; the
// brightness of each pixel is the text's coverage there, and the text colour is blended into the
// canvas with that coverage. So text gets proper per-pixel alpha in a layered window, which GDI
// drawing straight into the window buffer would not give.
namespace SkinUI {
namespace Render {

struct TTextStyle {
    HFONT font = nullptr;  // null: the default GUI font
    // Only the RGB part is used, as GDI would: #00FFFFFF draws opaque white.
    UIColor color = 0;
    // kText* flags (the DrawText DT_ values): left/center/right, top/vcenter/bottom, singleline,
    // wordbreak, endellipsis, noprefix.
    unsigned format = kTextLeft | kTextTop;
    UIRect padding;  // textpadding: inset of the text inside the control
};

class CTextRasterizer {
public:
    CTextRasterizer();
    ~CTextRasterizer();
    CTextRasterizer(const CTextRasterizer&) = delete;
    CTextRasterizer& operator=(const CTextRasterizer&) = delete;

    // Draws `text` inside `rc` less the style's padding, clipped to that rectangle and to the canvas
    // clip. Vertical centring and bottom alignment work for wrapped text too (GDI honours them
    // only for single lines): the wrapped block is measured first and placed as a whole.
    void Draw(CCanvas& canvas, const std::wstring& text, const UIRect& rc, const TTextStyle& style);

    // The size the text takes with `format`; lines wrap at `maxWidth` when the format has
    // wordbreak (a maxWidth of 0 or less means no limit).
    UISize Measure(const std::wstring& text, HFONT font, unsigned format, int maxWidth);

private:
    bool EnsureBitmap(int width, int height);

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace Render
}  // namespace SkinUI
