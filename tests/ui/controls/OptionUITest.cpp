#include <gtest/gtest.h>

#include "ui/controls/OptionUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

const wchar_t* const kDocument =
    L"<VerticalLayout>"
    L"  <Option name=\"check\" height=\"20\" selected=\"true\" foreimage=\"box.png\" selectedforeimage=\"tick.png\"/>"
    L"  <Option name=\"a\" height=\"20\" group=\"g\" selected=\"true\"/>"
    L"  <Option name=\"b\" height=\"20\" group=\"g\"/>"
    L"  <Option name=\"c\" height=\"20\" group=\"g\"/>"
    L"</VerticalLayout>";

struct OptionWindow : TestWindow {
    OptionWindow() : TestWindow(kDocument) { notifier.Clear(); }
    COptionUI* Option(const wchar_t* name) { return Find<COptionUI>(name); }
    void ClickOption(const wchar_t* name) { Click(CenterOf(Option(name)->GetPos())); }
    std::vector<std::wstring> TypesWithoutFocus() const
    {
        std::vector<std::wstring> types;
        for (const auto& m : notifier.messages) {
            if (m.sType != L"setfocus" && m.sType != L"killfocus") types.push_back(m.sType);
        }
        return types;
    }
};

}  // namespace

TEST(OptionUITest, MarkupSelectionNotifiesNobody)
{
    TestWindow w(kDocument);
    ASSERT_NE(w.root, nullptr) << w.error;
    EXPECT_TRUE(w.Find<COptionUI>(L"check")->IsSelected());
    EXPECT_EQ(w.notifier.Types(), (std::vector<std::wstring>{L"windowinit"}));
}

