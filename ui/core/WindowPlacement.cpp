#include "ui/core/WindowPlacement.h"

#include <cstdint>

namespace SkinUI {

UIPoint CenterWindowPosition(const UIRect& reference, const UIRect& bounds, UISize size, UIPoint offset)
{
    UIPoint p;
    p.x = (reference.left + reference.right) / 2 + offset.x - size.cx / 2;
    p.y = (reference.top + reference.bottom) / 2 + offset.y - size.cy / 2;
    if (!bounds.IsEmpty()) {
        if (p.x + size.cx > bounds.right) p.x = bounds.right - size.cx;
        if (p.x < bounds.left) p.x = bounds.left;
        if (p.y + size.cy > bounds.bottom) p.y = bounds.bottom - size.cy;
        if (p.y < bounds.top) p.y = bounds.top;
    }
    return p;
}

UIRect CenterReference(const UIRect& bounds, bool hasUsableOwner, const UIRect& ownerRect, const UIRect& primaryMonitor)
{
    if (!bounds.IsEmpty()) return bounds;
    if (hasUsableOwner) return UIRect{ownerRect.left, primaryMonitor.top, ownerRect.right, primaryMonitor.bottom};
    return primaryMonitor;
}

int MulDivRound(int value, int numerator, int denominator)
{
    if (denominator == 0) return -1;
    const int64_t product = static_cast<int64_t>(value) * numerator;
    int64_t d = denominator;
    int64_t p = product;
    if (d < 0) {
        d = -d;
        p = -p;
    }
    const int64_t half = d / 2;
    const int64_t q = p >= 0 ? (p + half) / d : -((-p + half) / d);
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return static_cast<int>(q);
}

}  // namespace SkinUI
