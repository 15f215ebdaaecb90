#pragma once
#include <cstdint>
#include <vector>

#include "ui/base/UIGeometry.h"
#include "ui/render/PixelMath.h"

// The drawing surface of a window: a view of a premultiplied 32-bit pixel buffer (rows top-down)
// with a stack of clip rectangles. It does not own the pixels: a window draws into the bits of its
// DIB section, tests into a std::vector.
namespace SkinUI {
namespace Render {

class CCanvas {
public:
    // `stride` is the distance between rows in pixels (not bytes); it is at least `width`.
    // A null buffer or a non-positive size gives an empty canvas that draws nothing.
    CCanvas(Pixel* pixels, int width, int height, int stride);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    Pixel* Row(int y) { return m_pixels + static_cast<std::ptrdiff_t>(y) * m_stride; }
    const Pixel* Row(int y) const { return m_pixels + static_cast<std::ptrdiff_t>(y) * m_stride; }
    Pixel At(int x, int y) const { return Row(y)[x]; }

    // The area drawing may touch: the intersection of the canvas and every pushed clip
    // (empty when nothing may be drawn).
    const UIRect& Clip() const { return m_clip; }
    // Narrows the clip to its intersection with `rc`; PopClip restores the previous clip.
    void PushClip(const UIRect& rc);
    void PopClip();
    int ClipDepth() const { return static_cast<int>(m_saved.size()); }

    // Sets every pixel inside the clip to `pixel` (no compositing).
    void Clear(Pixel pixel = 0);

private:
    Pixel* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    UIRect m_clip;
    std::vector<UIRect> m_saved;
};

// Pushes a clip for the lifetime of a scope.
class CClipScope {
public:
    CClipScope(CCanvas& canvas, const UIRect& rc) : m_canvas(canvas) { m_canvas.PushClip(rc); }
    ~CClipScope() { m_canvas.PopClip(); }
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;

private:
    CCanvas& m_canvas;
};

// A pixel buffer that owns its memory, with a canvas over it (tests, benchmarks, off-screen layers).
class CBitmapBuffer {
public:
    CBitmapBuffer(int width, int height, Pixel fill = 0);
    CBitmapBuffer(const CBitmapBuffer&) = delete;  // the canvas points into this object's own vector
    CBitmapBuffer& operator=(const CBitmapBuffer&) = delete;
    CCanvas& Canvas() { return m_canvas; }
    const CCanvas& Canvas() const { return m_canvas; }
    Pixel At(int x, int y) const { return m_canvas.At(x, y); }
    Pixel* Data() { return m_pixels.data(); }

private:
    std::vector<Pixel> m_pixels;
    CCanvas m_canvas;
};

}  // namespace Render
}  // namespace SkinUI
