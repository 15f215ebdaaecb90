#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <limits>

#include "ui/render/ImageDraw.h"
#include "ui/render/Resample.h"

using namespace SkinUI;
using namespace SkinUI::Render;

namespace {

const Pixel kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u,
            kGrey = 0xFF808080u, kYellow = 0xFFFFFF00u, kCyan = 0xFF00FFFFu, kMagenta = 0xFFFF00FFu,
            kBackground = 0xFF202020u;

TImageInfo MakeImage(int w, int h, const std::function<Pixel(int, int)>& pixel, double scale = 1.0)
{
    TImageInfo image;
    image.width = w;
    image.height = h;
    image.scale = scale;
    image.pixels.resize(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Pixel p = pixel(x, y);
            std::memcpy(&image.pixels[(static_cast<std::size_t>(y) * w + x) * 4], &p, 4);
        }
    return image;
}

TImageInfo Solid(int w, int h, Pixel p, double scale = 1.0)
{
    return MakeImage(
        w, h, [p](int, int) { return p; }, scale);
}

TDrawInfo Info()
{
    TDrawInfo info;
    info.file = L"image.png";
    return info;
}

// A 6 x 6 nine-grid test image with 2-pixel margins: each corner its own colour, the top edge
// red in row 0 and green in row 1, the left edge blue in column 0 and yellow in column 1, the
// right and bottom edges cyan, and a grey centre.
TImageInfo NineGridImage(int unit = 1, double scale = 1.0)
{
    return MakeImage(
        6 * unit, 6 * unit,
        [unit](int px, int py) -> Pixel {
            int x = px / unit, y = py / unit;
            bool left = x < 2, right = x >= 4, top = y < 2, bottom = y >= 4;
            if (left && top) return kWhite;
            if (right && top) return kBlack;
            if (left && bottom) return kMagenta;
            if (right && bottom) return 0xFF123456u;
            if (top) return y == 0 ? kRed : kGreen;
            if (left) return x == 0 ? kBlue : kYellow;
            if (right || bottom) return kCyan;
            return kGrey;
        },
        scale);
}

}  // namespace

TEST(ImageDraw, SameSizeDrawCopiesPixelsExactly)
{
    TImageInfo image = MakeImage(4, 3, [](int x, int y) { return 0xFF000000u | static_cast<Pixel>(x * 40 + y * 7); });
    CBitmapBuffer b(8, 6, kBackground);
    DrawImage(b.Canvas(), image, UIRect{2, 1, 6, 4}, Info(), 100);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
            Pixel expected = inside ? 0xFF000000u | static_cast<Pixel>((x - 2) * 40 + (y - 1) * 7) : kBackground;
            EXPECT_EQ(b.At(x, y), expected) << x << "," << y;
        }
}

TEST(ImageDraw, TranslucentPixelsAreCompositedAndFadeScalesThem)
{
    TImageInfo image = Solid(2, 2, 0x80800000u);  // half-transparent red, premultiplied
    CBitmapBuffer b(2, 2, kWhite);
    DrawImage(b.Canvas(), image, UIRect{0, 0, 2, 2}, Info(), 100);
    EXPECT_EQ(b.At(1, 1), 0xFFFF7F7Fu);

    TImageInfo white = Solid(2, 2, kWhite);
    TDrawInfo faded = Info();
    faded.fade = 128;
    CBitmapBuffer empty(2, 2), black(2, 2, kBlack);
    DrawImage(empty.Canvas(), white, UIRect{0, 0, 2, 2}, faded, 100);
    DrawImage(black.Canvas(), white, UIRect{0, 0, 2, 2}, faded, 100);
    EXPECT_EQ(empty.At(0, 0), 0x80808080u);
    EXPECT_EQ(black.At(1, 0), 0xFF808080u);

    faded.fade = 0;  // fully faded: nothing
    CBitmapBuffer untouched(2, 2, kBlack);
    DrawImage(untouched.Canvas(), white, UIRect{0, 0, 2, 2}, faded, 100);
    EXPECT_EQ(untouched.At(0, 0), kBlack);
}

