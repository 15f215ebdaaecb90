#include "ui/image/NineGrid.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace SkinUI {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

int ClampToInt(std::int64_t v)
{
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace

UIRect MapCornersToImage(const UIRect& scaledCorners, int globalScalePercent, double imageScale)
{
    // Image scales are quarter steps such as 1.25 or a whole-percent factor such as 1.15: in
    // whole percent the division is exact integer arithmetic, free of floating-point rounding.
    const std::int64_t global = globalScalePercent > 0 ? globalScalePercent : 100;
    std::int64_t own = 100;
    if (std::isfinite(imageScale) && imageScale > 0.0 && imageScale < 1e6) {
        own = std::llround(imageScale * 100.0);
        if (own <= 0) own = 100;
    }
    UIRect out;
    out.left = ClampToInt(FloorDiv(static_cast<std::int64_t>(scaledCorners.left) * own, global));
    out.top = ClampToInt(FloorDiv(static_cast<std::int64_t>(scaledCorners.top) * own, global));
    out.right = ClampToInt(CeilDiv(static_cast<std::int64_t>(scaledCorners.right) * own, global));
    out.bottom = ClampToInt(CeilDiv(static_cast<std::int64_t>(scaledCorners.bottom) * own, global));
    return out;
}

}  // namespace SkinUI
