#include "ui/image/ImageAttribute.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

using namespace SkinUI;

TEST(ImageAttributeTest, BareFileNameDrawsOverTheWholeControl)
{
    TDrawInfo info = ParseImageAttribute(L"Install uninstall\\table_bg_install_01.png", 1.5);
    EXPECT_EQ(info.file, L"Install uninstall\\table_bg_install_01.png");
    EXPECT_EQ(info.raw, L"Install uninstall\\table_bg_install_01.png");
    EXPECT_FALSE(info.hasDest);
    EXPECT_FALSE(info.hasSource);
    EXPECT_EQ(info.corner, UIRect{});
    EXPECT_EQ(info.fade, 255);
    EXPECT_EQ(info.mask, 0u);

    EXPECT_EQ(ParseImageAttribute(L"icon_public_close.png", 1.0).file, L"icon_public_close.png");
    EXPECT_EQ(ParseImageAttribute(L"  spaced.png ", 1.0).file, L"spaced.png");
    EXPECT_EQ(ParseImageAttribute(L"a=b.png", 1.0).file, L"a=b.png");  // "=" without a quote
    EXPECT_TRUE(ParseImageAttribute(L"", 1.0).IsEmpty());
}

TEST(ImageAttributeTest, ReadsTheInstallersButtonImage)
{
    TDrawInfo info =
        ParseImageAttribute(L"file='Install uninstall\\btn_Install_new_package.png' corner='10,10,10,10'", 1.0);
    EXPECT_EQ(info.file, L"Install uninstall\\btn_Install_new_package.png");
    EXPECT_EQ(info.corner, (UIRect{10, 10, 10, 10}));
    EXPECT_FALSE(info.hasDest);
}

TEST(ImageAttributeTest, ReadsEveryKey)
{
    TDrawInfo info = ParseImageAttribute(
        L"res='a.png' restype='PNG' dest='1,2,3,4' source='5,6,7,8' corner='1,1,1,1' mask='#FFFF00FF' "
        L"fade='128' hole='true' xtiled='TRUE' ytiled='true' hsl='true' size='16,16' align='center' "
        L"padding='2,3,4,5' unknown='ignored'",
        1.0);
    EXPECT_EQ(info.file, L"a.png");
    EXPECT_EQ(info.resType, L"PNG");
    EXPECT_TRUE(info.hasDest);
    EXPECT_EQ(info.dest, (UIRect{1, 2, 3, 4}));
    EXPECT_TRUE(info.hasSource);
    EXPECT_EQ(info.source, (UIRect{5, 6, 7, 8}));
    EXPECT_EQ(info.corner, (UIRect{1, 1, 1, 1}));
    EXPECT_EQ(info.mask, 0xFFFF00FFu);
    EXPECT_EQ(info.fade, 128);
    EXPECT_TRUE(info.hole);
    EXPECT_TRUE(info.xtiled);
    EXPECT_TRUE(info.ytiled);
    EXPECT_TRUE(info.hsl);
    EXPECT_EQ(info.size, (UISize{16, 16}));
    EXPECT_EQ(info.align, L"center");
    EXPECT_EQ(info.padding, (UIRect{2, 3, 4, 5}));

    // Keys ignore case, double quotes work like single ones, a later key wins.
    info = ParseImageAttribute(L"FILE=\"x.png\" Corner='3,3,3,3' file='y.png' mask='FF00FF'", 1.0);
    EXPECT_EQ(info.file, L"y.png");
    EXPECT_EQ(info.corner, (UIRect{3, 3, 3, 3}));
    EXPECT_EQ(info.mask, 0xFF00FFu);
}

TEST(ImageAttributeTest, FadeIsClampedToAByte)
{
    EXPECT_EQ(ParseImageAttribute(L"file='a' fade='300'", 1.0).fade, 255);
    EXPECT_EQ(ParseImageAttribute(L"file='a' fade='-5'", 1.0).fade, 0);
    EXPECT_EQ(ParseImageAttribute(L"file='a' fade='x'", 1.0).fade, 0);
}

