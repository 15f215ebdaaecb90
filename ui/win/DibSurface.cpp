#include "ui/win/DibSurface.h"

namespace SkinUI {

CDibSurface::~CDibSurface() { Release(); }

void CDibSurface::Release()
{
    if (m_dc && m_oldBitmap) ::SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_width = m_height = 0;
    m_canvas = Render::CCanvas(nullptr, 0, 0, 0);
}

bool CDibSurface::Resize(int width, int height)
{
    if (width == m_width && height == m_height && m_bitmap) return true;
    Release();
    if (width <= 0 || height <= 0) return false;
    m_dc = ::CreateCompatibleDC(nullptr);
    if (!m_dc) return false;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap) {
        Release();
        return false;
    }
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    m_canvas = Render::CCanvas(static_cast<Render::Pixel*>(bits), width, height, width);
    return true;
}

}  // namespace SkinUI
