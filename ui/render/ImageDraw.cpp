#include "ui/render/ImageDraw.h"

#include <algorithm>
#include <cmath>

#include "ui/image/NineGrid.h"
#include "ui/render/Resample.h"

namespace SkinUI {
namespace Render {

namespace {

// Three cuts along one axis: [edge0, edge1) first margin, [edge1, edge2) middle, [edge2, edge3) last margin.
struct TCuts {
    long long edge[4];
};

// Shrinks two margins in proportion so that together they fit in `total`.
void FitMargins(long long& first, long long& last, long long total)
{
    first = std::max(first, 0LL);
    last = std::max(last, 0LL);
    if (first + last <= total) return;
    if (total <= 0) {
        first = last = 0;
        return;
    }
    long long sum = first + last;
    first = static_cast<long long>(static_cast<double>(first) * static_cast<double>(total) / static_cast<double>(sum));
    first = std::min(first, total);
    last = total - first;
}

TCuts Cut(long long start, long long end, long long first, long long last)
{
    FitMargins(first, last, end - start);
    return TCuts{{start, start + first, end - last, end}};
}

// An image scale that is not a sensible factor counts as 1 (as MapCornersToImage treats it).
double ValidScale(double scale) { return std::isfinite(scale) && scale >= 0.005 && scale < 1e4 ? scale : 1.0; }

// The length of one tile in window pixels: the source length at the window's scale. Capped far
// beyond any canvas, so the arithmetic stays in range; a tile that long is simply cut.
long long TileLength(int srcLen, double ratio)
{
    double len = std::round(static_cast<double>(srcLen) * ratio);
    return static_cast<long long>(std::min(std::max(len, 1.0), 1e15));
}

}  // namespace

void DrawImage(CCanvas& canvas, const TImageView& image, const UIRect& control, const TDrawInfo& info,
               int windowScalePercent, double imageScale)
{
    if (image.IsEmpty() || info.fade <= 0 || control.IsEmpty()) return;
    int globalPercent = windowScalePercent > 0 ? windowScalePercent : 100;
    imageScale = ValidScale(imageScale);
    // Window pixels per image pixel.
    double ratio = (globalPercent / 100.0) / imageScale;

    // Destination in 64-bit: an offset dest may lie beyond the int range of the canvas.
    long long dl = control.left, dt = control.top, dr = control.right, db = control.bottom;
    if (info.hasDest) {
        dl = static_cast<long long>(control.left) + info.dest.left;
        dt = static_cast<long long>(control.top) + info.dest.top;
        dr = static_cast<long long>(control.left) + info.dest.right;
        db = static_cast<long long>(control.top) + info.dest.bottom;
    }
    if (dr <= dl || db <= dt) return;

    UIRect src{0, 0, image.width, image.height};
    if (info.hasSource) {
        UIRect mapped = MapCornersToImage(info.source, globalPercent, imageScale);
        src.left = std::max(mapped.left, 0);
        src.top = std::max(mapped.top, 0);
        src.right = std::min(mapped.right, image.width);
        src.bottom = std::min(mapped.bottom, image.height);
        if (src.IsEmpty()) return;
    }

    UIRect srcCorner = MapCornersToImage(info.corner, globalPercent, imageScale);
    TCuts sx = Cut(src.left, src.right, srcCorner.left, srcCorner.right);
    TCuts sy = Cut(src.top, src.bottom, srcCorner.top, srcCorner.bottom);
    TCuts dx = Cut(dl, dr, info.corner.left, info.corner.right);
    TCuts dy = Cut(dt, db, info.corner.top, info.corner.bottom);

    CClipScope clip(canvas, control);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (info.hole && row == 1 && col == 1) continue;
            TAxisSpan x;
            x.destStart = dx.edge[col];
            x.destLen = dx.edge[col + 1] - dx.edge[col];
            x.srcStart = static_cast<int>(sx.edge[col]);
            x.srcLen = static_cast<int>(sx.edge[col + 1] - sx.edge[col]);
            TAxisSpan y;
            y.destStart = dy.edge[row];
            y.destLen = dy.edge[row + 1] - dy.edge[row];
            y.srcStart = static_cast<int>(sy.edge[row]);
            y.srcLen = static_cast<int>(sy.edge[row + 1] - sy.edge[row]);
            if (info.xtiled && col == 1) x.tileLen = TileLength(x.srcLen, ratio);
            if (info.ytiled && row == 1) y.tileLen = TileLength(y.srcLen, ratio);
            DrawImageCell(canvas, image, x, y, info.fade);
        }
    }
}

void DrawImage(CCanvas& canvas, const TImageInfo& image, const UIRect& control, const TDrawInfo& info,
               int windowScalePercent)
{
    DrawImage(canvas, TImageView::Of(image), control, info, windowScalePercent, image.scale);
}

}  // namespace Render
}  // namespace SkinUI