TEST(ImageDraw, EnlargingFiltersBilinearlyAndShrinkingAverages)
{
    TImageInfo twoPixels = MakeImage(2, 1, [](int x, int) { return x == 0 ? kBlack : kWhite; });
    CBitmapBuffer wide(4, 1);
    DrawImage(wide.Canvas(), twoPixels, UIRect{0, 0, 4, 1}, Info(), 100);
    const std::uint32_t up[] = {0, 64, 191, 255};  // centres at -0.25, 0.25, 0.75, 1.25 in the source
    for (int x = 0; x < 4; ++x) EXPECT_EQ(wide.At(x, 0), MakePixel(255, up[x], up[x], up[x])) << x;

    TImageInfo four = MakeImage(4, 1, [](int x, int) { return x < 2 ? kBlack : kWhite; });
    CBitmapBuffer narrow(2, 1);
    DrawImage(narrow.Canvas(), four, UIRect{0, 0, 2, 1}, Info(), 100);
    EXPECT_EQ(narrow.At(0, 0), kBlack);
    EXPECT_EQ(narrow.At(1, 0), kWhite);

    // 1000 alternating columns into one pixel: the average grey, not one sampled column.
    TImageInfo stripes = MakeImage(1000, 3, [](int x, int) { return x % 2 ? kWhite : kBlack; });
    CBitmapBuffer one(1, 1);
    DrawImage(one.Canvas(), stripes, UIRect{0, 0, 1, 1}, Info(), 100);
    EXPECT_NEAR(static_cast<int>(RedOf(one.At(0, 0))), 128, 2);
    EXPECT_EQ(AlphaOf(one.At(0, 0)), 255u);
}

TEST(ImageDraw, StretchingAUniformImageKeepsItsColourAtAnySize)
{
    const Pixel colours[] = {0xFF3A7BC4u, 0x80402010u, 0x01010101u};
    const int sizes[][2] = {{1, 1}, {3, 2}, {7, 5}, {16, 9}, {2, 31}};
    for (Pixel colour : colours)
        for (auto src : sizes)
            for (auto dst : sizes) {
                TImageInfo image = Solid(src[0], src[1], colour);
                CBitmapBuffer b(dst[0], dst[1]);
                DrawImage(b.Canvas(), image, UIRect{0, 0, dst[0], dst[1]}, Info(), 100);
                for (int y = 0; y < dst[1]; ++y)
                    for (int x = 0; x < dst[0]; ++x)
                        ASSERT_EQ(b.At(x, y), colour) << src[0] << "x" << src[1] << " -> " << dst[0] << "x" << dst[1];
            }
}

