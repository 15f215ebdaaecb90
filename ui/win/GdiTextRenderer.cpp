#include "ui/win/GdiTextRenderer.h"

#include <algorithm>
#include <cstring>

#include "ui/TextStyle.h"
#include "ui/render/PixelMath.h"

namespace SkinUI {

namespace {

// Faces tried, in order, when a document names one that is not installed.
const wchar_t* const kFallbackFaces[] = {L"Microsoft YaHei", L"微软雅黑", L"SimSun", L"Segoe UI", L"Tahoma",
                                          L"Arial"};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

LOGFONTW DefaultGuiFont()
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

}  // namespace

CGdiTextRenderer::CGdiTextRenderer() { m_dc = ::CreateCompatibleDC(nullptr); }

CGdiTextRenderer::~CGdiTextRenderer()
{
    for (auto& entry : m_fonts) ::DeleteObject(entry.second);
    if (m_dc && m_oldBitmap) ::SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
}

bool CGdiTextRenderer::IsFaceInstalled(const std::wstring& face)
{
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

std::wstring CGdiTextRenderer::ResolveFace(const std::wstring& requested)
{
    const auto known = m_faces.find(requested);
    if (known != m_faces.end()) return known->second;
    std::wstring face;
    if (!requested.empty() && IsFaceInstalled(requested)) {
        face = requested;
    } else {
        for (const wchar_t* candidate : kFallbackFaces) {
            if (IsFaceInstalled(candidate)) {
                face = candidate;
                break;
            }
        }
        if (face.empty()) face = DefaultGuiFont().lfFaceName;
    }
    m_faces[requested] = face;
    return face;
}

HFONT CGdiTextRenderer::GetFont(const TFontInfo& font)
{
    const FontKey key{font.face, font.height, font.bold, font.underline, font.italic};
    const auto it = m_fonts.find(key);
    if (it != m_fonts.end()) return it->second;
    LOGFONTW lf = DefaultGuiFont();
    const std::wstring face = ResolveFace(font.face);
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    if (font.height != 0) lf.lfHeight = font.height;
    lf.lfWidth = 0;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline;
    lf.lfItalic = font.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    // Grey-scale anti-aliasing: the grey level becomes the text's alpha (ClearType's coloured
    // fringes would turn into wrong colours on a transparent surface).
    lf.lfQuality = ANTIALIASED_QUALITY;
    HFONT created = ::CreateFontIndirectW(&lf);
    if (!created) created = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_fonts[key] = created;
    return created;
}

bool CGdiTextRenderer::EnsureScratch(int width, int height)
{
    if (!m_dc) return false;
    if (width <= m_width && height <= m_height && m_bitmap) return true;
    const int w = std::max(width, m_width);
    const int h = std::max(height, m_height);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;  // top-down rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    HGDIOBJ previous = ::SelectObject(m_dc, bitmap);
    if (!m_oldBitmap) m_oldBitmap = previous;
    if (m_bitmap) ::DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_bits = static_cast<std::uint32_t*>(bits);
    m_width = w;
    m_height = h;
    return true;
}

void CGdiTextRenderer::DrawText(Render::CCanvas& canvas, const UIRect& rc, const std::wstring& text,
                                const TFontInfo& font, UIColor color, unsigned style)
{
    UIRect area;
    if (text.empty() || !area.Intersect(rc, canvas.Clip())) return;
    const int w = area.Width();
    const int h = area.Height();
    if (!EnsureScratch(w, h)) return;
    for (int y = 0; y < h; ++y) std::memset(m_bits + static_cast<std::ptrdiff_t>(y) * m_width, 0, w * 4u);

    HGDIOBJ oldFont = ::SelectObject(m_dc, GetFont(font));
    ::SetTextColor(m_dc, RGB(255, 255, 255));
    ::SetBkMode(m_dc, TRANSPARENT);
    // Canvas coordinates: the scratch bitmap's origin is the top-left corner of `area`.
    ::SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    RECT r = {rc.left, rc.top, rc.right, rc.bottom};
    UINT flags = style;
    // GDI centres vertically only single lines; wrapped text is centred (or bottom aligned) here.
    if (!(style & kTextSingleLine) && (style & kTextVerticalMask)) {
        RECT measure = r;
        ::DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &measure,
                    (flags & ~kTextVerticalMask) | DT_CALCRECT);
        const int textHeight = measure.bottom - measure.top;
        const int room = (rc.bottom - rc.top) - textHeight;
        if (room > 0) r.top += (style & kTextBottom) ? room : room / 2;
        flags &= ~kTextVerticalMask;
    }
    ::DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    ::SetViewportOrgEx(m_dc, 0, 0, nullptr);
    ::SelectObject(m_dc, oldFont);
    ::GdiFlush();

    const unsigned red = (color >> 16) & 0xFF;
    const unsigned green = (color >> 8) & 0xFF;
    const unsigned blue = color & 0xFF;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* src = m_bits + static_cast<std::ptrdiff_t>(y) * m_width;
        Render::Pixel* dst = canvas.Row(area.top + y) + area.left;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t s = src[x];
            // White text on black: every channel carries the coverage (they differ only where
            // the system forces sub-pixel rendering; their mean is used then).
            const unsigned coverage = (((s >> 16) & 0xFF) + ((s >> 8) & 0xFF) + (s & 0xFF) + 1) / 3;
            if (coverage == 0) continue;
            const Render::Pixel ink = (static_cast<Render::Pixel>(coverage) << 24) |
                                      (((red * coverage + 127) / 255) << 16) |
                                      (((green * coverage + 127) / 255) << 8) | ((blue * coverage + 127) / 255);
            dst[x] = Render::SourceOver(ink, dst[x]);
        }
    }
}

}  // namespace SkinUI
