#include "ui/render/Fill.h"

#include <algorithm>
#include <vector>

#include "ui/render/RectMath.h"
#include "ui/render/RoundRect.h"

namespace SkinUI {
namespace Render {

namespace {

Pixel Lerp(Pixel a, Pixel b, long long i, long long n)
{
    if (n <= 0 || i <= 0) return a;
    if (i >= n) return b;
    Pixel out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        long long ca = (a >> shift) & 0xFF;
        long long cb = (b >> shift) & 0xFF;
        long long c = (ca * (n - i) + cb * i + n / 2) / n;
        out |= static_cast<Pixel>(c) << shift;
    }
    return out;
}

// Source-over of one colour over a run of pixels, with the common opaque and invisible cases
// taken out of the loop.
void BlendRun(Pixel* row, int x0, int x1, Pixel color)
{
    if (x0 >= x1) return;
    std::uint32_t alpha = AlphaOf(color);
    if (alpha == 255) {
        std::fill(row + x0, row + x1, color);
    } else if (alpha != 0) {
        for (int x = x0; x < x1; ++x) row[x] = SourceOver(color, row[x]);
    }
}

// The colours of one row of a brush: one colour per row for solid and vertical brushes, one per
// column (computed once per fill) for horizontal ones.
class CBrushRows {
public:
    CBrushRows(const TBrush& brush, const UIRect& rc, const UIRect& visible) : m_brush(brush), m_rc(rc)
    {
        m_perRow = brush.count == 1 || brush.direction == TBrush::kVertical;
        m_x0 = visible.left;
        if (brush.count == 1) {
            m_rowColor = BrushColorAt(brush, 0, 0);
        } else if (!m_perRow) {
            long long n = static_cast<long long>(rc.right) - rc.left - 1;
            m_columns.resize(static_cast<std::size_t>(visible.right - visible.left));
            for (int x = visible.left; x < visible.right; ++x)
                m_columns[static_cast<std::size_t>(x - m_x0)] =
                    BrushColorAt(brush, static_cast<long long>(x) - rc.left, n);
        }
    }

    void SetRow(int y)
    {
        if (m_perRow && m_brush.count > 1) {
            long long n = static_cast<long long>(m_rc.bottom) - m_rc.top - 1;
            m_rowColor = BrushColorAt(m_brush, static_cast<long long>(y) - m_rc.top, n);
        }
    }

    Pixel At(int x) const { return m_perRow ? m_rowColor : m_columns[static_cast<std::size_t>(x - m_x0)]; }

