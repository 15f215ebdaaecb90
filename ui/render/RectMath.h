#pragma once
#include <climits>

#include "ui/base/UIGeometry.h"

// Rectangle arithmetic that cannot overflow, for geometry that comes from markup and may be absurd.
namespace SkinUI {
namespace Render {

inline int ClampToInt(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

// `rc` less `inset` on each side, computed in 64 bits and clamped to the int range; an inset
// larger than the rectangle gives an empty (possibly inverted) rectangle.
inline UIRect DeflateSafely(const UIRect& rc, const UIRect& inset)
{
    return UIRect{ClampToInt(static_cast<long long>(rc.left) + inset.left),
                  ClampToInt(static_cast<long long>(rc.top) + inset.top),
                  ClampToInt(static_cast<long long>(rc.right) - inset.right),
                  ClampToInt(static_cast<long long>(rc.bottom) - inset.bottom)};
}

}  // namespace Render
}  // namespace SkinUI
