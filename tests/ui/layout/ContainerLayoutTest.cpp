#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "ui/layout/ContainerLayout.h"

namespace SkinUI {
std::ostream& operator<<(std::ostream& os, const UIRect& r)
{
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
std::ostream& operator<<(std::ostream& os, const UISize& s) { return os << "(" << s.cx << "x" << s.cy << ")"; }
}  // namespace SkinUI

namespace {

using namespace SkinUI;

const UIRect kUnplaced{-7, -7, -7, -7};

// A plain control as the layouts see it: it estimates its fixed size, whatever it is offered.
struct FakeItem : ILayoutItem {
    bool visible = true;
    bool floating = false;
    UIRect padding;
    int fixedW = 0;
    int fixedH = 0;
    UIPoint xy;
    UIFloatPercent percent;
    int minW = 0, maxW = 9999, minH = 0, maxH = 9999;

    UIRect pos = kUnplaced;
    int placements = 0;
    std::vector<UISize> offers;
    // What the item asks for when it is not simply its fixed size (a nested container, a text).
    bool hasEstimate = false;
    UISize estimate;

    FakeItem(int w = 0, int h = 0) : fixedW(w), fixedH(h) {}
    FakeItem& Pad(int l, int t, int r, int b)
    {
        padding = UIRect{l, t, r, b};
        return *this;
    }
    FakeItem& Hidden()
    {
        visible = false;
        return *this;
    }
    FakeItem& Asks(int w, int h)
    {
        hasEstimate = true;
        estimate = UISize{w, h};
        return *this;
    }
    // Like `float="true" pos="l,t,r,b"`.
    FakeItem& Float(int l, int t, int r, int b)
    {
        floating = true;
        xy = UIPoint{l, t};
        fixedW = r - l;
        fixedH = b - t;
        return *this;
    }

