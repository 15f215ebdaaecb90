#pragma once
#include "ui/base/UIGeometry.h"

// The geometry of a rectangle with elliptic corners, and how much of each pixel it covers.
namespace SkinUI {
namespace Render {

// Radii of one corner's ellipse, in pixels (half-pixel radii occur: borderround 9,9 is 4.5).
struct TCornerRadii {
    double rx = 0;
    double ry = 0;
};

// A rectangle whose four corners are quarter ellipses. Each corner's radii are clamped to half
// the rectangle's width and height, so opposite corners never overlap and the shape stays convex.
//
// Coverage is measured with an 8 x 8 grid of sample points per pixel (at the centres of the
// sub-cells), so a pixel is covered by 0..64 samples; CoverageOf turns that into 0..255 as
// (n * 255 + 32) / 64. Pixels that no corner ellipse touches are decided without sampling.
class CRoundRectShape {
public:
    static constexpr int kSamplesPerAxis = 8;
    static constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;

    CRoundRectShape() = default;
    // Corners in the order top-left, top-right, bottom-right, bottom-left.
    CRoundRectShape(const UIRect& rc, TCornerRadii tl, TCornerRadii tr, TCornerRadii br, TCornerRadii bl);
    // The markup's borderround / roundcorner cx,cy: the corner ellipse is cx wide and cy high,
    // as for CreateRoundRectRgn, so every corner has the radii cx/2 and cy/2.
    static CRoundRectShape FromEllipse(const UIRect& rc, UISize ellipse);

    const UIRect& Rect() const { return m_rc; }
    const TCornerRadii& Corner(int i) const { return m_corner[i]; }
    bool IsEmpty() const { return m_rc.IsEmpty(); }
    bool HasRoundCorners() const;

    // Whether a corner zone (the box of a corner's quarter ellipse) touches pixel (x, y): only such
    // pixels may be partly covered; every other pixel is fully inside or fully outside the rectangle.
    bool TouchesCorner(int x, int y) const;
    // The widest corner box that reaches row y on the left and on the right side, rounded up to
    // whole pixels (0 when no corner box reaches the row).
    int LeftCornerWidth(int y) const;
    int RightCornerWidth(int y) const;

    // Sample points of pixel (x, y) inside the shape, 0..kSamples.
    int SamplesInside(int x, int y) const;
    bool ContainsPoint(double x, double y) const;

    static int CoverageOf(int samples) { return (samples * 255 + kSamples / 2) / kSamples; }

private:
    UIRect m_rc;
    TCornerRadii m_corner[4];
};

}  // namespace Render
}  // namespace SkinUI