TEST(ImageDraw, NineGridKeepsCornersAndStretchesEdgesOneWay)
{
    TImageInfo image = NineGridImage();
    TDrawInfo info = Info();
    info.corner = UIRect{2, 2, 2, 2};
    CBitmapBuffer b(12, 10, kBackground);
    DrawImage(b.Canvas(), image, UIRect{0, 0, 12, 10}, info, 100);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            bool left = x < 2, right = x >= 10, top = y < 2, bottom = y >= 8;
            Pixel expected;
            if (left && top) expected = kWhite;
            else if (right && top) expected = kBlack;
            else if (left && bottom) expected = kMagenta;
            else if (right && bottom) expected = 0xFF123456u;
            else if (top) expected = y == 0 ? kRed : kGreen;     // stretched sideways only: rows stay exact
            else if (left) expected = x == 0 ? kBlue : kYellow;  // stretched down only: columns stay exact
            else if (right || bottom) expected = kCyan;
            else expected = kGrey;
            EXPECT_EQ(b.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(ImageDraw, HoleLeavesTheCentreUntouched)
{
    TDrawInfo info = Info();
    info.corner = UIRect{2, 2, 2, 2};
    info.hole = true;
    CBitmapBuffer b(12, 10, kBackground);
    DrawImage(b.Canvas(), NineGridImage(), UIRect{0, 0, 12, 10}, info, 100);
    EXPECT_EQ(b.At(5, 5), kBackground);
    EXPECT_EQ(b.At(2, 2), kBackground);
    EXPECT_EQ(b.At(9, 7), kBackground);
    EXPECT_EQ(b.At(5, 0), kRed);
    EXPECT_EQ(b.At(11, 5), kCyan);
    EXPECT_EQ(b.At(0, 0), kWhite);
}

TEST(ImageDraw, DoubleSizeImageOnA200PercentWindowIsCopiedPixelForPixel)
{
    // Markup corner 2,2,2,2 is parsed as 4,4,4,4 at 200 %; the @2x image has 4-pixel margins.
    TImageInfo image = MakeImage(
        12, 12, [](int x, int y) { return 0xFF000000u | static_cast<Pixel>(x * 16 + y * 3); }, 2.0);
    TDrawInfo info = Info();
    info.corner = UIRect{4, 4, 4, 4};
    CBitmapBuffer b(12, 12);
    DrawImage(b.Canvas(), image, UIRect{0, 0, 12, 12}, info, 200);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(b.At(x, y), 0xFF000000u | static_cast<Pixel>(x * 16 + y * 3)) << x << "," << y;

    // A larger button: the 4 x 4 corners are exact copies of the image's corners.
    CBitmapBuffer big(20, 16);
    DrawImage(big.Canvas(), image, UIRect{0, 0, 20, 16}, info, 200);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(big.At(x, y), 0xFF000000u | static_cast<Pixel>(x * 16 + y * 3));
            EXPECT_EQ(big.At(16 + x, 12 + y), 0xFF000000u | static_cast<Pixel>((8 + x) * 16 + (8 + y) * 3));
        }
}

TEST(ImageDraw, PlainImageOnA200PercentWindowIsSlicedAtItsOwnSizeAndEnlarged)
{
    // Markup corner 2 -> 4 window pixels; in the plain image that is 2 pixels again. Each cell is
    // enlarged within itself, so the uniform corners stay uniform (no bleeding from neighbours).
    TDrawInfo info = Info();
    info.corner = UIRect{4, 4, 4, 4};
    CBitmapBuffer b(24, 20, kBackground);
    DrawImage(b.Canvas(), NineGridImage(), UIRect{0, 0, 24, 20}, info, 200);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(b.At(x, y), kWhite);
            EXPECT_EQ(b.At(20 + x, y), kBlack);
            EXPECT_EQ(b.At(x, 16 + y), kMagenta);
        }
    EXPECT_EQ(b.At(12, 10), kGrey);
    EXPECT_EQ(b.At(12, 0), kRed);    // top edge row 0 of the image, enlarged: still red at the top
    EXPECT_EQ(b.At(12, 3), kGreen);  // and green at the bottom of the margin

    // The same picture from the @2x image (2 image pixels per unit) is an exact copy.
    CBitmapBuffer sharp(24, 20, kBackground);
    DrawImage(sharp.Canvas(), NineGridImage(2, 2.0), UIRect{0, 0, 24, 20}, info, 200);
    EXPECT_EQ(sharp.At(12, 1), kRed);
    EXPECT_EQ(sharp.At(12, 2), kGreen);
    EXPECT_EQ(sharp.At(1, 10), kBlue);
    EXPECT_EQ(sharp.At(2, 10), kYellow);
}

