#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "pages/ProgressText.h"

TEST(ProgressText, PercentIsCutTowardZeroNeverRounded)
{
    EXPECT_EQ(0, TruncatePercent(0.0));
    EXPECT_EQ(37, TruncatePercent(37.0));
    EXPECT_EQ(99, TruncatePercent(99.99));
    EXPECT_EQ(100, TruncatePercent(100.0));
    EXPECT_EQ(70, TruncatePercent(70.9));
    EXPECT_EQ(0, TruncatePercent(-0.5));
    EXPECT_EQ(-3, TruncatePercent(-3.7));
}

TEST(ProgressText, ValuesOutsideIntAreHeldInsteadOfOverflowing)
{
    EXPECT_EQ(INT_MAX, TruncatePercent(1e300));
    EXPECT_EQ(INT_MIN, TruncatePercent(-1e300));
    EXPECT_EQ(INT_MAX, TruncatePercent(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(0, TruncatePercent(std::nan("")));
    EXPECT_EQ(2147483000, TruncatePercent(2147483000.9));
}

TEST(ProgressText, LineIsPrefixSpaceNumberPercent)
{
    EXPECT_EQ(L"正在安装，请不要关闭 0%", ProgressLine(0));
    EXPECT_EQ(L"正在安装，请不要关闭 37%", ProgressLine(37));
    EXPECT_EQ(L"正在安装，请不要关闭 100%", ProgressLine(100));
    // No range check: the line shows whatever number it is given.
    EXPECT_EQ(L"正在安装，请不要关闭 250%", ProgressLine(250));
    EXPECT_EQ(L"正在安装，请不要关闭 -1%", ProgressLine(-1));
}
