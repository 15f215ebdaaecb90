#include "ui/render/win/TextRasterizer.h"

#include <algorithm>
#include <cstring>

#include "ui/render/RectMath.h"

namespace SkinUI {
namespace Render {

namespace {

HFONT OrDefault(HFONT font) { return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// GDI wants a mutable buffer for DT_END_ELLIPSIS only with DT_MODIFYSTRING, which is never passed.
int TextLength(const std::wstring& text) { return static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF)); }

// Coverage of a white-on-black GDI pixel: the mean of its channels (all equal for grey-scale
// anti-aliasing).
inline std::uint32_t CoverageOf(std::uint32_t p)
{
    return (((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu) + 1) / 3;
}

// GDI coordinates are limited to 27 bits; a layout box beyond that is cut to it.
LONG GdiCoordinate(long long v)
{
    const long long limit = 1LL << 27;
    return static_cast<LONG>(std::min(std::max(v, -limit), limit));
}

}  // namespace

CTextRasterizer::CTextRasterizer() { m_dc = CreateCompatibleDC(nullptr); }

CTextRasterizer::~CTextRasterizer()
{
    if (m_oldBitmap != nullptr) SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    if (m_dc != nullptr) DeleteDC(m_dc);
}

bool CTextRasterizer::EnsureBitmap(int width, int height)
{
    if (m_dc == nullptr) return false;
    if (m_bitmap != nullptr && width <= m_width && height <= m_height) return true;
    // Grow to the larger of old and new in each direction, so alternating shapes do not reallocate.
    int w = std::max(width, m_width), h = std::max(height, m_height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return false;
    HGDIOBJ previous = SelectObject(m_dc, bitmap);
    if (m_oldBitmap == nullptr) m_oldBitmap = previous;
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_bits = static_cast<std::uint32_t*>(bits);
    m_width = w;
    m_height = h;
    return true;
}

UISize CTextRasterizer::Measure(const std::wstring& text, HFONT font, unsigned format, int maxWidth)
{
    if (m_dc == nullptr || text.empty()) return UISize{};
    HGDIOBJ oldFont = SelectObject(m_dc, OrDefault(font));
    RECT rc{0, 0, maxWidth > 0 ? maxWidth : 0x3FFFFFFF, 0};
    UINT flags = (format & ~static_cast<unsigned>(kTextVerticalMask | kTextHorizontalMask)) | DT_CALCRECT;
    if (maxWidth <= 0) flags &= ~static_cast<UINT>(kTextWordBreak);
    DrawTextW(m_dc, text.c_str(), TextLength(text), &rc, flags);
    SelectObject(m_dc, oldFont);
    return UISize{static_cast<int>(rc.right - rc.left), static_cast<int>(rc.bottom - rc.top)};
}

void CTextRasterizer::Draw(CCanvas& canvas, const std::wstring& text, const UIRect& rc, const TTextStyle& style)
{
    if (text.empty()) return;
    UIRect box = DeflateSafely(rc, style.padding);
    UIRect visible;
    if (box.IsEmpty() || !visible.Intersect(canvas.Clip(), box)) return;
    int w = visible.Width(), h = visible.Height();
    if (!EnsureBitmap(w, h)) return;

    unsigned format = style.format;
    // The layout box in bitmap coordinates (the bitmap's origin is the visible part's top-left).
    RECT layout{GdiCoordinate(static_cast<long long>(box.left) - visible.left),
                GdiCoordinate(static_cast<long long>(box.top) - visible.top),
                GdiCoordinate(static_cast<long long>(box.right) - visible.left),
                GdiCoordinate(static_cast<long long>(box.bottom) - visible.top)};
    if (!(format & kTextSingleLine) && (format & kTextVerticalMask)) {
        // Place a wrapped block by hand: measure it, then draw it top-aligned at the right height.
        int blockHeight = Measure(text, style.font, format, static_cast<int>(layout.right - layout.left)).cy;
        long long room = static_cast<long long>(layout.bottom) - layout.top - blockHeight;
        if (room > 0) layout.top += static_cast<LONG>((format & kTextBottom) ? room : room / 2);
        format &= ~static_cast<unsigned>(kTextVerticalMask);
    }

    for (int y = 0; y < h; ++y)
        std::memset(m_bits + static_cast<std::size_t>(y) * m_width, 0, static_cast<std::size_t>(w) * 4);
    HGDIOBJ oldFont = SelectObject(m_dc, OrDefault(style.font));
    SetTextColor(m_dc, RGB(255, 255, 255));
    SetBkMode(m_dc, TRANSPARENT);
    // The bitmap may be larger than this draw: keep GDI inside the visible part.
    HRGN clip = CreateRectRgn(0, 0, w, h);
    SelectClipRgn(m_dc, clip);
    DrawTextW(m_dc, text.c_str(), TextLength(text), &layout, format);
    SelectClipRgn(m_dc, nullptr);
    DeleteObject(clip);
    SelectObject(m_dc, oldFont);
    GdiFlush();

    Pixel ink = 0xFF000000u | (style.color & 0x00FFFFFFu);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* src = m_bits + static_cast<std::size_t>(y) * m_width;
        Pixel* dst = canvas.Row(visible.top + y) + visible.left;
        for (int x = 0; x < w; ++x) {
            std::uint32_t coverage = CoverageOf(src[x]);
            if (coverage != 0) BlendCoverage(dst + x, ink, coverage);
        }
    }
}

}  // namespace Render
}  // namespace SkinUI