    bool IsVisible() const override { return visible; }
    bool IsFloat() const override { return floating; }
    UIRect GetPadding() const override { return padding; }
    int GetFixedWidth() const override { return fixedW; }
    int GetFixedHeight() const override { return fixedH; }
    UIPoint GetFixedXY() const override { return xy; }
    UIFloatPercent GetFloatPercent() const override { return percent; }
    int GetMinWidth() const override { return minW; }
    int GetMaxWidth() const override { return maxW; }
    int GetMinHeight() const override { return minH; }
    int GetMaxHeight() const override { return maxH; }
    UISize EstimateSize(UISize available) override
    {
        offers.push_back(available);
        return hasEstimate ? estimate : UISize{fixedW, fixedH};
    }
    void SetPos(const UIRect& rc) override
    {
        pos = rc;
        ++placements;
    }
};

std::vector<ILayoutItem*> Items(std::initializer_list<FakeItem*> items) { return {items.begin(), items.end()}; }

LayoutParams Params(int childPadding = 0, UIRect inset = {})
{
    LayoutParams p;
    p.inset = inset;
    p.childPadding = childPadding;
    return p;
}

// ---- vertical: sharing the free height ----

TEST(VerticalLayout, OneAdjustableChildTakesWhatTheFixedOnesLeave)
{
    FakeItem title(0, 54), body(0, 100), rest;
    const UISize needed = LayoutVertical(UIRect{0, 0, 700, 420}, Params(), Items({&title, &body, &rest}));
    EXPECT_EQ(title.pos, (UIRect{0, 0, 700, 54}));
    EXPECT_EQ(body.pos, (UIRect{0, 54, 700, 154}));
    EXPECT_EQ(rest.pos, (UIRect{0, 154, 700, 420}));
    EXPECT_EQ(needed, (UISize{0, 420}));
}

TEST(VerticalLayout, LastAdjustableChildTakesTheRoundingRest)
{
    FakeItem a, b, c;
    LayoutVertical(UIRect{10, 20, 60, 120}, Params(), Items({&a, &b, &c}));
    EXPECT_EQ(a.pos, (UIRect{10, 20, 60, 53}));
    EXPECT_EQ(b.pos, (UIRect{10, 53, 60, 86}));
    EXPECT_EQ(c.pos, (UIRect{10, 86, 60, 120}));
}

TEST(VerticalLayout, RestGoesToTheLastAdjustableEvenWithFixedChildrenAfterIt)
{
    // 101 free pixels for two sharers, with a gap of 3 between the four children.
    FakeItem a, fixed1(0, 10), b, fixed2(0, 20);
    LayoutVertical(UIRect{0, 0, 50, 140}, Params(3), Items({&a, &fixed1, &b, &fixed2}));
    // free = 140 - 30 - 9 = 101, share 50, the last sharer 51
    EXPECT_EQ(a.pos, (UIRect{0, 0, 50, 50}));
    EXPECT_EQ(fixed1.pos, (UIRect{0, 53, 50, 63}));
    EXPECT_EQ(b.pos, (UIRect{0, 66, 50, 117}));
    EXPECT_EQ(fixed2.pos, (UIRect{0, 120, 50, 140}));
}

TEST(VerticalLayout, OverfullLayoutGivesAdjustableChildrenNothing)
{
    FakeItem a, big(0, 300), b, bigger(0, 200);
    const UISize needed = LayoutVertical(UIRect{0, 0, 700, 420}, Params(), Items({&a, &big, &b, &bigger}));
    EXPECT_EQ(a.pos, (UIRect{0, 0, 700, 0}));
    EXPECT_EQ(big.pos, (UIRect{0, 0, 700, 300}));
    EXPECT_EQ(b.pos, (UIRect{0, 300, 700, 300}));
    EXPECT_EQ(bigger.pos, (UIRect{0, 300, 700, 500}));  // runs past the bottom: nothing is shrunk
    EXPECT_EQ(needed, (UISize{0, 500}));
}

// ---- insets, child padding, paddings ----

TEST(VerticalLayout, InsetAndChildPaddingShapeTheStack)
{
    // The feature list of the progress page: five rows of 20 with a gap of 5, inside a 1-pixel inset.
    FakeItem rows[5] = {FakeItem(0, 20), FakeItem(0, 20), FakeItem(0, 20), FakeItem(0, 20), FakeItem(0, 20)};
    const UISize needed = LayoutVertical(UIRect{46, 146, 370, 325}, Params(5, UIRect{1, 1, 1, 1}),
                                         Items({&rows[0], &rows[1], &rows[2], &rows[3], &rows[4]}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rows[i].pos, (UIRect{47, 147 + 25 * i, 369, 167 + 25 * i})) << i;
    EXPECT_EQ(needed, (UISize{0, 120}));
}

TEST(VerticalLayout, PaddingsOffsetChildrenAndCountAsUsedSpace)
{
    FakeItem top = FakeItem(100, 30).Pad(5, 6, 7, 8);
    FakeItem fill = FakeItem().Pad(10, 2, 20, 4);
    const UISize needed = LayoutVertical(UIRect{0, 0, 200, 100}, Params(1), Items({&top, &fill}));
    EXPECT_EQ(top.pos, (UIRect{5, 6, 105, 36}));
    // 100 - (30+6+8) - 1 gap - (2+4) = 49
    EXPECT_EQ(fill.pos, (UIRect{10, 47, 180, 96}));
    EXPECT_EQ(needed, (UISize{112, 100}));
    // The size limit offers the width inside the paddings, and the height left below the first child.
    ASSERT_EQ(fill.offers.size(), 2u);
    EXPECT_EQ(fill.offers[0], (UISize{170, 100}));
    EXPECT_EQ(fill.offers[1], (UISize{170, 100 - 44 - 1 - 2}));
    EXPECT_EQ(top.offers[0], (UISize{100, 30}));  // a fixed size is all a child is offered
}

TEST(VerticalLayout, MessageBoxFrameInsetOfOnePixel)
{
    FakeItem panel(417, 212);
    LayoutVertical(UIRect{0, 0, 417, 212}, Params(0, UIRect{1, 1, 1, 1}), Items({&panel}));
    // A fixed width wider than the room is cut to the room; the fixed height stays.
    EXPECT_EQ(panel.pos, (UIRect{1, 1, 416, 213}));
}

// ---- minimum and maximum sizes ----

TEST(VerticalLayout, MinimumAndMaximumSizesClampChildren)
{
    FakeItem capped;  // shares, but at most 50
    capped.maxH = 50;
    FakeItem raised(0, 10);
    raised.minH = 30;
    FakeItem lowered(0, 100);
    lowered.maxH = 60;
    FakeItem last;  // takes what the cap left over
    LayoutVertical(UIRect{0, 0, 300, 400}, Params(), Items({&capped, &raised, &lowered, &last}));
    // fixed = 30 + 60 = 90, share (400-90)/2 = 155 -> capped at 50; the last gets 400-50-90 = 260
    EXPECT_EQ(capped.pos, (UIRect{0, 0, 300, 50}));
    EXPECT_EQ(raised.pos, (UIRect{0, 50, 300, 80}));
    EXPECT_EQ(lowered.pos, (UIRect{0, 80, 300, 140}));
    EXPECT_EQ(last.pos, (UIRect{0, 140, 300, 400}));
}

TEST(VerticalLayout, WidthFollowsEstimateLimitsAndMinimum)
{
    FakeItem narrow(0, 10);
    narrow.maxW = 200;  // no width: the room, limited by the maximum
    FakeItem wide(0, 10);
    wide.minW = 800;  // wider than the room: the minimum wins
    FakeItem fixed(120, 10);
    fixed.minW = 130;
    const UISize needed = LayoutVertical(UIRect{0, 0, 700, 100}, Params(), Items({&narrow, &wide, &fixed}));
    EXPECT_EQ(narrow.pos, (UIRect{0, 0, 200, 10}));
    EXPECT_EQ(wide.pos, (UIRect{0, 10, 800, 20}));
    // The fixed width limits what the child is offered, so the minimum raises it again.
    EXPECT_EQ(fixed.pos, (UIRect{0, 20, 130, 30}));
    EXPECT_EQ(needed, (UISize{800, 30}));
}

TEST(ClampAndLimit, MaximumWinsAndFixedSizeBeatsMaximum)
{
    FakeItem c;
    c.minW = 40;
    c.maxW = 30;
    EXPECT_EQ(ClampWidth(c, 10), 30);
    EXPECT_EQ(ClampWidth(c, 100), 30);
    c.minH = 5;
    c.maxH = 50;
    EXPECT_EQ(ClampHeight(c, 2), 5);
    EXPECT_EQ(ClampHeight(c, 20), 20);
    EXPECT_EQ(ClampHeight(c, 70), 50);

    FakeItem d(300, 0);
    d.maxW = 100;
    d.maxH = 60;
    EXPECT_EQ(LimitSize(d, UISize{500, 500}), (UISize{300, 60}));
    EXPECT_EQ(LimitSize(d, UISize{200, 40}), (UISize{200, 40}));
}

// ---- alignment ----

TEST(VerticalLayout, ChildAlignPlacesEachChildAcrossTheColumn)
{
    FakeItem a = FakeItem(100, 10).Pad(3, 0, 7, 0), b = FakeItem(101, 10).Pad(3, 0, 7, 0);
    LayoutParams p = Params();
    p.childAlign = kAlignCenter;
    LayoutVertical(UIRect{0, 0, 700, 100}, p, Items({&a, &b}));
    EXPECT_EQ(a.pos, (UIRect{300, 0, 400, 10}));  // centred on 350, paddings ignored
    EXPECT_EQ(b.pos, (UIRect{300, 10, 401, 20}));

    p.childAlign = kAlignRight;
    LayoutVertical(UIRect{0, 0, 700, 100}, p, Items({&a, &b}));
    EXPECT_EQ(a.pos, (UIRect{593, 0, 693, 10}));
    EXPECT_EQ(b.pos, (UIRect{592, 10, 693, 20}));
}

TEST(VerticalLayout, ChildVAlignMovesTheBlockOnlyWithoutAdjustableChildren)
{
    FakeItem a(0, 54), b(0, 100);
    LayoutParams p = Params();
    p.childVAlign = kVAlignCenter;
    LayoutVertical(UIRect{0, 0, 700, 421}, p, Items({&a, &b}));
    EXPECT_EQ(a.pos, (UIRect{0, 133, 700, 187}));  // (421 - 154) / 2 = 133
    EXPECT_EQ(b.pos, (UIRect{0, 187, 700, 287}));

    p.childVAlign = kVAlignBottom;
    LayoutVertical(UIRect{0, 0, 700, 421}, p, Items({&a, &b}));
    EXPECT_EQ(a.pos, (UIRect{0, 267, 700, 321}));
    EXPECT_EQ(b.pos, (UIRect{0, 321, 700, 421}));

    FakeItem fill;
    LayoutVertical(UIRect{0, 0, 700, 421}, p, Items({&a, &fill, &b}));
    EXPECT_EQ(a.pos, (UIRect{0, 0, 700, 54}));
    EXPECT_EQ(fill.pos, (UIRect{0, 54, 700, 321}));
}

// ---- horizontal ----

TEST(HorizontalLayout, RowHeightFillsLabelsAndFixedButtonsKeepTheirHeight)
{
    FakeItem label(460, 0), button = FakeItem(60, 32).Pad(0, 4, 4, 0);
    const UISize needed = LayoutHorizontal(UIRect{158, 78, 678, 118}, Params(), Items({&label, &button}));
    EXPECT_EQ(label.pos, (UIRect{158, 78, 618, 118}));
    EXPECT_EQ(button.pos, (UIRect{618, 82, 678, 114}));
    EXPECT_EQ(needed, (UISize{524, 36}));
}

TEST(HorizontalLayout, InstallPathRowGivesTheLabelTheRemainingWidth)
{
    FakeItem pathLab(0, 40), modify = FakeItem(60, 32).Pad(0, 4, 4, 0);
    LayoutHorizontal(UIRect{158, 78, 678, 118}, Params(), Items({&pathLab, &modify}));
    EXPECT_EQ(pathLab.pos, (UIRect{158, 78, 614, 118}));
    EXPECT_EQ(modify.pos, (UIRect{614, 82, 674, 114}));
}

TEST(HorizontalLayout, TitleBarPushesItsButtonsToTheRight)
{
    FakeItem back = FakeItem(100, 24).Pad(10, 10, 0, 0), spacer;
    FakeItem minBtn = FakeItem(20, 20).Pad(0, 11, 11, 0), closeBtn = FakeItem(20, 20).Pad(0, 11, 11, 0);
    LayoutHorizontal(UIRect{0, 0, 700, 54}, Params(), Items({&back, &spacer, &minBtn, &closeBtn}));
    EXPECT_EQ(back.pos, (UIRect{10, 10, 110, 34}));
    EXPECT_EQ(spacer.pos, (UIRect{110, 0, 638, 54}));
    EXPECT_EQ(minBtn.pos, (UIRect{638, 11, 658, 31}));
    EXPECT_EQ(closeBtn.pos, (UIRect{669, 11, 689, 31}));
}

TEST(HorizontalLayout, SharesRoundingAndChildPaddingAlongTheRow)
{
    FakeItem a, b, c;
    const UISize needed = LayoutHorizontal(UIRect{0, 0, 104, 10}, Params(2), Items({&a, &b, &c}));
    EXPECT_EQ(a.pos, (UIRect{0, 0, 33, 10}));
    EXPECT_EQ(b.pos, (UIRect{35, 0, 68, 10}));
    EXPECT_EQ(c.pos, (UIRect{70, 0, 104, 10}));
    EXPECT_EQ(needed, (UISize{104, 0}));
}

TEST(HorizontalLayout, HeightIsTheMaximumHeightWithinTheRow)
{
    FakeItem capped(10, 0);
    capped.maxH = 30;
    FakeItem zeroMax(10, 60);
    zeroMax.maxH = 0;  // "no maximum": the row between the paddings, within the fixed height
    zeroMax.Pad(0, 5, 0, 7);
    FakeItem tallMin(10, 0);
    tallMin.minH = 80;
    FakeItem fixedTall(10, 70);  // taller than the row: cut to the row
    LayoutHorizontal(UIRect{0, 0, 100, 54}, Params(), Items({&capped, &zeroMax, &tallMin, &fixedTall}));
    EXPECT_EQ(capped.pos, (UIRect{0, 0, 10, 30}));
    EXPECT_EQ(zeroMax.pos, (UIRect{10, 5, 20, 47}));
    EXPECT_EQ(tallMin.pos, (UIRect{20, 0, 30, 80}));
    EXPECT_EQ(fixedTall.pos, (UIRect{30, 0, 40, 54}));
}

TEST(StackedLayouts, EstimatedSizeDecidesTheStackingLengthButNotTheRowHeight)
{
    FakeItem asks = FakeItem().Asks(40, 15), fill;
    LayoutVertical(UIRect{0, 0, 100, 100}, Params(), Items({&asks, &fill}));
    EXPECT_EQ(asks.pos, (UIRect{0, 0, 40, 15}));
    EXPECT_EQ(fill.pos, (UIRect{0, 15, 100, 100}));

    LayoutHorizontal(UIRect{0, 0, 100, 30}, Params(), Items({&asks, &fill}));
    EXPECT_EQ(asks.pos, (UIRect{0, 0, 40, 30}));  // a row gives the maximum height, not the estimate
    EXPECT_EQ(fill.pos, (UIRect{40, 0, 100, 30}));
}

TEST(HorizontalLayout, ChildVAlignPlacesEachChildAndChildAlignMovesTheBlock)
{
    FakeItem a = FakeItem(60, 32).Pad(0, 4, 4, 3), b = FakeItem(40, 5).Pad(0, 4, 4, 3);
    LayoutParams p = Params();
    p.childVAlign = kVAlignCenter;
    p.childAlign = kAlignCenter;
    LayoutHorizontal(UIRect{0, 0, 200, 41}, p, Items({&a, &b}));
    // the block of 108 is moved by (200 - 108) / 2 = 46; centred on 20
    EXPECT_EQ(a.pos, (UIRect{46, 4, 106, 36}));
    EXPECT_EQ(b.pos, (UIRect{110, 18, 150, 23}));

    p.childVAlign = kVAlignBottom;
    p.childAlign = kAlignRight;
    LayoutHorizontal(UIRect{0, 0, 200, 41}, p, Items({&a, &b}));
    EXPECT_EQ(a.pos, (UIRect{92, 6, 152, 38}));
    EXPECT_EQ(b.pos, (UIRect{156, 33, 196, 38}));

    FakeItem fill;
    LayoutHorizontal(UIRect{0, 0, 200, 41}, p, Items({&fill, &a}));
    EXPECT_EQ(fill.pos, (UIRect{0, 0, 136, 41}));  // a sharer: no block alignment
    EXPECT_EQ(a.pos, (UIRect{136, 6, 196, 38}));
}

// ---- floating and invisible children ----

TEST(Float, FloatingChildKeepsItsPosAndTakesNoSpace)
{
    FakeItem title(0, 54), button = FakeItem().Float(246, 264, 454, 308), fill;
    LayoutVertical(UIRect{100, 50, 800, 470}, Params(10, UIRect{1, 2, 3, 4}), Items({&title, &button, &fill}));
    EXPECT_EQ(button.pos, (UIRect{346, 314, 554, 358}));  // from the container's own corner, not the inset
    EXPECT_EQ(title.pos, (UIRect{101, 52, 797, 106}));
    EXPECT_EQ(fill.pos, (UIRect{101, 116, 797, 466}));  // one gap only: the float is not stacked
    EXPECT_TRUE(button.offers.empty());

    // A horizontal strip of floats: every child keeps its own pos.
    FakeItem opt = FakeItem().Float(29, 27, 45, 43), agree = FakeItem().Float(54, 20, 178, 49);
    const UISize needed = LayoutHorizontal(UIRect{0, 352, 700, 420}, Params(), Items({&opt, &agree}));
    EXPECT_EQ(opt.pos, (UIRect{29, 379, 45, 395}));
    EXPECT_EQ(agree.pos, (UIRect{54, 372, 178, 401}));
    EXPECT_EQ(needed, (UISize{0, 0}));
}

TEST(Float, RelativePositionStretchesWithTheContainer)
{
    FakeItem mask = FakeItem().Float(0, 0, 0, 0);
    mask.percent = UIFloatPercent{0.0, 0.0, 1.0, 1.0};
    FakeItem half = FakeItem().Float(5, 6, 25, 16);
    half.percent = UIFloatPercent{0.5, 0.5, 0.5, 0.5};
    LayoutVertical(UIRect{10, 20, 711, 441}, Params(), Items({&mask, &half}));
    EXPECT_EQ(mask.pos, (UIRect{10, 20, 711, 441}));
    EXPECT_EQ(half.pos, (UIRect{10 + 350 + 5, 20 + 210 + 6, 10 + 350 + 25, 20 + 210 + 16}));

    // Nonsense fractions give saturated or zero offsets, never undefined conversions.
    mask.percent = UIFloatPercent{std::nan(""), 0.0, 1e300, -std::numeric_limits<double>::infinity()};
    PlaceFloat(mask, UIRect{0, 0, 100, 100});
    EXPECT_EQ(mask.pos, (UIRect{0, 0, INT_MAX, 0}));
}

TEST(Invisible, HiddenChildrenAreSkippedEntirely)
{
    FakeItem a(0, 10), hidden(0, 50), fill, hiddenFloat = FakeItem().Float(1, 1, 5, 5);
    hidden.Hidden();
    hiddenFloat.Hidden();
    const UISize needed = LayoutVertical(UIRect{0, 0, 100, 100}, Params(5), Items({&a, &hidden, &fill, &hiddenFloat}));
    EXPECT_EQ(a.pos, (UIRect{0, 0, 100, 10}));
    EXPECT_EQ(fill.pos, (UIRect{0, 15, 100, 100}));
    EXPECT_EQ(hidden.placements, 0);
    EXPECT_EQ(hiddenFloat.placements, 0);
    EXPECT_TRUE(hidden.offers.empty());
    EXPECT_EQ(needed, (UISize{0, 100}));

    // Trailing hidden children add no gap either: the bottom-aligned block ends at the bottom.
    LayoutParams p = Params(5);
    p.childVAlign = kVAlignBottom;
    LayoutVertical(UIRect{0, 0, 100, 100}, p, Items({&a, &hidden}));
    EXPECT_EQ(a.pos, (UIRect{0, 90, 100, 100}));
}

// ---- needed sizes ----

TEST(NeededSize, CountsStackedChildrenWithPaddingsAndGapsOnly)
{
    FakeItem a = FakeItem(50, 20).Pad(1, 2, 3, 4), b = FakeItem(80, 0).Pad(0, 0, 10, 0);
    FakeItem flt = FakeItem().Float(0, 0, 500, 500), hidden(900, 900);
    hidden.Hidden();
    const UISize v = LayoutVertical(UIRect{0, 0, 200, 100}, Params(7), Items({&a, &flt, &b, &hidden}));
    // widths: max(50+4, 80+10) = 90; heights: 26 + (100 - 26 - 7) + 7 = 100
    EXPECT_EQ(v, (UISize{90, 100}));

    FakeItem c = FakeItem(50, 20).Pad(1, 2, 3, 4), d = FakeItem(30, 60).Pad(0, 0, 10, 5);
    const UISize h = LayoutHorizontal(UIRect{0, 0, 200, 40}, Params(7), Items({&c, &flt, &d, &hidden}));
    // widths: 54 + 7 + 40 = 101; heights: max(26, 65) = 65 even though the row is only 40
    EXPECT_EQ(h, (UISize{101, 65}));
}

// ---- tab layout ----

TEST(TabLayout, OnlyTheSelectedPageAndFloatsMove)
{
    FakeItem page0, page1 = FakeItem().Pad(2, 3, 4, 5), page2(300, 0), badge = FakeItem().Float(10, 10, 30, 20);
    page0.pos = UIRect{1, 2, 3, 4};
    const auto items = Items({&page0, &page1, &page2, &badge});

    LayoutTab(UIRect{0, 0, 700, 420}, UIRect{1, 1, 1, 1}, items, 1);
    EXPECT_EQ(page1.pos, (UIRect{3, 4, 695, 414}));
    EXPECT_EQ(page0.pos, (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(page2.placements, 0);
    EXPECT_EQ(badge.pos, (UIRect{10, 10, 30, 20}));

    LayoutTab(UIRect{0, 0, 700, 420}, UIRect{1, 1, 1, 1}, items, 2);
    EXPECT_EQ(page2.pos, (UIRect{1, 1, 301, 419}));
    EXPECT_EQ(page1.placements, 1);  // still where the previous layout put it
    EXPECT_EQ(page0.placements, 0);
}

TEST(TabLayout, SelectedPageIsClampedAndOutOfRangeSelectsNone)
{
    FakeItem page(0, 0), other;
    page.maxW = 500;
    page.minH = 600;
    LayoutTab(UIRect{0, 0, 700, 420}, UIRect{}, Items({&page, &other}), 0);
    EXPECT_EQ(page.pos, (UIRect{0, 0, 500, 600}));
    ASSERT_EQ(page.offers.size(), 1u);
    EXPECT_EQ(page.offers[0], (UISize{500, 420}));

    LayoutTab(UIRect{0, 0, 700, 420}, UIRect{}, Items({&page, &other}), 2);
    LayoutTab(UIRect{0, 0, 700, 420}, UIRect{}, Items({&page, &other}), -1);
    EXPECT_EQ(page.placements, 1);
    EXPECT_EQ(other.placements, 0);
}

TEST(TabLayout, FloatingPagesKeepTheirPosAndHiddenFloatsStay)
{
    FakeItem floating = FakeItem().Float(5, 5, 105, 55), hiddenFloat = FakeItem().Float(0, 0, 9, 9);
    hiddenFloat.Hidden();
    LayoutTab(UIRect{100, 100, 800, 520}, UIRect{}, Items({&floating, &hiddenFloat}), 0);
    EXPECT_EQ(floating.pos, (UIRect{105, 105, 205, 155}));
    EXPECT_EQ(floating.placements, 1);
    EXPECT_EQ(hiddenFloat.placements, 0);
}

// ---- degenerate input ----

TEST(Degenerate, NoChildrenNeedNothing)
{
    EXPECT_EQ(LayoutVertical(UIRect{0, 0, 100, 100}, Params(5), {}), (UISize{0, 0}));
    EXPECT_EQ(LayoutHorizontal(UIRect{0, 0, 100, 100}, Params(5), {}), (UISize{0, 0}));
    LayoutTab(UIRect{0, 0, 100, 100}, UIRect{}, {}, 0);

    // Only floating or hidden children: nothing is stacked, so there is no gap to count.
    FakeItem flt = FakeItem().Float(0, 0, 10, 10);
    EXPECT_EQ(LayoutVertical(UIRect{0, 0, 100, 100}, Params(5), Items({&flt})), (UISize{0, 0}));
    EXPECT_EQ(LayoutHorizontal(UIRect{0, 0, 100, 100}, Params(5), Items({&flt})), (UISize{0, 0}));
}

TEST(Degenerate, InvertedRectanglesNeverGiveInvertedChildren)
{
    FakeItem a, b(30, 0), c = FakeItem().Pad(5, 5, 5, 5);
    const UIRect inverted{100, 100, 40, 60};
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0) LayoutVertical(inverted, Params(3, UIRect{20, 20, 20, 20}), Items({&a, &b, &c}));
        else LayoutHorizontal(inverted, Params(3, UIRect{20, 20, 20, 20}), Items({&a, &b, &c}));
        for (FakeItem* item : {&a, &b, &c}) {
            EXPECT_GE(item->pos.Width(), 0) << pass << " " << item->pos;
            EXPECT_GE(item->pos.Height(), 0) << pass << " " << item->pos;
        }
    }
    EXPECT_EQ(a.pos, (UIRect{120, 120, 120, 120}));  // horizontal: the sharer gets no room at all

    FakeItem page;
    LayoutTab(inverted, UIRect{}, Items({&page}), 0);
    EXPECT_EQ(page.pos, (UIRect{100, 100, 100, 100}));
}

TEST(Degenerate, HugeValuesSaturateInsteadOfOverflowing)
{
    const UIRect everything{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    FakeItem a, b, big(INT_MAX, INT_MAX);
    big.maxW = big.maxH = INT_MAX;
    a.maxW = a.maxH = b.maxW = b.maxH = INT_MAX;
    LayoutVertical(everything, Params(INT_MAX, UIRect{INT_MIN, INT_MIN, INT_MIN, INT_MIN}), Items({&a, &big, &b}));
    for (FakeItem* item : {&a, &big, &b}) {
        EXPECT_GE(item->pos.right, item->pos.left) << item->pos;
        EXPECT_GE(item->pos.bottom, item->pos.top) << item->pos;
    }
    EXPECT_EQ(a.pos.top, INT_MIN);
    EXPECT_EQ(b.pos.bottom, INT_MAX);

    LayoutHorizontal(everything, Params(INT_MAX), Items({&a, &big, &b}));
    EXPECT_EQ(a.pos, (UIRect{INT_MIN, INT_MIN, INT_MIN, -1}));
    EXPECT_EQ(big.pos, (UIRect{-1, INT_MIN, INT_MAX - 1, -1}));  // INT_MIN + gap, then INT_MAX wide
    EXPECT_EQ(b.pos.left, INT_MAX);

    FakeItem flt = FakeItem().Float(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    flt.fixedW = flt.fixedH = INT_MAX;
    PlaceFloat(flt, UIRect{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX});
    EXPECT_EQ(flt.pos, (UIRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}));

    FakeItem page(INT_MAX, INT_MAX);
    page.maxW = page.maxH = INT_MAX;
    LayoutTab(UIRect{INT_MAX - 10, 0, INT_MAX, 10}, UIRect{}, Items({&page}), 0);
    EXPECT_EQ(page.pos, (UIRect{INT_MAX - 10, 0, INT_MAX, INT_MAX}));
}

}  // namespace
