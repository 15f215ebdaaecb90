#pragma once
#include <cstdint>

// The framework's own geometry and colour types, so the control model needs no Windows header.
// Rectangles are left/top inclusive, right/bottom exclusive, as on Windows.
namespace SkinUI {

struct UIPoint {
    int x = 0;
    int y = 0;
};

struct UISize {
    int cx = 0;
    int cy = 0;
};

inline bool operator==(const UISize& a, const UISize& b) { return a.cx == b.cx && a.cy == b.cy; }
inline bool operator!=(const UISize& a, const UISize& b) { return !(a == b); }

struct UIRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(UIPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    // Takes `inset` off each side (the result may be empty, never inverted by more than the inset).
    UIRect Deflated(const UIRect& inset) const
    {
        return UIRect{left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
    }
    bool Intersect(const UIRect& a, const UIRect& b)
    {
        left = a.left > b.left ? a.left : b.left;
        top = a.top > b.top ? a.top : b.top;
        right = a.right < b.right ? a.right : b.right;
        bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
        if (IsEmpty()) {
            *this = UIRect{};
            return false;
        }
        return true;
    }
};

inline bool operator==(const UIRect& a, const UIRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const UIRect& a, const UIRect& b) { return !(a == b); }

// Fractions of the container's width and height by which the edges of a floating child move as the
// container grows (left 0, top 0, right 1, bottom 1 stretches the child over the whole container).
// All zero for a child placed by its `pos` alone.
struct UIFloatPercent {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// 0xAARRGGBB, as written in the markup ("#AARRGGBB").
using UIColor = std::uint32_t;

}  // namespace SkinUI
