#include "ui/paint/SoftShadow.h"

#include <algorithm>
#include <cmath>

#include "ui/render/PixelMath.h"

namespace SkinUI {
namespace Paint {

int SoftShadowAlpha(const TSoftShadow& shadow, double distance)
{
    const int darkness = std::clamp(shadow.darkness, 0, 255);
    if (distance <= 0) return darkness;
    if (shadow.size <= 0 || distance >= shadow.size) return 0;
    const double t = 1.0 - distance / shadow.size;
    const double exponent = 1.0 + std::max(shadow.sharpness, 0) / 5.0;
    return static_cast<int>(std::lround(darkness * std::pow(t, exponent)));
}

void DrawSoftShadow(Render::CCanvas& canvas, const UIRect& window, const TSoftShadow& shadow)
{
    const UIRect& clip = canvas.Clip();
    const UIColor rgb = shadow.color & 0x00FFFFFFu;
    for (int y = clip.top; y < clip.bottom; ++y) {
        Render::Pixel* row = canvas.Row(y);
        // Distance from the pixel's centre to the window rectangle.
        const double dy = std::max({static_cast<double>(window.top) - (y + 0.5), (y + 0.5) - window.bottom, 0.0});
        for (int x = clip.left; x < clip.right; ++x) {
            const double dx = std::max({static_cast<double>(window.left) - (x + 0.5), (x + 0.5) - window.right, 0.0});
            const int alpha = SoftShadowAlpha(shadow, std::sqrt(dx * dx + dy * dy));
            row[x] = alpha > 0 ? Render::Premultiply((static_cast<UIColor>(alpha) << 24) | rgb) : 0;
        }
    }
}

}  // namespace Paint
}  // namespace SkinUI
