#include <gtest/gtest.h>

#include "KPCore/inner/DpiMath.h"

TEST(MeanDpi, TruncatesTheMeanOfBothAxes)
{
    EXPECT_EQ(MeanDpi(96, 96), 96);
    EXPECT_EQ(MeanDpi(120, 144), 132);
    EXPECT_EQ(MeanDpi(96, 97), 96);
    EXPECT_EQ(MeanDpi(144, 192), 168);
}
