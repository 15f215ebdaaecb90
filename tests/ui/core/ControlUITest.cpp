#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/DPIScale.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

// A control attached to a window of `dpi`, then given the attributes.
struct ScaledControl {
    ScopedProcessDpi dpi;
    CPaintManagerUI manager;
    CControlUI* control = new CControlUI();

    explicit ScaledControl(int screenDpi, CPaintManagerUI::ImageVariantResolver resolver = {})
        : dpi(screenDpi), manager(std::move(resolver))
    {
        manager.AttachDialog(control);
    }
};

}  // namespace

TEST(DPIScaleTest, ScaleFromDpiRoundsToNearestPercent)
{
    EXPECT_EQ(CDPIScale::ScaleFromDpi(96), 100);
    EXPECT_EQ(CDPIScale::ScaleFromDpi(120), 125);
    EXPECT_EQ(CDPIScale::ScaleFromDpi(144), 150);
    EXPECT_EQ(CDPIScale::ScaleFromDpi(192), 200);
    EXPECT_EQ(CDPIScale::ScaleFromDpi(110), 115);  // 114.58 rounds up
    EXPECT_EQ(CDPIScale::ScaleFromDpi(0), 100);
}

TEST(DPIScaleTest, MulDivRoundsHalvesAwayFromZeroAndReportsOverflow)
{
    EXPECT_EQ(MulDivRound(10, 125, 100), 13);  // 12.5
    EXPECT_EQ(MulDivRound(-10, 125, 100), -13);
    EXPECT_EQ(MulDivRound(7, 150, 100), 11);  // 10.5
    EXPECT_EQ(MulDivRound(1, 1, 0), -1);
    EXPECT_EQ(MulDivRound(2000000000, 4, 2), -1);
}

TEST(DPIScaleTest, RectanglesKeepTheirSizeWhereverTheyStand)
{
    const CDPIScale scale(125);
    // Both are 5 wide; scaling each edge on its own would make the second 7 wide.
    const UIRect a = scale.Scale(UIRect{0, 0, 5, 5});
    const UIRect b = scale.Scale(UIRect{1, 1, 6, 6});
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_EQ(b, (UIRect{1, 1, 7, 7}));
    EXPECT_EQ(scale.ScaleMargins(UIRect{1, 2, 3, 4}), (UIRect{1, 3, 4, 5}));
    EXPECT_EQ(CDPIScale(150).Unscale(UIRect{369, 396, 681, 462}), (UIRect{246, 264, 454, 308}));
}

TEST(ControlUITest, PosGivesFixedOffsetAndSizeScaledByTheWindow)
{
    for (const auto& expected : std::vector<std::pair<int, UIRect>>{
             {96, UIRect{246, 264, 454, 308}}, {144, UIRect{369, 396, 681, 462}}, {192, UIRect{492, 528, 908, 616}}}) {
        ScaledControl c(expected.first);
        c.control->SetAttribute(L"pos", L"246,264,454,308");
        const UIRect& want = expected.second;
        EXPECT_EQ(c.control->GetFixedXY().x, want.left) << expected.first;
        EXPECT_EQ(c.control->GetFixedXY().y, want.top) << expected.first;
        EXPECT_EQ(c.control->GetFixedWidth(), want.Width()) << expected.first;
        EXPECT_EQ(c.control->GetFixedHeight(), want.Height()) << expected.first;
        // The document values stay as written.
        EXPECT_EQ(c.control->GetFixedSizeUnscaled(), (UISize{208, 44}));
    }
}

TEST(ControlUITest, PosWrittenRightToLeftStillGivesAPositiveSize)
{
    CControlUI control;
    control.SetAttribute(L"pos", L"100,50,40,10");
    EXPECT_EQ(control.GetFixedWidth(), 60);
    EXPECT_EQ(control.GetFixedHeight(), 40);
}

