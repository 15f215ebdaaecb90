#include "ui/render/RoundRect.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace Render {

namespace {

enum { kTopLeft, kTopRight, kBottomRight, kBottomLeft };

TCornerRadii Clamped(TCornerRadii r, double halfWidth, double halfHeight)
{
    r.rx = std::min(std::max(r.rx, 0.0), halfWidth);
    r.ry = std::min(std::max(r.ry, 0.0), halfHeight);
    if (r.rx <= 0 || r.ry <= 0) r = TCornerRadii{};  // an ellipse without width or height is a square corner
    return r;
}

// Inside the ellipse with the given radii around (cx, cy)?
bool InEllipse(double x, double y, double cx, double cy, const TCornerRadii& r)
{
    double dx = (x - cx) / r.rx;
    double dy = (y - cy) / r.ry;
    return dx * dx + dy * dy <= 1.0;
}

}  // namespace

CRoundRectShape::CRoundRectShape(const UIRect& rc, TCornerRadii tl, TCornerRadii tr, TCornerRadii br, TCornerRadii bl)
    : m_rc(rc)
{
    if (rc.IsEmpty()) {
        m_rc = UIRect{};
        return;
    }
    double halfW = (static_cast<double>(rc.right) - rc.left) / 2;
    double halfH = (static_cast<double>(rc.bottom) - rc.top) / 2;
    m_corner[kTopLeft] = Clamped(tl, halfW, halfH);
    m_corner[kTopRight] = Clamped(tr, halfW, halfH);
    m_corner[kBottomRight] = Clamped(br, halfW, halfH);
    m_corner[kBottomLeft] = Clamped(bl, halfW, halfH);
}

CRoundRectShape CRoundRectShape::FromEllipse(const UIRect& rc, UISize ellipse)
{
    TCornerRadii r{ellipse.cx / 2.0, ellipse.cy / 2.0};
    return CRoundRectShape(rc, r, r, r, r);
}

bool CRoundRectShape::HasRoundCorners() const
{
    for (const TCornerRadii& r : m_corner)
        if (r.rx > 0) return true;
    return false;
}

bool CRoundRectShape::TouchesCorner(int x, int y) const
{
    // Pixel [x, x+1) x [y, y+1) against each corner box.
    double px0 = x, px1 = static_cast<double>(x) + 1, py0 = y, py1 = static_cast<double>(y) + 1;
    const TCornerRadii* c = m_corner;
    return (c[kTopLeft].rx > 0 && px0 < m_rc.left + c[kTopLeft].rx && py0 < m_rc.top + c[kTopLeft].ry) ||
           (c[kTopRight].rx > 0 && px1 > m_rc.right - c[kTopRight].rx && py0 < m_rc.top + c[kTopRight].ry) ||
           (c[kBottomRight].rx > 0 && px1 > m_rc.right - c[kBottomRight].rx &&
            py1 > m_rc.bottom - c[kBottomRight].ry) ||
           (c[kBottomLeft].rx > 0 && px0 < m_rc.left + c[kBottomLeft].rx && py1 > m_rc.bottom - c[kBottomLeft].ry);
}

int CRoundRectShape::LeftCornerWidth(int y) const
{
    double w = 0;
    if (y < m_rc.top + m_corner[kTopLeft].ry) w = std::max(w, m_corner[kTopLeft].rx);
    if (static_cast<double>(y) + 1 > m_rc.bottom - m_corner[kBottomLeft].ry) w = std::max(w, m_corner[kBottomLeft].rx);
    return static_cast<int>(std::ceil(w));
}

int CRoundRectShape::RightCornerWidth(int y) const
{
    double w = 0;
    if (y < m_rc.top + m_corner[kTopRight].ry) w = std::max(w, m_corner[kTopRight].rx);
    if (static_cast<double>(y) + 1 > m_rc.bottom - m_corner[kBottomRight].ry)
        w = std::max(w, m_corner[kBottomRight].rx);
    return static_cast<int>(std::ceil(w));
}

bool CRoundRectShape::ContainsPoint(double x, double y) const
{
    if (x < m_rc.left || x >= m_rc.right || y < m_rc.top || y >= m_rc.bottom) return false;
    const TCornerRadii* c = m_corner;
    const TCornerRadii& tl = c[kTopLeft];
    if (tl.rx > 0 && x < m_rc.left + tl.rx && y < m_rc.top + tl.ry)
        return InEllipse(x, y, m_rc.left + tl.rx, m_rc.top + tl.ry, tl);
    const TCornerRadii& tr = c[kTopRight];
    if (tr.rx > 0 && x > m_rc.right - tr.rx && y < m_rc.top + tr.ry)
        return InEllipse(x, y, m_rc.right - tr.rx, m_rc.top + tr.ry, tr);
    const TCornerRadii& br = c[kBottomRight];
    if (br.rx > 0 && x > m_rc.right - br.rx && y > m_rc.bottom - br.ry)
        return InEllipse(x, y, m_rc.right - br.rx, m_rc.bottom - br.ry, br);
    const TCornerRadii& bl = c[kBottomLeft];
    if (bl.rx > 0 && x < m_rc.left + bl.rx && y > m_rc.bottom - bl.ry)
        return InEllipse(x, y, m_rc.left + bl.rx, m_rc.bottom - bl.ry, bl);
    return true;
}

int CRoundRectShape::SamplesInside(int x, int y) const
{
    if (x < m_rc.left || x >= m_rc.right || y < m_rc.top || y >= m_rc.bottom) return 0;
    if (!TouchesCorner(x, y)) return kSamples;
    constexpr double kStep = 1.0 / kSamplesPerAxis;
    int inside = 0;
    for (int j = 0; j < kSamplesPerAxis; ++j) {
        double sy = y + (j + 0.5) * kStep;
        for (int i = 0; i < kSamplesPerAxis; ++i) inside += ContainsPoint(x + (i + 0.5) * kStep, sy) ? 1 : 0;
    }
    return inside;
}

}  // namespace Render
}  // namespace SkinUI
