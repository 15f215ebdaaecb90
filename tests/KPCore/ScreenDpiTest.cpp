#include <gtest/gtest.h>

#include "KPCore/inner/ScreenDpi.h"

// A fresh prefix has no LogPixels setting: the screen is at 96 DPI, a scale of 100 %.
TEST(GetScreenDpi, Is96InAFreshPrefix) { EXPECT_EQ(GetScreenDpi(), 96); }
