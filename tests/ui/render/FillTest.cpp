#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "ui/render/Fill.h"
#include "ui/render/RoundRect.h"

using namespace SkinUI;
using namespace SkinUI::Render;

namespace {

// Counts the pixels of the buffer that are not `background`.
int CountChanged(const CBitmapBuffer& b, int w, int h, Pixel background)
{
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) n += b.At(x, y) != background ? 1 : 0;
    return n;
}

}  // namespace

TEST(Fill, SolidFillCoversExactlyTheRectangle)
{
    CBitmapBuffer b(8, 6);
    FillRect(b.Canvas(), UIRect{2, 1, 5, 4}, 0xFF336699u);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(b.At(x, y), inside ? 0xFF336699u : 0u) << x << "," << y;
        }
}

TEST(Fill, TranslucentFillIsPremultipliedAndCompositedOverContent)
{
    CBitmapBuffer onEmpty(1, 1);
    FillRect(onEmpty.Canvas(), UIRect{0, 0, 1, 1}, 0x80FF0000u);
    EXPECT_EQ(onEmpty.At(0, 0), 0x80800000u);

    CBitmapBuffer onWhite(1, 1, 0xFFFFFFFFu);
    FillRect(onWhite.Canvas(), UIRect{0, 0, 1, 1}, 0x80FF0000u);
    EXPECT_EQ(onWhite.At(0, 0), 0xFFFF7F7Fu);  // 0x80 red + 127/255 of white

    FillRect(onEmpty.Canvas(), UIRect{0, 0, 1, 1}, 0x80FF0000u);  // twice: alpha accumulates
    EXPECT_EQ(onEmpty.At(0, 0), 0xC0C00000u);

    FillRect(onWhite.Canvas(), UIRect{0, 0, 1, 1}, 0x00FF0000u);  // alpha 0 draws nothing
    EXPECT_EQ(onWhite.At(0, 0), 0xFFFF7F7Fu);
}

TEST(Fill, DegenerateAndFarAwayRectanglesAreSafe)
{
    CBitmapBuffer b(4, 4);
    FillRect(b.Canvas(), UIRect{2, 2, 2, 3}, 0xFFFFFFFFu);          // empty
    FillRect(b.Canvas(), UIRect{3, 3, 1, 1}, 0xFFFFFFFFu);          // inverted
    FillRect(b.Canvas(), UIRect{10, 10, 20, 20}, 0xFFFFFFFFu);      // beyond the canvas
    FillRect(b.Canvas(), UIRect{-20, -20, -10, -10}, 0xFFFFFFFFu);  // before it
    FillRoundRect(b.Canvas(), UIRect{3, 3, 1, 1}, UISize{4, 4}, TBrush::Solid(0xFFFFFFFFu));
    DrawBorder(b.Canvas(), UIRect{3, 3, 1, 1}, UIRect{1, 1, 1, 1}, UISize{4, 4}, 0xFFFFFFFFu);
    EXPECT_EQ(CountChanged(b, 4, 4, 0), 0);

    // The whole int range: everything visible is filled, nothing overflows.
    FillRect(b.Canvas(), UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, TBrush::Gradient(0xFF000000u, 0xFFFFFFFFu));
    EXPECT_EQ(CountChanged(b, 4, 4, 0), 16);
    FillRoundRect(b.Canvas(), UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, UISize{INT_MAX, INT_MAX},
                  TBrush::Solid(0xFF00FF00u));
    EXPECT_EQ(b.At(0, 0), 0xFF00FF00u);
    DrawBorder(b.Canvas(), UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, UIRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
               UISize{0, 0}, 0xFF0000FFu);
    EXPECT_EQ(b.At(3, 3), 0xFF0000FFu);
    DrawBorder(b.Canvas(), UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, UIRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
               UISize{INT_MAX, INT_MAX}, 0xFFFF0000u);
    EXPECT_EQ(b.At(2, 1), 0xFFFF0000u);
}

TEST(Fill, FillsStayInsideTheClip)
{
    CBitmapBuffer b(6, 6);
    b.Canvas().PushClip(UIRect{1, 1, 3, 4});
    FillRoundRect(b.Canvas(), UIRect{0, 0, 6, 6}, UISize{2, 2}, TBrush::Solid(0xFFFFFFFFu));
    DrawBorder(b.Canvas(), UIRect{0, 0, 6, 6}, UIRect{2, 2, 2, 2}, UISize{4, 4}, 0xFFFFFFFFu);
    b.Canvas().PopClip();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            if (!(x >= 1 && x < 3 && y >= 1 && y < 4)) {
                EXPECT_EQ(b.At(x, y), 0u) << x << "," << y;
            }
        }
    EXPECT_EQ(b.At(2, 2), 0xFFFFFFFFu);
}

TEST(Fill, VerticalGradientHasItsColoursExactlyAtTheEnds)
{
    CBitmapBuffer b(2, 5);
    FillRect(b.Canvas(), UIRect{0, 0, 2, 5}, TBrush::Gradient(0xFF000000u, 0xFFFFFFFFu));
    // Row i of 5: (255 * i + 2) / 4.
    const std::uint32_t expected[] = {0, 64, 128, 191, 255};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(b.At(x, y), MakePixel(255, expected[y], expected[y], expected[y])) << y;
}

