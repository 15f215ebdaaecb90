#pragma once
#include "ui/base/UIGeometry.h"
#include "ui/render/Canvas.h"

// Solid and gradient fills, rounded rectangles and borders, composited source-over into a canvas
// and limited to its clip. Colours are the markup's straight-alpha #AARRGGBB; they are
// premultiplied before drawing, so #80FF0000 over black gives 0x80 red at alpha 0x80 over it.
namespace SkinUI {
namespace Render {

// A control's background paint: one colour (bkcolor), or a gradient of two or three colours
// (bkcolor, bkcolor2 and bkcolor3).
//   - Two colours: the first at the top (or left) edge, the second at the bottom (or right) edge.
//   - Three colours: first at the top, second in the middle row, third at the bottom.
//   - Vertical (top to bottom) unless asked otherwise; the gradient spans the filled rectangle,
//     not the clip, so a partly clipped fill shows the same colours as an unclipped one.
// Interpolation runs on premultiplied channels: c = (c0 * (n - i) + c1 * i + n / 2) / n for row
// i of n + 1 rows, so the end rows carry the end colours exactly and no dark fringe appears
// between colours of different alpha.
struct TBrush {
    enum Direction { kVertical, kHorizontal };

    UIColor colors[3] = {0, 0, 0};
    int count = 1;  // 1 = solid, 2 or 3 = gradient
    Direction direction = kVertical;

    static TBrush Solid(UIColor color);
    static TBrush Gradient(UIColor first, UIColor second, Direction direction = kVertical);
    static TBrush Gradient(UIColor first, UIColor second, UIColor third, Direction direction = kVertical);
    // From a control's bkcolor, bkcolor2 and bkcolor3, where 0 means "not set": bkcolor alone is
    // solid; with bkcolor2 a two-colour gradient; with bkcolor3 as well a three-colour one.
    static TBrush FromControlColors(UIColor bkcolor, UIColor bkcolor2, UIColor bkcolor3);
    bool IsInvisible() const;
};

// The premultiplied colour of row (or column) i of n + 1 along the brush (i in 0..n).
Pixel BrushColorAt(const TBrush& brush, long long i, long long n);

void FillRect(CCanvas& canvas, const UIRect& rc, UIColor color);
void FillRect(CCanvas& canvas, const UIRect& rc, const TBrush& brush);

// A rectangle with elliptic corners `ellipse` (the markup's borderround cx,cy: ellipse width
// and height), anti-aliased at the corners. An ellipse of 0,0 is a plain rectangle.
void FillRoundRect(CCanvas& canvas, const UIRect& rc, UISize ellipse, const TBrush& brush);

// A border inside `rc`: `widths` gives the left, top, right and bottom widths (bordersize n is
// n,n,n,n). With a non-zero ellipse the border follows the rounded outline: its outer edge is
// the rounded rectangle `rc`, its inner edge the rectangle deflated by the widths with each
// corner's radii reduced by the adjoining widths.
void DrawBorder(CCanvas& canvas, const UIRect& rc, const UIRect& widths, UISize ellipse, UIColor color);

// Cuts the corners of a finished window image to the rounded outline of `rc`: pixels of the
// corner areas are scaled by how much of them lies inside the rounded rectangle (so they fade
// smoothly to transparent), pixels elsewhere are left alone. Honours the clip.
void RoundCorners(CCanvas& canvas, const UIRect& rc, UISize ellipse);

}  // namespace Render
}  // namespace SkinUI