    void FillRun(Pixel* row, int x0, int x1) const
    {
        if (m_perRow) {
            BlendRun(row, x0, x1, m_rowColor);
            return;
        }
        for (int x = x0; x < x1; ++x) row[x] = SourceOver(At(x), row[x]);
    }

private:
    const TBrush& m_brush;
    UIRect m_rc;
    bool m_perRow = true;
    Pixel m_rowColor = 0;
    int m_x0 = 0;
    std::vector<Pixel> m_columns;
};

void FillShape(CCanvas& canvas, const CRoundRectShape& shape, const TBrush& brush)
{
    UIRect visible;
    if (brush.IsInvisible() || !visible.Intersect(canvas.Clip(), shape.Rect())) return;
    const UIRect& rc = shape.Rect();
    CBrushRows colors(brush, rc, visible);
    for (int y = visible.top; y < visible.bottom; ++y) {
        Pixel* row = canvas.Row(y);
        colors.SetRow(y);
        // Partly covered pixels can only lie within the corner boxes at the row's two ends.
        int leftEnd = std::min(visible.right, std::max(visible.left, rc.left + shape.LeftCornerWidth(y)));
        int rightStart = std::max(leftEnd, std::min(visible.right, rc.right - shape.RightCornerWidth(y)));
        for (int x = visible.left; x < leftEnd; ++x)
            BlendCoverage(row + x, colors.At(x), CRoundRectShape::CoverageOf(shape.SamplesInside(x, y)));
        colors.FillRun(row, leftEnd, rightStart);
        for (int x = rightStart; x < visible.right; ++x)
            BlendCoverage(row + x, colors.At(x), CRoundRectShape::CoverageOf(shape.SamplesInside(x, y)));
    }
}

TCornerRadii Reduced(const TCornerRadii& r, int byX, int byY) { return TCornerRadii{r.rx - byX, r.ry - byY}; }

void DrawRoundBorder(CCanvas& canvas, const CRoundRectShape& outer, const UIRect& widths, Pixel color)
{
    const UIRect& rc = outer.Rect();
    UIRect visible;
    if (!visible.Intersect(canvas.Clip(), rc)) return;
    UIRect innerRect = DeflateSafely(rc, widths);
    CRoundRectShape inner;
    if (!innerRect.IsEmpty()) {
        inner = CRoundRectShape(innerRect, Reduced(outer.Corner(0), widths.left, widths.top),
                                Reduced(outer.Corner(1), widths.right, widths.top),
                                Reduced(outer.Corner(2), widths.right, widths.bottom),
                                Reduced(outer.Corner(3), widths.left, widths.bottom));
    }
    auto ringPixel = [&](Pixel* row, int x, int y) {
        int samples = outer.SamplesInside(x, y) - inner.SamplesInside(x, y);
        BlendCoverage(row + x, color, CRoundRectShape::CoverageOf(std::max(samples, 0)));
    };
    for (int y = visible.top; y < visible.bottom; ++y) {
        Pixel* row = canvas.Row(y);
        if (inner.IsEmpty() || y < innerRect.top || y >= innerRect.bottom) {
            for (int x = visible.left; x < visible.right; ++x) ringPixel(row, x, y);
            continue;
        }
        // Between the inner shape's corner boxes the row is inside the hole: nothing to draw.
        int holeStart = std::max(visible.left, innerRect.left + inner.LeftCornerWidth(y));
        int holeEnd = std::min(visible.right, innerRect.right - inner.RightCornerWidth(y));
        if (holeStart >= holeEnd) holeStart = holeEnd = visible.right;
        for (int x = visible.left; x < holeStart; ++x) ringPixel(row, x, y);
        for (int x = std::max(holeEnd, visible.left); x < visible.right; ++x) ringPixel(row, x, y);
    }
}

}  // namespace

TBrush TBrush::Solid(UIColor color)
{
    TBrush b;
    b.colors[0] = color;
    return b;
}

TBrush TBrush::Gradient(UIColor first, UIColor second, Direction direction)
{
    TBrush b;
    b.colors[0] = first;
    b.colors[1] = second;
    b.count = 2;
    b.direction = direction;
    return b;
}

TBrush TBrush::Gradient(UIColor first, UIColor second, UIColor third, Direction direction)
{
    TBrush b = Gradient(first, second, direction);
    b.colors[2] = third;
    b.count = 3;
    return b;
}

TBrush TBrush::FromControlColors(UIColor bkcolor, UIColor bkcolor2, UIColor bkcolor3)
{
    if (bkcolor2 == 0) return Solid(bkcolor);
    if (bkcolor3 == 0) return Gradient(bkcolor, bkcolor2);
    return Gradient(bkcolor, bkcolor2, bkcolor3);
}

bool TBrush::IsInvisible() const
{
    for (int i = 0; i < count && i < 3; ++i)
        if ((colors[i] >> 24) != 0) return false;
    return true;
}

Pixel BrushColorAt(const TBrush& brush, long long i, long long n)
{
    Pixel first = Premultiply(brush.colors[0]);
    if (brush.count < 2) return first;
    Pixel second = Premultiply(brush.colors[1]);
    if (brush.count == 2) return Lerp(first, second, i, n);
    Pixel third = Premultiply(brush.colors[2]);
    long long middle = n / 2;
    if (i <= middle) return middle == 0 ? first : Lerp(first, second, i, middle);
    return Lerp(second, third, i - middle, n - middle);
}

void FillRect(CCanvas& canvas, const UIRect& rc, UIColor color) { FillRect(canvas, rc, TBrush::Solid(color)); }

void FillRect(CCanvas& canvas, const UIRect& rc, const TBrush& brush)
{
    FillShape(canvas, CRoundRectShape(rc, {}, {}, {}, {}), brush);
}

void FillRoundRect(CCanvas& canvas, const UIRect& rc, UISize ellipse, const TBrush& brush)
{
    FillShape(canvas, CRoundRectShape::FromEllipse(rc, ellipse), brush);
}

void DrawBorder(CCanvas& canvas, const UIRect& rc, const UIRect& widths, UISize ellipse, UIColor color)
{
    if ((color >> 24) == 0 || rc.IsEmpty()) return;
    UIRect w{std::max(widths.left, 0), std::max(widths.top, 0), std::max(widths.right, 0), std::max(widths.bottom, 0)};
    if (w.left == 0 && w.top == 0 && w.right == 0 && w.bottom == 0) return;
    CRoundRectShape outer = CRoundRectShape::FromEllipse(rc, ellipse);
    if (outer.HasRoundCorners()) {
        DrawRoundBorder(canvas, outer, w, Premultiply(color));
        return;
    }
    // Square corners: four bands that do not overlap, so a translucent border is even.
    long long height = static_cast<long long>(rc.bottom) - rc.top;
    long long width = static_cast<long long>(rc.right) - rc.left;
    int top = static_cast<int>(std::min<long long>(w.top, height));
    int bottom = static_cast<int>(std::min<long long>(w.bottom, height - top));
    int left = static_cast<int>(std::min<long long>(w.left, width));
    int right = static_cast<int>(std::min<long long>(w.right, width - left));
    FillRect(canvas, UIRect{rc.left, rc.top, rc.right, rc.top + top}, color);
    FillRect(canvas, UIRect{rc.left, rc.bottom - bottom, rc.right, rc.bottom}, color);
    FillRect(canvas, UIRect{rc.left, rc.top + top, rc.left + left, rc.bottom - bottom}, color);
    FillRect(canvas, UIRect{rc.right - right, rc.top + top, rc.right, rc.bottom - bottom}, color);
}

void RoundCorners(CCanvas& canvas, const UIRect& rc, UISize ellipse)
{
    CRoundRectShape shape = CRoundRectShape::FromEllipse(rc, ellipse);
    UIRect visible;
    if (!shape.HasRoundCorners() || !visible.Intersect(canvas.Clip(), rc)) return;
    for (int y = visible.top; y < visible.bottom; ++y) {
        Pixel* row = canvas.Row(y);
        int leftEnd = std::min(visible.right, std::max(visible.left, rc.left + shape.LeftCornerWidth(y)));
        int rightStart = std::max(leftEnd, std::min(visible.right, rc.right - shape.RightCornerWidth(y)));
        auto cut = [&](int x) {
            int coverage = CRoundRectShape::CoverageOf(shape.SamplesInside(x, y));
            if (coverage != 255) row[x] = ScalePixel(row[x], static_cast<std::uint32_t>(coverage));
        };
        for (int x = visible.left; x < leftEnd; ++x) cut(x);
        for (int x = rightStart; x < visible.right; ++x) cut(x);
    }
}

}  // namespace Render
}  // namespace SkinUI