TEST(ControlUITest, GeometryAttributesScaleAt150Percent)
{
    ScaledControl c(144);
    CControlUI& control = *c.control;
    control.SetAttribute(L"WIDTH", L"20");  // names ignore case
    control.SetAttribute(L"height", L"20");
    control.SetAttribute(L"padding", L"0,11,11,0");
    control.SetAttribute(L"minwidth", L"10");
    control.SetAttribute(L"maxheight", L"31");
    control.SetAttribute(L"borderround", L"10,10");
    control.SetAttribute(L"bordersize", L"1");
    EXPECT_EQ(control.GetFixedWidth(), 30);
    EXPECT_EQ(control.GetFixedHeight(), 30);
    EXPECT_EQ(control.GetPadding(), (UIRect{0, 17, 17, 0}));  // 16.5 rounds away from zero
    EXPECT_EQ(control.GetMinWidth(), 15);
    EXPECT_EQ(control.GetMaxHeight(), 47);
    EXPECT_EQ(control.GetMaxWidth(), MulDivRound(9999, 150, 100));
    EXPECT_EQ(control.GetBorderRound(), (UISize{15, 15}));
    EXPECT_EQ(control.GetBorderSize(), (UIRect{2, 2, 2, 2}));
    EXPECT_EQ(control.EstimateSize(UISize{1000, 1000}), (UISize{30, 30}));
}

TEST(ControlUITest, ImageAttributesAreParsedAtTheWindowScaleAndFollowScaleChanges)
{
    ScaledControl c(144);
    c.control->SetAttribute(L"bkimage", L"file='a.png' corner='10,10,10,10' source='0,0,20,20'");
    EXPECT_EQ(c.control->GetBkImage(), L"file='a.png' corner='10,10,10,10' source='0,0,20,20'");
    EXPECT_EQ(c.control->GetBkImageInfo().corner, (UIRect{15, 15, 15, 15}));
    EXPECT_EQ(c.control->GetBkImageInfo().source, (UIRect{0, 0, 30, 30}));
    c.manager.SetScale(200);
    EXPECT_EQ(c.control->GetBkImageInfo().corner, (UIRect{20, 20, 20, 20}));
    c.control->SetAttribute(L"foreimage", L"btn.png");
    EXPECT_EQ(c.control->GetForeImageInfo().corner, (UIRect{}));
}

namespace {
// A variant lookup that names the scale it was asked for and remembers each question.
CPaintManagerUI::ImageVariantResolver FakeResolver(std::vector<int>& asked)
{
    return [&asked](const std::wstring& file, const std::wstring&, UIColor, int scale, double& imageScale) {
        asked.push_back(scale);
        imageScale = scale / 100.0;
        return L"variant@" + std::to_wstring(scale) + L"-" + file;
    };
}
}  // namespace

TEST(ControlUITest, ImageVariantIsLookedForOnlyAbove100Percent)
{
    std::vector<int> resolvedScales;
    {
        ScaledControl plain(96, FakeResolver(resolvedScales));
        plain.control->SetAttribute(L"bkimage", L"btn.png");
        EXPECT_EQ(plain.control->GetBkImageInfo().file, L"btn.png");
        EXPECT_DOUBLE_EQ(plain.control->GetBkImageSlot().GetImageScale(&plain.manager), 1.0);
    }
    EXPECT_TRUE(resolvedScales.empty());
    {
        ScaledControl scaled(144, FakeResolver(resolvedScales));
        scaled.control->SetAttribute(L"bkimage", L"file='btn.png' corner='2,2,2,2'");
        EXPECT_EQ(scaled.control->GetBkImageInfo().file, L"variant@150-btn.png");
        EXPECT_DOUBLE_EQ(scaled.control->GetBkImageSlot().GetImageScale(&scaled.manager), 1.5);
    }
    EXPECT_EQ(resolvedScales, (std::vector<int>{150}));
}

