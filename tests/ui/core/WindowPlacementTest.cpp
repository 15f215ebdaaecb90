#include <gtest/gtest.h>

#include "ui/core/WindowPlacement.h"

using namespace SkinUI;

TEST(MulDivRound, RoundsToNearestLikeWindows)
{
    EXPECT_EQ(MulDivRound(96, 100, 96), 100);
    EXPECT_EQ(MulDivRound(120, 100, 96), 125);
    EXPECT_EQ(MulDivRound(144, 100, 96), 150);
    EXPECT_EQ(MulDivRound(168, 100, 96), 175);
    EXPECT_EQ(MulDivRound(192, 100, 96), 200);
    EXPECT_EQ(MulDivRound(110, 100, 96), 115);  // 114.58 rounds up
    EXPECT_EQ(MulDivRound(3, 1, 2), 2);         // halves away from zero
    EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRound(5, 1, 0), -1);
    EXPECT_EQ(MulDivRound(2000000000, 2000000000, 1), -1);  // does not fit
}

TEST(CenterWindowPosition, CentresOnTheReferenceWithIntegerHalves)
{
    const UIPoint p = CenterWindowPosition(UIRect{0, 0, 1280, 1024}, UIRect{}, UISize{700, 420}, UIPoint{});
    EXPECT_EQ(p.x, 290);
    EXPECT_EQ(p.y, 302);
    const UIPoint q = CenterWindowPosition(UIRect{0, 0, 1281, 1025}, UIRect{}, UISize{701, 421}, UIPoint{3, -4});
    EXPECT_EQ(q.x, 640 + 3 - 350);
    EXPECT_EQ(q.y, 512 - 4 - 210);
}

TEST(CenterWindowPosition, KeepsTheWindowInsideNonEmptyBounds)
{
    const UIRect bounds{100, 100, 500, 400};
    const UIPoint p = CenterWindowPosition(bounds, bounds, UISize{200, 100}, UIPoint{1000, -1000});
    EXPECT_EQ(p.x, 300);  // right edge at 500
    EXPECT_EQ(p.y, 100);
    const UIPoint big = CenterWindowPosition(bounds, bounds, UISize{600, 500}, UIPoint{});
    EXPECT_EQ(big.x, 100);  // too wide: the left edge wins
    EXPECT_EQ(big.y, 100);
}

TEST(CenterReference, BoundsThenOwnerColumnThenPrimaryMonitor)
{
    const UIRect primary{0, 0, 1280, 1024};
    const UIRect owner{200, 300, 900, 720};
    EXPECT_EQ(CenterReference(UIRect{1, 2, 3, 4}, true, owner, primary), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(CenterReference(UIRect{}, true, owner, primary), (UIRect{200, 0, 900, 1024}));
    EXPECT_EQ(CenterReference(UIRect{}, false, owner, primary), primary);
}