TEST(ImageAttributeTest, AClosingQuoteNotFollowedByASpaceEndsTheList)
{
    TDrawInfo info = ParseImageAttribute(L"file='a.png'corner='5,5,5,5'", 1.0);
    EXPECT_EQ(info.file, L"a.png");
    EXPECT_EQ(info.corner, UIRect{});

    info = ParseImageAttribute(L"file='a.png' dest='1,1,2,2',source='0,0,4,4'", 1.0);
    EXPECT_TRUE(info.hasDest);
    EXPECT_FALSE(info.hasSource);

    // One or more spaces (or other blanks) go on to the next pair.
    info = ParseImageAttribute(L"file='a.png'   \t source='0,0,4,4'  ", 1.0);
    EXPECT_TRUE(info.hasSource);
    EXPECT_EQ(info.source, (UIRect{0, 0, 4, 4}));
}

TEST(ImageAttributeTest, MalformedPairsEndTheList)
{
    TDrawInfo info = ParseImageAttribute(L"file='a.png' corner=5 dest='1,1,2,2'", 1.0);
    EXPECT_EQ(info.file, L"a.png");
    EXPECT_FALSE(info.hasDest);

    info = ParseImageAttribute(L"file='a.png' dest='1,1,2,2", 1.0);
    EXPECT_EQ(info.file, L"a.png");
    EXPECT_FALSE(info.hasDest);

    // A value that opens a pair but never closes it names no image at all.
    EXPECT_TRUE(ParseImageAttribute(L"file='a.png", 1.0).IsEmpty());
    EXPECT_TRUE(ParseImageAttribute(L"file=\"", 1.0).IsEmpty());
}

TEST(ImageAttributeTest, GeometryIsScaledAndRoundedToNearest)
{
    TDrawInfo info = ParseImageAttribute(
        L"file='a.png' dest='1,2,3,-3' source='20,20,180,54' corner='10,0,10,0' padding='1,1,1,1' size='16,16'", 1.5);
    EXPECT_EQ(info.dest, (UIRect{2, 3, 5, -5}));  // halves round away from zero
    EXPECT_EQ(info.source, (UIRect{30, 30, 270, 81}));
    EXPECT_EQ(info.corner, (UIRect{15, 0, 15, 0}));
    EXPECT_EQ(info.padding, (UIRect{2, 2, 2, 2}));
    EXPECT_EQ(info.size, (UISize{16, 16}));  // a draw size is not scaled

    info = ParseImageAttribute(L"file='a.png' corner='10,10,10,10' dest='0,0,208,44'", 2.0);
    EXPECT_EQ(info.corner, (UIRect{20, 20, 20, 20}));
    EXPECT_EQ(info.dest, (UIRect{0, 0, 416, 88}));

    EXPECT_EQ(ParseImageAttribute(L"file='a' corner='10,10,10,10'", 1.25).corner, (UIRect{13, 13, 13, 13}));
    EXPECT_EQ(ParseImageAttribute(L"file='a' corner='10,10,10,10'", 1.75).corner, (UIRect{18, 18, 18, 18}));
}

TEST(ImageAttributeTest, ScalingNeverOverflowsAndIgnoresNonsenseScales)
{
    EXPECT_EQ(ScaleRect(UIRect{INT_MAX, INT_MIN, 1, -1}, 2.0), (UIRect{INT_MAX, INT_MIN, 2, -2}));
    EXPECT_EQ(ScaleRect(UIRect{1, 2, 3, 4}, 0.0), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ScaleRect(UIRect{1, 2, 3, 4}, -2.0), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ScaleRect(UIRect{1, 2, 3, 4}, std::numeric_limits<double>::quiet_NaN()), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ScaleRect(UIRect{1, 2, 3, 4}, std::numeric_limits<double>::infinity()), (UIRect{1, 2, 3, 4}));
}