TEST(ControlUITest, ImageVariantIsLookedForWhenTheImageIsFirstNeeded)
{
    std::vector<int> resolvedScales;
    {
        ScaledControl scaled(192, FakeResolver(resolvedScales));
        scaled.control->SetAttribute(L"bkimage", L"bg.png");
        scaled.control->SetAttribute(L"foreimage", L"fore.png");
        EXPECT_TRUE(resolvedScales.empty());  // setting an attribute decodes nothing
        EXPECT_EQ(scaled.control->GetBkImageInfo().file, L"variant@200-bg.png");
        EXPECT_EQ(scaled.control->GetBkImageInfo().file, L"variant@200-bg.png");
        EXPECT_EQ(resolvedScales, (std::vector<int>{200}));  // once, not once per look
        // A new value is parsed afresh when next needed.
        scaled.control->SetAttribute(L"bkimage", L"other.png");
        EXPECT_EQ(scaled.control->GetBkImageInfo().file, L"variant@200-other.png");
        EXPECT_EQ(resolvedScales, (std::vector<int>{200, 200}));
    }
}

TEST(ControlUITest, PlainAttributesAndUnknownNames)
{
    CControlUI control;
    control.SetAttribute(L"name", L"closebtn");
    control.SetAttribute(L"text", L"关闭");
    control.SetAttribute(L"tooltip", L"tip");
    control.SetAttribute(L"bkcolor", L"#FF1C1C1E");
    control.SetAttribute(L"bkcolor2", L"#00000001");
    control.SetAttribute(L"bordercolor", L"#33333300");
    control.SetAttribute(L"cursor", L"HAND");
    control.SetAttribute(L"visible", L"false");
    control.SetAttribute(L"enabled", L"False");
    control.SetAttribute(L"userdata", L"x");
    control.SetAttribute(L"nosuchattribute", L"1");
    control.SetAttribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(control.GetName(), L"closebtn");
    EXPECT_EQ(control.GetText(), L"关闭");
    EXPECT_EQ(control.GetToolTip(), L"tip");
    EXPECT_EQ(control.GetBkColor(), 0xFF1C1C1Eu);
    EXPECT_EQ(control.GetBkColor2(), 0x00000001u);
    EXPECT_EQ(control.GetBorderColor(), 0x33333300u);
    EXPECT_EQ(control.GetCursor(), UICursor::Hand);
    EXPECT_FALSE(control.IsVisible());
    EXPECT_FALSE(control.IsEnabled());
    EXPECT_EQ(control.GetUserData(), L"x");
    EXPECT_EQ(control.GetBorderSize(), (UIRect{1, 2, 3, 4}));
    control.SetAttribute(L"cursor", L"something");
    EXPECT_EQ(control.GetCursor(), UICursor::Arrow);
}

TEST(ControlUITest, RelativeFloatPosition)
{
    CControlUI control;
    control.SetAttribute(L"float", L"0.0,0.5,1.0,1");
    EXPECT_TRUE(control.IsFloat());
    EXPECT_DOUBLE_EQ(control.GetFloatPercent().top, 0.5);
    EXPECT_DOUBLE_EQ(control.GetFloatPercent().right, 1.0);
    EXPECT_DOUBLE_EQ(control.GetFloatPercent().bottom, 1.0);
    control.SetAttribute(L"float", L"false");
    EXPECT_FALSE(control.IsFloat());
}

TEST(ControlUITest, FloatingChildSitsAtItsPosInsideTheParent)
{
    TestWindow window(
        L"<VerticalLayout><HorizontalLayout height=\"54\"/>"
        L"<Button name=\"b\" float=\"true\" pos=\"246,264,454,308\"/></VerticalLayout>",
        UIRect{0, 0, 700, 420});
    ASSERT_NE(window.root, nullptr) << window.error;
    EXPECT_EQ(window.Find<CControlUI>(L"b")->GetPos(), (UIRect{246, 264, 454, 308}));
}

TEST(ControlUITest, StyleThatNamesItselfDoesNotRecurseForever)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"loop", L"style=\"loop\" width=\"5\"");
    auto* control = new CControlUI();
    manager.AttachDialog(control);
    control->SetAttribute(L"style", L"loop");
    EXPECT_EQ(control->GetFixedWidth(), 5);
}

