#pragma once
#include <windows.h>

#include "ui/render/Canvas.h"

// A 32-bit top-down DIB section selected into its own memory DC, with a canvas over its bits:
// the drawing surface of a window, kept between frames so that a repaint redraws only what changed.
namespace SkinUI {

class CDibSurface {
public:
    CDibSurface() = default;
    ~CDibSurface();
    CDibSurface(const CDibSurface&) = delete;
    CDibSurface& operator=(const CDibSurface&) = delete;

    // Makes the surface `width` x `height`; the content is lost when the size changes.
    bool Resize(int width, int height);
    void Release();

    bool IsValid() const { return m_bitmap != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HDC GetDC() const { return m_dc; }
    Render::CCanvas& Canvas() { return m_canvas; }
    const Render::CCanvas& Canvas() const { return m_canvas; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
    Render::CCanvas m_canvas{nullptr, 0, 0, 0};
};

}  // namespace SkinUI
