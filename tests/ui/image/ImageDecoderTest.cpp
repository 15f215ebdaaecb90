#include "ui/image/ImageDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;

namespace {

// The decoded pixel at (x, y) as 0xAARRGGBB read from the B, G, R, A bytes.
std::uint32_t PixelAt(const TImageInfo& image, int x, int y)
{
    const std::uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

std::shared_ptr<TImageInfo> Decode(const Bytes& bytes, UIColor mask = 0)
{
    return DecodeImage(bytes.data(), bytes.size(), mask);
}

// A PNG whose header claims `width` x `height` (the data behind it is a 1 x 1 image).
Bytes PngClaiming(std::uint32_t width, std::uint32_t height)
{
    Bytes png = SkinTest::SolidPng(1, 1, 0xFF000000);
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    return png;
}

}  // namespace

TEST(ImageDecoder, PngBecomesPremultipliedBgraInRowOrder)
{
    // Row 0: opaque red, half-transparent green; row 1: opaque blue, fully transparent white.
    const auto image = Decode(SkinTest::MakePng(2, 2, {0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    ASSERT_EQ(image->pixels.size(), 16u);
    // Memory order B, G, R, A.
    EXPECT_EQ(image->pixels[0], 0);
    EXPECT_EQ(image->pixels[1], 0);
    EXPECT_EQ(image->pixels[2], 255);
    EXPECT_EQ(image->pixels[3], 255);
    EXPECT_EQ(PixelAt(*image, 1, 0), 0x80008000u);  // 255 * 128 / 255 = 128
    EXPECT_EQ(PixelAt(*image, 0, 1), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(*image, 1, 1), 0x00000000u);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(image->scale, 1.0);
    EXPECT_EQ(image->mask, 0u);
}

TEST(ImageDecoder, OpaqueImagesHaveNoAlphaInEveryFormat)
{
    const std::vector<std::uint32_t> pixels(8 * 8, 0xFF336699);
    const auto png = Decode(SkinTest::MakePng(8, 8, pixels));
    const auto bmp = Decode(SkinTest::SolidBmp(8, 8, 0xFF336699));
    const auto jpeg = Decode(SkinTest::MakeJpeg(8, 8, pixels));
    for (const auto& image : {png, bmp, jpeg}) {
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 8);
        EXPECT_EQ(image->height, 8);
        EXPECT_FALSE(image->hasAlpha);
    }
    EXPECT_EQ(PixelAt(*png, 3, 3), 0xFF336699u);
    EXPECT_EQ(PixelAt(*bmp, 7, 7), 0xFF336699u);
    // JPEG is lossy: close to the colour, still opaque.
    const std::uint32_t j = PixelAt(*jpeg, 4, 4);
    EXPECT_EQ(j >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((j >> 16) & 0xFF), 0x33, 4);
    EXPECT_NEAR(static_cast<int>(j & 0xFF), 0x99, 4);
}

TEST(ImageDecoder, MaskColourBecomesFullyTransparent)
{
    // The scroll-bar bitmap's mask is #FFFF00FF: magenta pixels vanish, the rest stay.
    const Bytes bmp =
        SkinTest::MakeBmp32(4, 1, [](int x, int) -> std::uint32_t { return x % 2 ? 0xFFFF00FF : 0xFF102030; });
    const auto masked = Decode(bmp, 0xFFFF00FF);
    ASSERT_TRUE(masked);
    EXPECT_EQ(PixelAt(*masked, 0, 0), 0xFF102030u);
    EXPECT_EQ(PixelAt(*masked, 1, 0), 0x00000000u);
    EXPECT_EQ(PixelAt(*masked, 3, 0), 0x00000000u);
    EXPECT_TRUE(masked->hasAlpha);
    EXPECT_EQ(masked->mask, 0xFFFF00FFu);
    // Only RGB is compared: the mask's alpha byte does not matter.
    const auto noAlphaByte = Decode(bmp, 0x00FF00FF);
    ASSERT_TRUE(noAlphaByte);
    EXPECT_EQ(PixelAt(*noAlphaByte, 1, 0), 0x00000000u);
    // No mask: nothing changes, not even black pixels for a zero mask.
    const auto unmasked = Decode(SkinTest::SolidBmp(2, 1, 0xFF000000), 0);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(PixelAt(*unmasked, 0, 0), 0xFF000000u);
    EXPECT_FALSE(unmasked->hasAlpha);
    // A black mask with an alpha byte is not "no mask".
    const auto blackMask = Decode(SkinTest::SolidBmp(2, 1, 0xFF000000), 0xFF000000);
    ASSERT_TRUE(blackMask);
    EXPECT_EQ(PixelAt(*blackMask, 0, 0), 0x00000000u);
}

TEST(ImageDecoder, GarbageTruncatedAndForgedImagesGiveNoImage)
{
    const Bytes png = SkinTest::SolidPng(16, 16, 0xFF00FF00);
    EXPECT_FALSE(Decode(SkinTest::ToBytes("not an image")));
    EXPECT_FALSE(DecodeImage(nullptr, 0, 0));
    EXPECT_FALSE(Decode(Bytes(png.begin(), png.begin() + 40)));
    // Headers claiming more than the limits are refused before any pixel is decoded.
    EXPECT_FALSE(Decode(PngClaiming(kMaxImageSide + 1, 1)));
    EXPECT_FALSE(Decode(PngClaiming(60000, 60000)));
    EXPECT_FALSE(Decode(PngClaiming(8192, 8192)));  // each side fits, the pixel count does not
    EXPECT_FALSE(Decode(PngClaiming(0, 10)));
}

// Huffman tables with more than 256 symbols would make the JPEG decoder write past its tables;
// such files, and progressive ones, are refused before decoding.
TEST(ImageDecoder, JpegWithOversizedHuffmanTablesOrProgressiveFramesIsRefused)
{
    const std::vector<std::uint32_t> pixels(16 * 16, 0xFF808080);
    const Bytes jpeg = SkinTest::MakeJpeg(16, 16, pixels);
    ASSERT_TRUE(Decode(jpeg));
    size_t dht = 0;
    size_t sof = 0;
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC4 && !dht) dht = i;
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0 && !sof) sof = i;
    }
    ASSERT_TRUE(dht && sof);
    Bytes overfull = jpeg;
    for (int k = 0; k < 16; ++k) overfull[dht + 5 + k] = 0xFF;  // 16 * 255 symbols in the first table
    EXPECT_FALSE(Decode(overfull));
    Bytes barelyTooMany = jpeg;
    for (int k = 0; k < 16; ++k) barelyTooMany[dht + 5 + k] = 0;
    barelyTooMany[dht + 5 + 15] = 255;
    barelyTooMany[dht + 5 + 14] = 2;  // 257 symbols
    EXPECT_FALSE(Decode(barelyTooMany));
    Bytes progressive = jpeg;
    progressive[sof + 1] = 0xC2;
    EXPECT_FALSE(Decode(progressive));
}

TEST(ImageDecoder, RandomDamageNeverCrashes)
{
    std::vector<std::uint32_t> pixels(32 * 32);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u);
    const Bytes originals[] = {SkinTest::MakePng(32, 32, pixels), SkinTest::MakeJpeg(32, 32, pixels),
                               SkinTest::MakeBmp32(32, 32, [](int x, int y) { return 0xFF000000u + x * 977 + y; })};
    std::mt19937 random(99);
    for (const Bytes& original : originals) {
        for (int round = 0; round < 400; ++round) {
            Bytes damaged = original;
            for (int c = 0; c < 4; ++c) {
                damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
            }
            if (random() % 4 == 0) {
                damaged.resize(random() % damaged.size());
            }
            const auto image = Decode(damaged);
            if (image) {
                EXPECT_EQ(image->pixels.size(), static_cast<size_t>(image->width) * image->height * 4);
            }
        }
    }
}