TEST(ImageDraw, TilingRepeatsAtTheImageSizeInWindowPixels)
{
    TImageInfo pair = MakeImage(2, 1, [](int x, int) { return x == 0 ? kRed : kBlue; });
    TDrawInfo info = Info();
    info.xtiled = true;
    CBitmapBuffer b(5, 1);
    DrawImage(b.Canvas(), pair, UIRect{0, 0, 5, 1}, info, 100);
    const Pixel row[] = {kRed, kBlue, kRed, kBlue, kRed};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.At(x, 0), row[x]) << x;

    // @2x at 200 %: tiles of 4 window pixels, copied exactly; ytiled alone stretches across.
    TImageInfo pair2x = MakeImage(
        4, 2, [](int x, int) { return x < 2 ? kRed : kBlue; }, 2.0);
    CBitmapBuffer b2(10, 2);
    DrawImage(b2.Canvas(), pair2x, UIRect{0, 0, 10, 2}, info, 200);
    const Pixel row2[] = {kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue, kRed, kRed};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(b2.At(x, 1), row2[x]) << x;

    // A plain image at 150 %: tiles of 3 pixels, each the enlarged image, so the pattern repeats every 3.
    CBitmapBuffer b3(12, 2);
    DrawImage(b3.Canvas(), pair, UIRect{0, 0, 12, 2}, info, 150);
    for (int x = 0; x + 3 < 12; ++x) EXPECT_EQ(b3.At(x, 0), b3.At(x + 3, 0)) << x;
    EXPECT_EQ(b3.At(0, 0), kRed);

    TDrawInfo both = Info();
    both.xtiled = both.ytiled = true;
    TImageInfo quad = MakeImage(2, 2, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
    CBitmapBuffer checker(5, 5);
    DrawImage(checker.Canvas(), quad, UIRect{0, 0, 5, 5}, both, 100);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(checker.At(x, y), (x + y) % 2 ? kWhite : kBlack);
}

TEST(ImageDraw, DestAndSourceSelectWhereAndWhat)
{
    TImageInfo image = MakeImage(4, 4, [](int x, int y) { return x >= 2 && y >= 2 ? kGreen : kRed; });
    TDrawInfo info = Info();
    info.hasSource = true;
    info.source = UIRect{2, 2, 4, 4};
    info.hasDest = true;
    info.dest = UIRect{1, 1, 3, 3};
    CBitmapBuffer b(8, 8, kBackground);
    DrawImage(b.Canvas(), image, UIRect{2, 2, 7, 7}, info, 100);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inDest = x >= 3 && x < 5 && y >= 3 && y < 5;
            EXPECT_EQ(b.At(x, y), inDest ? kGreen : kBackground) << x << "," << y;
        }

    // At 200 % the parsed source is doubled; on a plain image it is halved back to image pixels.
    info.source = UIRect{4, 4, 8, 8};
    info.dest = UIRect{0, 0, 4, 4};
    CBitmapBuffer b2(4, 4);
    DrawImage(b2.Canvas(), image, UIRect{0, 0, 4, 4}, info, 200);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(b2.At(x, y), kGreen) << x << "," << y;
}

TEST(ImageDraw, NothingIsDrawnOutsideTheControlOrTheClip)
{
    TImageInfo image = Solid(4, 4, kWhite);
    TDrawInfo info = Info();
    info.hasDest = true;
    info.dest = UIRect{-3, -3, 10, 10};  // larger than the control
    CBitmapBuffer b(8, 8, kBackground);
    b.Canvas().PushClip(UIRect{0, 0, 8, 5});
    DrawImage(b.Canvas(), image, UIRect{2, 2, 6, 6}, info, 100);
    EXPECT_EQ(b.Canvas().ClipDepth(), 1);
    b.Canvas().PopClip();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 2 && y < 5;
            EXPECT_EQ(b.At(x, y), inside ? kWhite : kBackground) << x << "," << y;
        }
}

