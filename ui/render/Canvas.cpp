#include "ui/render/Canvas.h"

#include <algorithm>

namespace SkinUI {
namespace Render {

CCanvas::CCanvas(Pixel* pixels, int width, int height, int stride)
{
    if (pixels != nullptr && width > 0 && height > 0 && stride >= width) {
        m_pixels = pixels;
        m_width = width;
        m_height = height;
        m_stride = stride;
        m_clip = UIRect{0, 0, width, height};
    }
}

void CCanvas::PushClip(const UIRect& rc)
{
    m_saved.push_back(m_clip);
    UIRect narrowed;
    narrowed.Intersect(m_clip, rc);  // leaves an all-zero (empty) rectangle when they do not meet
    m_clip = narrowed;
}

void CCanvas::PopClip()
{
    if (m_saved.empty()) return;
    m_clip = m_saved.back();
    m_saved.pop_back();
}

void CCanvas::Clear(Pixel pixel)
{
    if (m_clip.IsEmpty()) return;
    for (int y = m_clip.top; y < m_clip.bottom; ++y) std::fill(Row(y) + m_clip.left, Row(y) + m_clip.right, pixel);
}

CBitmapBuffer::CBitmapBuffer(int width, int height, Pixel fill)
    : m_pixels(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)), fill),
      m_canvas(m_pixels.empty() ? nullptr : m_pixels.data(), width, height, width)
{
}

}  // namespace Render
}  // namespace SkinUI
