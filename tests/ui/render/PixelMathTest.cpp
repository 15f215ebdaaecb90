#include <gtest/gtest.h>

#include "ui/render/PixelMath.h"

using namespace SkinUI::Render;

TEST(PixelMath, MulDiv255RoundsToNearestForEveryPair)
{
    for (std::uint32_t c = 0; c < 256; ++c)
        for (std::uint32_t a = 0; a < 256; ++a) ASSERT_EQ(MulDiv255(c, a), (c * a + 127) / 255) << c << " " << a;
}

TEST(PixelMath, ScalePixelScalesEachChannelLikeMulDiv255)
{
    const Pixel samples[] = {0xFFFFFFFFu, 0x80402010u, 0x01010101u, 0xFE00FF7Fu, 0x12345678u, 0x00FF00FFu};
    for (Pixel p : samples) {
        for (std::uint32_t a = 0; a < 256; ++a) {
            Pixel expected = MakePixel(MulDiv255(AlphaOf(p), a), MulDiv255(RedOf(p), a), MulDiv255(GreenOf(p), a),
                                       MulDiv255(BlueOf(p), a));
            ASSERT_EQ(ScalePixel(p, a), expected) << std::hex << p << " " << a;
        }
    }
}

TEST(PixelMath, PremultiplyScalesColourByAlpha)
{
    EXPECT_EQ(Premultiply(0xFF123456u), 0xFF123456u);
    EXPECT_EQ(Premultiply(0x80FF0000u), 0x80800000u);
    EXPECT_EQ(Premultiply(0x40102030u), 0x4004080Cu);  // 16*64/255 = 4.02, 32*64/255 = 8.03, 48*64/255 = 12.05
    EXPECT_EQ(Premultiply(0x00FFFFFFu), 0u);
}

TEST(PixelMath, SourceOverCompositesPremultipliedPixels)
{
    EXPECT_EQ(SourceOver(0xFF102030u, 0xFFFFFFFFu), 0xFF102030u);  // opaque source replaces
    EXPECT_EQ(SourceOver(0x00000000u, 0x80402010u), 0x80402010u);  // transparent source keeps
    // Half red over opaque blue: red 0x80 + blue 0xFF * 127/255.
    EXPECT_EQ(SourceOver(0x80800000u, 0xFF0000FFu), 0xFF80007Fu);
    // Half red over half red.
    EXPECT_EQ(SourceOver(0x80800000u, 0x80800000u), 0xC0C00000u);
}

TEST(PixelMath, SourceOverOfValidPixelsNeverOverflowsAChannel)
{
    // The largest channel values a valid premultiplied pixel can have are equal to its alpha.
    for (std::uint32_t sa = 0; sa < 256; ++sa) {
        for (std::uint32_t da = 0; da < 256; ++da) {
            std::uint32_t out = sa + MulDiv255(da, 255 - sa);
            ASSERT_LE(out, 255u);
            ASSERT_EQ(SourceOver(MakePixel(sa, sa, sa, sa), MakePixel(da, da, da, da)), MakePixel(out, out, out, out));
        }
    }
}

TEST(PixelMath, BlendCoverageScalesTheSourceFirst)
{
    Pixel dst = 0xFF000000u;
    BlendCoverage(&dst, 0xFFFFFFFFu, 0);
    EXPECT_EQ(dst, 0xFF000000u);
    BlendCoverage(&dst, 0xFFFFFFFFu, 128);
    EXPECT_EQ(dst, 0xFF808080u);
    BlendCoverage(&dst, 0xFF102030u, 255);
    EXPECT_EQ(dst, 0xFF102030u);
}