TEST(OptionUITest, ClickSendsClickThenTogglesAnOptionWithoutGroup)
{
    OptionWindow w;
    COptionUI* check = w.Option(L"check");
    w.ClickOption(L"check");
    EXPECT_FALSE(check->IsSelected());
    EXPECT_EQ(w.TypesWithoutFocus(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
    w.ClickOption(L"check");
    EXPECT_TRUE(check->IsSelected());
    EXPECT_EQ(w.notifier.Count(L"selectchanged"), 2);
    for (const auto& m : w.notifier.messages) EXPECT_EQ(m.pSender, check);
}

TEST(OptionUITest, SelectingAGroupMemberDeselectsTheOthersSilently)
{
    OptionWindow w;
    w.ClickOption(L"b");
    EXPECT_FALSE(w.Option(L"a")->IsSelected());
    EXPECT_TRUE(w.Option(L"b")->IsSelected());
    EXPECT_FALSE(w.Option(L"c")->IsSelected());
    EXPECT_EQ(w.TypesWithoutFocus(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
    EXPECT_EQ(w.notifier.messages.back().pSender, w.Option(L"b"));

    // Clicking the selected member of a group keeps it selected: a click, no change.
    w.notifier.Clear();
    w.ClickOption(L"b");
    EXPECT_TRUE(w.Option(L"b")->IsSelected());
    EXPECT_EQ(w.TypesWithoutFocus(), (std::vector<std::wstring>{L"click"}));
}

TEST(OptionUITest, GroupMemberOnlyDeselectedByCodeSendsNothing)
{
    OptionWindow w;
    w.Option(L"a")->Selected(false);
    EXPECT_FALSE(w.Option(L"a")->IsSelected());
    EXPECT_TRUE(w.notifier.messages.empty());
    w.Option(L"c")->Selected(true);
    EXPECT_EQ(w.notifier.Types(), (std::vector<std::wstring>{L"selectchanged"}));
    w.Option(L"check")->Selected(false);  // no group: deselection is a change worth telling
    EXPECT_EQ(w.notifier.Count(L"selectchanged"), 2);
    w.Option(L"check")->Selected(true, false);  // notification not requested
    EXPECT_EQ(w.notifier.Count(L"selectchanged"), 2);
}

TEST(OptionUITest, DestroyedGroupMemberLeavesTheGroup)
{
    OptionWindow w;
    auto* root = dynamic_cast<CVerticalLayoutUI*>(w.root);
    ASSERT_TRUE(root->Remove(w.Option(L"b")));
    EXPECT_EQ(w.manager.GetOptionGroup(L"g").size(), 2u);
    w.Option(L"c")->Selected(true);  // walks the group: must not meet the destroyed option
    EXPECT_FALSE(w.Option(L"a")->IsSelected());
}

TEST(OptionUITest, NothingIsSentBeforeTheOptionBelongsToAWindow)
{
    FakeUIHost host;
    RecordingNotifier notifier;
    CPaintManagerUI manager;
    manager.SetHost(&host);
    manager.AddNotifier(&notifier);
    manager.AttachDialog(new CVerticalLayoutUI());

    COptionUI loose;
    loose.Selected(true);
    EXPECT_TRUE(loose.IsSelected());
    EXPECT_TRUE(loose.Activate());  // a click toggles, but tells nobody
    EXPECT_FALSE(loose.IsSelected());
    EXPECT_TRUE(notifier.messages.empty());

    auto* attached = new COptionUI();
    dynamic_cast<CVerticalLayoutUI*>(manager.GetRoot())->Add(attached);
    attached->Selected(true);
    EXPECT_EQ(notifier.Types(), (std::vector<std::wstring>{L"selectchanged"}));
}

TEST(OptionUITest, DisabledOptionIgnoresClicks)
{
    OptionWindow w;
    w.Option(L"check")->SetEnabled(false);
    w.ClickOption(L"check");
    EXPECT_TRUE(w.Option(L"check")->IsSelected());
    EXPECT_TRUE(w.TypesWithoutFocus().empty());
}

TEST(OptionUITest, SpaceTogglesTheFocusedCheckBox)
{
    OptionWindow w;
    w.Option(L"check")->SetFocus();
    w.manager.OnKeyDown(kKeySpace);
    EXPECT_FALSE(w.Option(L"check")->IsSelected());
    EXPECT_EQ(w.TypesWithoutFocus(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
}

TEST(OptionUITest, CheckBoxShowsItsSelectedForeImageWhenSelected)
{
    OptionWindow w;
    COptionUI* check = w.Option(L"check");
    EXPECT_EQ(check->ChooseForeImage(), ButtonImage::SelectedFore);
    EXPECT_EQ(check->GetImageSlot(ButtonImage::SelectedFore).Get(&w.manager).file, L"tick.png");
    check->Selected(false);
    EXPECT_EQ(check->ChooseForeImage(), ButtonImage::Fore);
    EXPECT_EQ(check->GetImageSlot(ButtonImage::Fore).Get(&w.manager).file, L"box.png");
    // A selected image that cannot be drawn falls back to the button rule.
    check->Selected(true);
    const auto noTick = [](ButtonImage i) { return i == ButtonImage::Fore; };
    EXPECT_EQ(check->ChooseForeImage(noTick), ButtonImage::Fore);
}

TEST(OptionLookTest, SelectedImagesAndColours)
{
    const auto all = [](ButtonImage) { return true; };
    EXPECT_EQ(ChooseOptionStatusImage(true, kStateHot, all), ButtonImage::SelectedHot);
    EXPECT_EQ(ChooseOptionStatusImage(true, kStateDisabled | kStateHot, all), ButtonImage::SelectedDisabled);
    EXPECT_EQ(ChooseOptionStatusImage(false, kStateHot, all), ButtonImage::Hot);
    const auto onlyButtonImages = [](ButtonImage i) { return i == ButtonImage::Normal || i == ButtonImage::Hot; };
    EXPECT_EQ(ChooseOptionStatusImage(true, kStateHot, onlyButtonImages), ButtonImage::Hot);
    const auto selectedNormalOnly = [](ButtonImage i) {
        return i == ButtonImage::SelectedNormal || i == ButtonImage::Normal;
    };
    EXPECT_EQ(ChooseOptionStatusImage(true, kStatePushed, selectedNormalOnly), ButtonImage::SelectedNormal);

    TButtonTextColors colors;
    colors.normal = 1;
    colors.hot = 2;
    TOptionTextColors selected;
    selected.selected = 3;
    EXPECT_EQ(ChooseOptionTextColor(true, 0, colors, selected, 9, 8), 3u);
    EXPECT_EQ(ChooseOptionTextColor(true, kStateHot, colors, selected, 9, 8), 3u);
    EXPECT_EQ(ChooseOptionTextColor(false, kStateHot, colors, selected, 9, 8), 2u);
    EXPECT_EQ(ChooseOptionTextColor(true, kStateDisabled, colors, selected, 9, 8), 8u);
    selected.selectedHot = 4;
    EXPECT_EQ(ChooseOptionTextColor(true, kStateHot, colors, selected, 9, 8), 4u);
}

// An option's attributes come from its own table, then the button's, the label's and every
// control's, each found whatever the ASCII case of the markup's name.
TEST(OptionUITest, AttributesAreFoundUpTheClassChainWithoutCase)
{
    COptionUI option;
    option.SetAttribute(L"Group", L"g");  // the option's own
    option.SetAttribute(L"SELECTEDFONT", L"3");
    option.SetAttribute(L"HotTextColor", L"#FF010203");  // the button's
    option.SetAttribute(L"textColor", L"#FF0A0B0C");     // the label's
    option.SetAttribute(L"BkColor", L"#FF102030");       // every control's
    option.SetAttribute(L"NoSuchThing", L"1");           // ignored
    EXPECT_EQ(option.GetGroup(), L"g");
    EXPECT_EQ(option.GetSelectedFont(), 3);
    EXPECT_EQ(option.GetTextColors().hot, std::optional<UIColor>(0xFF010203));
    EXPECT_EQ(option.GetTextColor(), std::optional<UIColor>(0xFF0A0B0C));
    EXPECT_EQ(option.GetBkColor(), 0xFF102030u);
    EXPECT_EQ(&option.GetAttributeTable(), &COptionUI::Attributes());
}