TEST(Fill, ClippedGradientShowsTheColoursOfTheWholeRectangle)
{
    CBitmapBuffer whole(1, 9), clipped(1, 9);
    TBrush brush = TBrush::Gradient(0xFF204080u, 0xFFF0C000u);
    FillRect(whole.Canvas(), UIRect{0, 0, 1, 9}, brush);
    clipped.Canvas().PushClip(UIRect{0, 3, 1, 6});
    FillRect(clipped.Canvas(), UIRect{0, 0, 1, 9}, brush);
    for (int y = 3; y < 6; ++y) EXPECT_EQ(clipped.At(0, y), whole.At(0, y));
    EXPECT_EQ(clipped.At(0, 0), 0u);
    EXPECT_EQ(whole.At(0, 0), 0xFF204080u);
    EXPECT_EQ(whole.At(0, 8), 0xFFF0C000u);
}

TEST(Fill, ThreeColourAndHorizontalGradients)
{
    CBitmapBuffer three(1, 5);
    FillRect(three.Canvas(), UIRect{0, 0, 1, 5}, TBrush::Gradient(0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu));
    EXPECT_EQ(three.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(three.At(0, 1), 0xFF808000u);
    EXPECT_EQ(three.At(0, 2), 0xFF00FF00u);
    EXPECT_EQ(three.At(0, 3), 0xFF008080u);
    EXPECT_EQ(three.At(0, 4), 0xFF0000FFu);

    CBitmapBuffer across(5, 2);
    FillRect(across.Canvas(), UIRect{0, 0, 5, 2}, TBrush::Gradient(0xFF000000u, 0xFFFFFFFFu, TBrush::kHorizontal));
    EXPECT_EQ(across.At(0, 1), 0xFF000000u);
    EXPECT_EQ(across.At(2, 1), 0xFF808080u);
    EXPECT_EQ(across.At(4, 0), 0xFFFFFFFFu);

    CBitmapBuffer one(1, 1);  // a single row shows the first colour
    FillRect(one.Canvas(), UIRect{0, 0, 1, 1}, TBrush::Gradient(0xFF112233u, 0xFF445566u));
    EXPECT_EQ(one.At(0, 0), 0xFF112233u);
}

TEST(Fill, GradientBetweenAlphasInterpolatesPremultipliedColours)
{
    // Opaque red to transparent: the middle is half-transparent red, not a darkened red.
    CBitmapBuffer b(1, 3);
    FillRect(b.Canvas(), UIRect{0, 0, 1, 3}, TBrush::Gradient(0xFFFF0000u, 0x00000000u));
    EXPECT_EQ(b.At(0, 1), 0x80800000u);
    EXPECT_EQ(b.At(0, 2), 0u);
}

TEST(Fill, ControlColoursChooseTheBrush)
{
    TBrush solid = TBrush::FromControlColors(0xFF111111u, 0, 0);
    EXPECT_EQ(solid.count, 1);
    TBrush two = TBrush::FromControlColors(0xFF111111u, 0xFF222222u, 0);
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.direction, TBrush::kVertical);
    EXPECT_EQ(TBrush::FromControlColors(0xFF111111u, 0xFF222222u, 0xFF333333u).count, 3);
    EXPECT_TRUE(TBrush::FromControlColors(0, 0, 0).IsInvisible());
}

TEST(Fill, RoundRectIsAntiAliasedSymmetricAndHasTheRightArea)
{
    const int n = 20;
    CBitmapBuffer b(n, n);
    FillRoundRect(b.Canvas(), UIRect{0, 0, n, n}, UISize{10, 10}, TBrush::Solid(0xFFFFFFFFu));
    EXPECT_EQ(b.At(0, 0), 0u);             // outside the corner circle
    EXPECT_EQ(b.At(10, 10), 0xFFFFFFFFu);  // centre
    EXPECT_EQ(b.At(0, 10), 0xFFFFFFFFu);   // middle of the left edge
    EXPECT_EQ(b.At(10, 0), 0xFFFFFFFFu);   // middle of the top edge
    int partial = 0;
    double area = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Pixel p = b.At(x, y);
            // Opaque white scaled by coverage: all four channels equal.
            ASSERT_EQ(AlphaOf(p), RedOf(p));
            ASSERT_EQ(p, b.At(n - 1 - x, y));
            ASSERT_EQ(p, b.At(x, n - 1 - y));
            ASSERT_EQ(p, b.At(y, x));
            partial += AlphaOf(p) != 0 && AlphaOf(p) != 255 ? 1 : 0;
            area += AlphaOf(p) / 255.0;
        }
    }
    EXPECT_GT(partial, 8);
    // 400 minus the four corners outside a circle of radius 5: (4 - pi) * 25.
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(area, 400 - (4 - pi) * 25, 0.5);
    // Coverage grows along the diagonal into the shape.
    EXPECT_LT(AlphaOf(b.At(1, 1)), AlphaOf(b.At(2, 2)));
}

