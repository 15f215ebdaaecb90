#include "ui/image/NineGrid.h"

#include <gtest/gtest.h>

using namespace SkinUI;

namespace {
UIRect Rect(int l, int t, int r, int b) { return UIRect{l, t, r, b}; }
}  // namespace

TEST(NineGrid, VariantImagesKeepTheScaledCornersPlainImagesGetTheMarkupValues)
{
    // corner='10,10,10,10' at 200 %: the markup values were doubled when parsed.
    EXPECT_EQ(MapCornersToImage(Rect(20, 20, 20, 20), 200, 2.0), Rect(20, 20, 20, 20));
    EXPECT_EQ(MapCornersToImage(Rect(20, 20, 20, 20), 200, 1.0), Rect(10, 10, 10, 10));
    EXPECT_EQ(MapCornersToImage(Rect(15, 0, 15, 0), 150, 1.5), Rect(15, 0, 15, 0));
    EXPECT_EQ(MapCornersToImage(Rect(15, 0, 15, 0), 150, 1.0), Rect(10, 0, 10, 0));
    EXPECT_EQ(MapCornersToImage(Rect(10, 10, 10, 10), 100, 1.0), Rect(10, 10, 10, 10));
}

TEST(NineGrid, LeftAndTopRoundDownRightAndBottomRoundUp)
{
    // 13 / 1.25 = 10.4 and 12 / 1.25 = 9.6
    EXPECT_EQ(MapCornersToImage(Rect(13, 12, 13, 12), 125, 1.0), Rect(10, 9, 11, 10));
    // The best variant at 200 % may be a smaller one: 20 / (2 / 1.25) = 12.5
    EXPECT_EQ(MapCornersToImage(Rect(20, 20, 20, 20), 200, 1.25), Rect(12, 12, 13, 13));
    // A whole-percent factor that has no exact binary form still maps exactly.
    EXPECT_EQ(MapCornersToImage(Rect(12, 23, 12, 23), 115, 1.15), Rect(12, 23, 12, 23));
    EXPECT_EQ(MapCornersToImage(Rect(0, 0, 0, 0), 175, 1.0), Rect(0, 0, 0, 0));
}

TEST(NineGrid, ScalesThatAreNotPositiveCountAsOneHundredPercent)
{
    EXPECT_EQ(MapCornersToImage(Rect(7, 7, 7, 7), 0, 1.0), Rect(7, 7, 7, 7));
    EXPECT_EQ(MapCornersToImage(Rect(7, 7, 7, 7), -150, 0.0), Rect(7, 7, 7, 7));
    EXPECT_EQ(MapCornersToImage(Rect(7, 7, 7, 7), 100, -2.0), Rect(7, 7, 7, 7));
    // Huge corners do not overflow.
    EXPECT_EQ(MapCornersToImage(Rect(2000000000, 0, 0, 0), 100, 2.0).left, 2147483647);
}
