#include <gtest/gtest.h>

#include <climits>

#include "ui/controls/ProgressUI.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

TEST(ProgressUITest, DefaultsAndValuesOutsideTheRange)
{
    CProgressUI bar;
    EXPECT_EQ(bar.GetMinValue(), 0);
    EXPECT_EQ(bar.GetMaxValue(), 100);
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_TRUE(bar.IsStretchForeImage());
    bar.SetValue(37);
    EXPECT_EQ(bar.GetValue(), 37);
    bar.SetValue(101);  // the bar keeps the value it had
    EXPECT_EQ(bar.GetValue(), 37);
    bar.SetValue(-1);
    EXPECT_EQ(bar.GetValue(), 37);
    bar.SetValue(100);
    EXPECT_EQ(bar.GetValue(), 100);
}

TEST(ProgressUITest, MarkupValueDoesNotDependOnAttributeOrder)
{
    CProgressUI bar;
    bar.SetAttribute(L"value", L"150");
    bar.SetAttribute(L"max", L"200");
    bar.SetAttribute(L"isstretchfore", L"false");
    bar.SetAttribute(L"hor", L"false");
    EXPECT_EQ(bar.GetValue(), 150);
    EXPECT_EQ(bar.GetMaxValue(), 200);
    EXPECT_FALSE(bar.IsStretchForeImage());
    EXPECT_FALSE(bar.IsHorizontal());
}

TEST(ProgressUITest, RangeIsMadeSaneForDrawing)
{
    const TProgressRange swapped = MakeProgressRangeSane(50, 10, 70);
    EXPECT_EQ(swapped.min, 50);
    EXPECT_EQ(swapped.max, 51);
    EXPECT_EQ(swapped.value, 51);
    const TProgressRange equal = MakeProgressRangeSane(5, 5, 0);
    EXPECT_EQ(equal.max, 6);
    EXPECT_EQ(equal.value, 5);
    const TProgressRange top = MakeProgressRangeSane(INT_MAX, INT_MAX, INT_MAX);
    EXPECT_LT(top.min, top.max);
}

TEST(ProgressUITest, FilledLengthIsTruncatedSinglePrecision)
{
    EXPECT_EQ(ProgressFilledLength(0, 100, 0, 594), 0);
    EXPECT_EQ(ProgressFilledLength(0, 100, 50, 594), 297);
    EXPECT_EQ(ProgressFilledLength(0, 100, 33, 594), 196);  // 196.02
    EXPECT_EQ(ProgressFilledLength(0, 100, 99, 594), 588);  // 588.06
    EXPECT_EQ(ProgressFilledLength(0, 100, 100, 594), 594);
    EXPECT_EQ(ProgressFilledLength(0, 3, 2, 100), 66);       // 66.67 is cut, not rounded
    EXPECT_EQ(ProgressFilledLength(0, 100, 150, 594), 594);  // kept within the range
    EXPECT_EQ(ProgressFilledLength(10, 10, 10, 594), 0);
    // In single precision 16777217 is 16777216: (16777217 - 0) * 1 / 16777217 gives 1, and the
    // filled length of a value one below the maximum is the whole bar.
    EXPECT_EQ(ProgressFilledLength(0, 16777217, 16777216, 1), 1);
    EXPECT_EQ(ProgressFilledLength(INT_MIN, INT_MAX, 0, 1000), 500);
}

TEST(ProgressUITest, FillRectangleHorizontalAndVertical)
{
    EXPECT_EQ(ProgressFillRect(UISize{594, 14}, true, 0, 100, 50), (UIRect{0, 0, 297, 14}));
    EXPECT_EQ(ProgressFillRect(UISize{14, 200}, false, 0, 100, 25), (UIRect{0, 150, 14, 200}));
    EXPECT_EQ(UnscaleProgressRect(UIRect{0, 0, 445, 21}, 150), (UIRect{0, 0, 297, 14}));
}

TEST(ProgressUITest, ForeImageRectangleAt150PercentIsInDocumentUnits)
{
    ScopedProcessDpi dpi(144);
    TestWindow w(
        L"<VerticalLayout><Progress name=\"p\" float=\"true\" pos=\"55,342,649,356\" "
        L"min=\"0\" max=\"100\" value=\"50\"/></VerticalLayout>",
        UIRect{0, 0, 1050, 630});
    auto* bar = w.Find<CProgressUI>(L"p");
    ASSERT_NE(bar, nullptr) << w.error;
    EXPECT_EQ(bar->GetPos().Width(), 891);
    EXPECT_EQ(bar->GetPos().Height(), 21);
    // 891 * 50 / 100 = 445.5 -> 445 pixels, drawn as 297 document units (scaled again when drawn).
    EXPECT_EQ(bar->GetForeImageRect(), (UIRect{0, 0, 297, 14}));
    bar->SetValue(0);
    EXPECT_EQ(bar->GetForeImageRect().Width(), 0);
}