TEST(Fill, RoundRectRadiiAreClampedAndZeroMeansSquare)
{
    CBitmapBuffer square(4, 4), plain(4, 4), huge(10, 10);
    FillRoundRect(square.Canvas(), UIRect{0, 0, 4, 4}, UISize{0, 0}, TBrush::Solid(0xFF808080u));
    FillRect(plain.Canvas(), UIRect{0, 0, 4, 4}, 0xFF808080u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(square.At(x, y), plain.At(x, y));
    // An ellipse far larger than the rectangle makes it a circle (radius 5).
    FillRoundRect(huge.Canvas(), UIRect{0, 0, 10, 10}, UISize{1000, 1000}, TBrush::Solid(0xFFFFFFFFu));
    EXPECT_EQ(huge.At(0, 0), 0u);
    EXPECT_EQ(huge.At(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(huge.At(5, 1), 0xFFFFFFFFu);
    EXPECT_GT(AlphaOf(huge.At(5, 0)), 240u);  // the circle's top just clips this pixel
    EXPECT_NE(huge.At(1, 1), 0u);
}

TEST(Fill, SquareBorderBandsDoNotOverlap)
{
    CBitmapBuffer b(7, 6);
    DrawBorder(b.Canvas(), UIRect{0, 0, 7, 6}, UIRect{1, 2, 3, 0}, UISize{0, 0}, 0x80FF0000u);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) {
            bool border = x < 1 || x >= 4 || y < 2;
            // A translucent border has the same value everywhere, corners included.
            EXPECT_EQ(b.At(x, y), border ? 0x80800000u : 0u) << x << "," << y;
        }
}

TEST(Fill, RoundBorderFollowsTheOutlineAndLeavesTheInsideAlone)
{
    const int n = 20;
    CBitmapBuffer b(n, n, 0xFF000000u);
    DrawBorder(b.Canvas(), UIRect{0, 0, n, n}, UIRect{1, 1, 1, 1}, UISize{10, 10}, 0xFFFFFFFFu);
    EXPECT_EQ(b.At(0, 0), 0xFF000000u);   // outside the outline
    EXPECT_EQ(b.At(0, 10), 0xFFFFFFFFu);  // on the straight part
    EXPECT_EQ(b.At(19, 10), 0xFFFFFFFFu);
    EXPECT_EQ(b.At(1, 10), 0xFF000000u);  // just inside
    EXPECT_EQ(b.At(10, 10), 0xFF000000u);
    EXPECT_EQ(b.At(3, 3), 0xFF000000u);  // inside the corner's inner curve
    // The stroke along the corner arc is lit, partly.
    Pixel arc = b.At(1, 2);
    EXPECT_NE(arc, 0xFF000000u);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) ASSERT_EQ(b.At(x, y), b.At(n - 1 - x, n - 1 - y));

    // Widths that meet in the middle fill the whole rounded shape.
    CBitmapBuffer full(n, n), filled(n, n);
    DrawBorder(full.Canvas(), UIRect{0, 0, n, n}, UIRect{15, 15, 15, 15}, UISize{10, 10}, 0xFFFFFFFFu);
    FillRoundRect(filled.Canvas(), UIRect{0, 0, n, n}, UISize{10, 10}, TBrush::Solid(0xFFFFFFFFu));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) ASSERT_EQ(full.At(x, y), filled.At(x, y)) << x << "," << y;
}

TEST(Fill, RoundCornersCutsAFinishedImageLikeTheRoundedFill)
{
    const int w = 30, h = 20;
    CBitmapBuffer cut(w, h, 0xFFFFFFFFu), reference(w, h);
    RoundCorners(cut.Canvas(), UIRect{0, 0, w, h}, UISize{9, 9});
    FillRoundRect(reference.Canvas(), UIRect{0, 0, w, h}, UISize{9, 9}, TBrush::Solid(0xFFFFFFFFu));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(cut.At(x, y), reference.At(x, y)) << x << "," << y;
    EXPECT_EQ(cut.At(0, 0), 0u);
    EXPECT_EQ(cut.At(15, 0), 0xFFFFFFFFu);
}

TEST(RoundRectShape, SamplesCountCoverageOfCornerPixels)
{
    CRoundRectShape shape = CRoundRectShape::FromEllipse(UIRect{0, 0, 10, 10}, UISize{10, 10});
    EXPECT_EQ(shape.SamplesInside(5, 5), CRoundRectShape::kSamples);
    EXPECT_EQ(shape.SamplesInside(-1, 5), 0);
    EXPECT_EQ(shape.SamplesInside(0, 0), 0);
    int corner = shape.SamplesInside(1, 1);
    EXPECT_GT(corner, 0);
    EXPECT_LT(corner, CRoundRectShape::kSamples);
    EXPECT_EQ(CRoundRectShape::CoverageOf(0), 0);
    EXPECT_EQ(CRoundRectShape::CoverageOf(CRoundRectShape::kSamples), 255);
    EXPECT_EQ(CRoundRectShape::CoverageOf(32), 128);
}