TEST(ImageDraw, DegenerateInputsDrawNothingAndStaySafe)
{
    CBitmapBuffer b(6, 6, kBackground);
    auto unchanged = [&] {
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                if (b.At(x, y) != kBackground) return false;
        return true;
    };
    TImageInfo image = Solid(4, 4, kWhite);
    TImageInfo empty;
    TImageInfo truncated = Solid(4, 4, kWhite);
    truncated.pixels.resize(10);  // fewer bytes than width * height * 4
    DrawImage(b.Canvas(), empty, UIRect{0, 0, 6, 6}, Info(), 100);
    DrawImage(b.Canvas(), truncated, UIRect{0, 0, 6, 6}, Info(), 100);
    DrawImage(b.Canvas(), image, UIRect{4, 4, 2, 2}, Info(), 100);      // inverted control
    DrawImage(b.Canvas(), image, UIRect{10, 10, 20, 20}, Info(), 100);  // off the canvas
    TDrawInfo inverted = Info();
    inverted.hasDest = true;
    inverted.dest = UIRect{3, 3, 1, 1};
    DrawImage(b.Canvas(), image, UIRect{0, 0, 6, 6}, inverted, 100);
    TDrawInfo outside = Info();
    outside.hasSource = true;
    outside.source = UIRect{5, 5, 9, 9};  // beyond the image
    DrawImage(b.Canvas(), image, UIRect{0, 0, 6, 6}, outside, 100);
    outside.source = UIRect{-9, -9, -1, -1};
    DrawImage(b.Canvas(), image, UIRect{0, 0, 6, 6}, outside, 100);
    EXPECT_TRUE(unchanged());

    // Corners wider than image and control shrink in proportion instead of reading past the image.
    TDrawInfo wide = Info();
    wide.corner = UIRect{100, 100, 300, 300};
    DrawImage(b.Canvas(), NineGridImage(), UIRect{0, 0, 6, 6}, wide, 100);
    EXPECT_FALSE(unchanged());
    TDrawInfo negative = Info();
    negative.corner = UIRect{-5, -5, -5, -5};
    DrawImage(b.Canvas(), image, UIRect{0, 0, 6, 6}, negative, 100);
    EXPECT_EQ(b.At(3, 3), kWhite);
}

TEST(ImageDraw, HugeScalesAndRectanglesStayInRange)
{
    TImageInfo image = Solid(3, 3, kGreen);
    const int scales[] = {1, 100, 1000000, INT_MAX, 0, -50};
    const double imageScales[] = {
        1.0,  1e-300, 0.0, -1.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        1e300};
    for (int scale : scales)
        for (double imageScale : imageScales) {
            CBitmapBuffer b(4, 4);
            TDrawInfo info = Info();
            info.corner = UIRect{INT_MAX, 1, INT_MAX, 1};
            info.xtiled = info.ytiled = true;
            info.hasDest = true;
            info.dest = UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
            info.hasSource = true;
            info.source = UIRect{0, 0, INT_MAX, INT_MAX};
            image.scale = imageScale;
            DrawImage(b.Canvas(), image, UIRect{0, 0, 4, 4}, info, scale);
            info.xtiled = info.ytiled = false;
            info.corner = UIRect{};
            info.hasSource = false;
            DrawImage(b.Canvas(), image, UIRect{0, 0, 4, 4}, info, scale);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) ASSERT_EQ(b.At(x, y), kGreen) << scale << " " << imageScale;
        }

    // A control at the far end of the int range.
    CBitmapBuffer b(4, 4);
    DrawImage(b.Canvas(), image, UIRect{INT_MAX - 2, INT_MAX - 2, INT_MAX, INT_MAX}, Info(), 100);
    DrawImage(b.Canvas(), image, UIRect{INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 2}, Info(), 100);
    EXPECT_EQ(b.At(0, 0), 0u);
}

TEST(AxisMap, WeightsAlwaysAddUpTo256AndStayInsideTheSource)
{
    const long long destLens[] = {1, 2, 3, 7, 100, 1000};
    const int srcLens[] = {1, 2, 5, 64, 999};
    for (long long destLen : destLens)
        for (int srcLen : srcLens)
            for (long long tile : {0LL, 3LL}) {
                TAxisSpan span{0, destLen, 0, srcLen, tile};
                CAxisMap map(span, 0, static_cast<int>(destLen));
                ASSERT_EQ(map.Size(), destLen);
                for (int i = 0; i < map.Size(); ++i) {
                    int sum = 0;
                    for (int t = 0; t < map.Count(i); ++t) sum += map.Weights(i)[t];
                    ASSERT_EQ(sum, 256);
                    ASSERT_GE(map.First(i), 0);
                    ASSERT_LE(map.First(i) + map.Count(i), srcLen);
                }
                long long unit = tile == 0 ? destLen : tile;
                if (unit == srcLen || srcLen == 1) {
                    EXPECT_TRUE(map.IsCopy());
                }
            }
}