TEST(ControlUITest, VirtualWndComesFromTheNearestAncestorThatHasOne)
{
    CVerticalLayoutUI root;
    auto* page = new CVerticalLayoutUI();
    auto* inner = new CVerticalLayoutUI();
    auto* button = new CControlUI();
    root.SetVirtualWnd(L"outer");
    page->SetVirtualWnd(L"install0");
    root.Add(page);
    page->Add(inner);
    inner->Add(button);
    EXPECT_EQ(button->GetVirtualWnd(), L"install0");
    EXPECT_EQ(page->GetVirtualWnd(), L"install0");
    EXPECT_EQ(root.GetVirtualWnd(), L"outer");
    page->SetVirtualWnd(L"");
    EXPECT_EQ(button->GetVirtualWnd(), L"outer");
}

TEST(ControlUITest, HidingAContainerHidesItsSubtree)
{
    CVerticalLayoutUI root;
    auto* page = new CVerticalLayoutUI();
    auto* button = new CControlUI();
    root.Add(page);
    page->Add(button);
    page->SetVisible(false);
    EXPECT_FALSE(button->IsVisible());
    EXPECT_TRUE(button->IsOwnVisible());
    page->SetVisible(true);
    EXPECT_TRUE(button->IsVisible());
    // A child added to a hidden container is hidden too.
    page->SetVisible(false);
    auto* late = new CControlUI();
    page->Add(late);
    EXPECT_FALSE(late->IsVisible());
}

TEST(LabelUITest, TextAttributes)
{
    ScopedProcessDpi dpi(144);
    CPaintManagerUI manager;
    auto* label = new CLabelUI();
    manager.AttachDialog(label);
    EXPECT_EQ(label->GetTextStyle(), kTextSingleLine | kTextVCenter | kTextLeft);
    EXPECT_EQ(label->GetFont(), -1);
    label->SetAttribute(L"align", L"center");
    label->SetAttribute(L"valign", L"bottom");
    label->SetAttribute(L"font", L"10");
    label->SetAttribute(L"textcolor", L"#00FFFFFF");
    label->SetAttribute(L"textpadding", L"4,0,0,0");
    label->SetAttribute(L"endellipsis", L"true");
    EXPECT_EQ(label->GetTextStyle(), kTextSingleLine | kTextBottom | kTextCenter | kTextEndEllipsis);
    EXPECT_EQ(label->GetFont(), 10);
    EXPECT_EQ(label->GetTextColor(), 0x00FFFFFFu);
    EXPECT_FALSE(label->GetDisabledTextColor().has_value());
    EXPECT_EQ(label->GetTextPadding(), (UIRect{6, 0, 0, 0}));
    label->SetAttribute(L"wordbreak", L"true");
    EXPECT_EQ(label->GetTextStyle() & (kTextWordBreak | kTextSingleLine), kTextWordBreak);
    label->SetAttribute(L"align", L"left");
    EXPECT_EQ(label->GetTextStyle() & kTextHorizontalMask, kTextLeft);
}

TEST(LabelUITest, TextColourFallsBackToTheWindowColours)
{
    // "#00FFFFFF" has a zero alpha byte and is still a colour that was set.
    EXPECT_EQ(ChooseLabelTextColor(true, 0x00FFFFFFu, std::nullopt, 1, 2), 0x00FFFFFFu);
    EXPECT_EQ(ChooseLabelTextColor(true, std::nullopt, 5u, 1, 2), 1u);
    EXPECT_EQ(ChooseLabelTextColor(false, 0x00FFFFFFu, std::nullopt, 1, 2), 2u);
    EXPECT_EQ(ChooseLabelTextColor(false, 0x00FFFFFFu, 5u, 1, 2), 5u);
}

TEST(TextUITest, WrapsAndStartsAtTheTopByDefault)
{
    CTextUI text;
    EXPECT_EQ(text.GetClass(), L"TextUI");
    EXPECT_EQ(text.GetTextStyle(), kTextWordBreak | kTextTop | kTextLeft);
    text.SetAttribute(L"valign", L"vcenter");
    EXPECT_EQ(text.GetTextStyle() & kTextVerticalMask, kTextVCenter);
}
