#include <gtest/gtest.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

const wchar_t* const kDocument =
    L"<Window size=\"400,300\">"
    L"<VerticalLayout name=\"root\">"
    L"  <VerticalLayout name=\"page\" virtualwnd=\"install0\">"
    L"    <Button name=\"ok\" float=\"true\" pos=\"10,10,110,50\" text=\"OK\"/>"
    L"    <Button name=\"other\" float=\"true\" pos=\"200,10,300,50\"/>"
    L"  </VerticalLayout>"
    L"</VerticalLayout></Window>";

struct ButtonWindow : TestWindow {
    CButtonUI* ok;
    UIPoint inside;
    UIPoint outside{150, 150};

    ButtonWindow() : TestWindow(kDocument)
    {
        ok = Find<CButtonUI>(L"ok");
        inside = CenterOf(ok->GetPos());
        notifier.Clear();
    }
};

}  // namespace

TEST(ButtonUITest, ClickIsSentOnReleaseInsideOnly)
{
    ButtonWindow w;
    ASSERT_NE(w.ok, nullptr) << w.error;

    w.manager.OnLButtonDown(w.inside);
    EXPECT_TRUE(w.ok->GetButtonState() & kStatePushed);
    EXPECT_EQ(w.notifier.Count(L"click"), 0);  // nothing on the press itself
    w.manager.OnLButtonUp(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);
    EXPECT_FALSE(w.ok->GetButtonState() & kStatePushed);

    // Pressed inside, released outside: nothing.
    w.manager.OnLButtonDown(w.inside);
    w.manager.OnMouseMove(w.outside);
    EXPECT_FALSE(w.ok->GetButtonState() & kStatePushed);  // pops up outside
    w.manager.OnMouseMove(w.inside);
    EXPECT_TRUE(w.ok->GetButtonState() & kStatePushed);  // and down again inside
    w.manager.OnMouseMove(w.outside);
    w.manager.OnLButtonUp(w.outside);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);

    // Pressed outside, released inside: nothing either.
    w.manager.OnLButtonDown(w.outside);
    w.manager.OnLButtonUp(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);

    // Pressed on another button and released on this one: that is no click of either.
    w.manager.OnLButtonDown(CenterOf(w.Find<CButtonUI>(L"other")->GetPos()));
    w.manager.OnLButtonUp(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);
    EXPECT_EQ(w.host.captures, w.host.releases);
}

TEST(ButtonUITest, ClickNotificationCarriesSenderRoutingTimeAndPoint)
{
    ButtonWindow w;
    w.host.now = 4242;
    w.Click(w.inside);
    ASSERT_EQ(w.notifier.Count(L"click"), 1);
    const TNotifyUI* click = nullptr;
    for (const auto& m : w.notifier.messages) {
        if (m.sType == L"click") click = &m;
    }
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->pSender, w.ok);
    EXPECT_EQ(click->sVirtualWnd, L"install0");
    EXPECT_EQ(click->dwTimestamp, 4242u);
    EXPECT_EQ(click->ptMouse.x, w.inside.x);
    EXPECT_EQ(click->ptMouse.y, w.inside.y);
}

TEST(ButtonUITest, SpaceOrEnterClickTheFocusedButton)
{
    ButtonWindow w;
    EXPECT_FALSE(w.manager.OnKeyDown(kKeySpace));  // nothing has the focus yet
    w.ok->SetFocus();
    EXPECT_EQ(w.notifier.Types(), (std::vector<std::wstring>{L"setfocus"}));
    EXPECT_TRUE(w.ok->GetButtonState() & kStateFocused);
    w.manager.OnKeyDown(kKeySpace);
    w.manager.OnKeyDown(kKeyReturn);
    w.manager.OnKeyDown(L'A');
    w.manager.OnKeyDown(kKeyEscape);
    EXPECT_EQ(w.notifier.Count(L"click"), 2);

    w.ok->SetKeyboardEnabled(false);
    w.manager.OnKeyDown(kKeySpace);
    EXPECT_EQ(w.notifier.Count(L"click"), 2);
}

TEST(ButtonUITest, PressMovesTheFocusToTheButton)
{
    ButtonWindow w;
    w.Click(w.inside);
    EXPECT_EQ(w.manager.GetFocus(), w.ok);
    auto* other = w.Find<CButtonUI>(L"other");
    w.Click(CenterOf(other->GetPos()));
    EXPECT_EQ(w.manager.GetFocus(), other);
    EXPECT_FALSE(w.ok->IsFocused());
    const auto types = w.notifier.Types();
    EXPECT_EQ(types, (std::vector<std::wstring>{L"setfocus", L"click", L"killfocus", L"setfocus", L"click"}));
    // A press on the empty page takes the focus away from the buttons.
    w.Click(w.outside);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
}

TEST(ButtonUITest, DisabledButtonTakesNoPressAndSendsNothing)
{
    ButtonWindow w;
    w.ok->SetEnabled(false);
    EXPECT_TRUE(w.ok->GetButtonState() & kStateDisabled);
    w.Click(w.inside);
    EXPECT_FALSE(w.ok->GetButtonState() & kStatePushed);
    EXPECT_EQ(w.notifier.Count(L"click"), 0);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);  // nor does it take the focus
    w.ok->SetFocus();
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
    EXPECT_FALSE(w.ok->Activate());
}

TEST(ButtonUITest, ButtonDisabledWhilePressedDoesNotClickOnRelease)
{
    ButtonWindow w;
    w.manager.OnLButtonDown(w.inside);
    w.ok->SetEnabled(false);
    EXPECT_FALSE(w.ok->GetButtonState() & (kStatePushed | kStateHot));
    w.manager.OnLButtonUp(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 0);
    w.ok->SetEnabled(true);
    w.Click(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);
}

TEST(ButtonUITest, FocusedButtonOnAHiddenPageNeitherKeepsTheFocusNorClicks)
{
    ButtonWindow w;
    w.ok->SetFocus();
    w.Find<CControlUI>(L"page")->SetVisible(false);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
    EXPECT_FALSE(w.ok->IsFocused());
    w.manager.OnKeyDown(kKeySpace);
    EXPECT_FALSE(w.ok->Activate());  // invisible: no click by code either
    EXPECT_EQ(w.notifier.Count(L"click"), 0);
}

TEST(ButtonUITest, HotFollowsTheMouseAndAHiddenButtonForgetsIt)
{
    ButtonWindow w;
    w.manager.OnMouseMove(w.inside);
    EXPECT_TRUE(w.ok->GetButtonState() & kStateHot);
    EXPECT_EQ(w.manager.GetHotControl(), w.ok);
    w.manager.OnMouseMove(w.outside);
    EXPECT_FALSE(w.ok->GetButtonState() & kStateHot);
    w.manager.OnMouseMove(w.inside);
    w.ok->SetVisible(false);
    EXPECT_FALSE(w.ok->GetButtonState() & kStateHot);
    EXPECT_EQ(w.manager.GetHotControl(), nullptr);
    w.ok->SetVisible(true);
    w.manager.OnMouseLeave();
    EXPECT_FALSE(w.ok->GetButtonState() & kStateHot);
}

TEST(ButtonUITest, NoOtherButtonLightsUpWhileOneIsPressed)
{
    ButtonWindow w;
    auto* other = w.Find<CButtonUI>(L"other");
    w.manager.OnMouseMove(w.inside);
    w.manager.OnLButtonDown(w.inside);
    w.manager.OnMouseMove(CenterOf(other->GetPos()));
    EXPECT_FALSE(other->GetButtonState() & kStateHot);
    w.manager.OnLButtonUp(CenterOf(other->GetPos()));
    EXPECT_TRUE(other->GetButtonState() & kStateHot);  // after the release it does
}

TEST(ButtonUITest, LostCaptureCancelsThePress)
{
    ButtonWindow w;
    w.manager.OnLButtonDown(w.inside);
    w.manager.OnWindowKillFocus();
    EXPECT_FALSE(w.ok->GetButtonState() & kStatePushed);
    w.manager.OnLButtonUp(w.inside);
    EXPECT_EQ(w.notifier.Count(L"click"), 0);
}

namespace {
// A window that reports every release of the capture back at once, as Windows does.
struct CaptureReportingHost : FakeUIHost {
    CPaintManagerUI* manager = nullptr;
    void ReleaseCapture() override
    {
        FakeUIHost::ReleaseCapture();
        if (manager) manager->OnCaptureLost();
    }
};
}  // namespace

TEST(ButtonUITest, ReleasingTheCaptureOurselvesDoesNotCancelTheClick)
{
    CaptureReportingHost host;
    RecordingNotifier notifier;
    CPaintManagerUI manager;
    host.manager = &manager;
    manager.SetHost(&host);
    CDialogBuilder builder;
    manager.AttachDialog(
        builder.Create(L"<VerticalLayout><Button name=\"b\" height=\"30\"/></VerticalLayout>", L"", nullptr, &manager));
    manager.AddNotifier(&notifier);
    manager.UpdateLayout(UIRect{0, 0, 100, 100});
    manager.OnLButtonDown(UIPoint{10, 10});
    manager.OnLButtonUp(UIPoint{10, 10});
    EXPECT_EQ(notifier.Count(L"click"), 1);
    host.manager = nullptr;
}

namespace {
// Removes the clicked button from its page inside the click handler.
struct RemovingNotifier : INotifyUI {
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType != L"click") return;
        auto* parent = dynamic_cast<CContainerUI*>(msg.pSender->GetParent());
        removed = parent && parent->Remove(msg.pSender);
    }
    bool removed = false;
};
}  // namespace

TEST(ButtonUITest, ClickHandlerMayRemoveTheButtonItWasSentBy)
{
    ButtonWindow w;
    RemovingNotifier remover;
    w.manager.AddNotifier(&remover);
    w.Click(w.inside);  // the button is destroyed once its own event handling is over
    EXPECT_TRUE(remover.removed);
    EXPECT_EQ(w.manager.FindControl(L"ok"), nullptr);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
    EXPECT_EQ(w.manager.GetHotControl(), w.manager.FindControl(L"page"));  // what is under the mouse now
    w.manager.OnMouseMove(w.inside);
    w.manager.OnKeyDown(kKeySpace);
    w.manager.RemoveNotifier(&remover);
}

TEST(ButtonUITest, BoundTabPageIsSelectedOnClick)
{
    TestWindow w(
        L"<VerticalLayout>"
        L"<Button name=\"go\" height=\"20\" bindtablayoutname=\"tabs\" bindtabindex=\"1\"/>"
        L"<TabLayout name=\"tabs\"><Control name=\"p0\"/><Control name=\"p1\" visible=\"false\"/></TabLayout>"
        L"</VerticalLayout>");
    ASSERT_NE(w.root, nullptr) << w.error;
    w.Click(CenterOf(w.Find<CButtonUI>(L"go")->GetPos()));
    EXPECT_EQ(w.Find<CTabLayoutUI>(L"tabs")->GetCurSel(), 1);
    EXPECT_EQ(w.notifier.Types(), (std::vector<std::wstring>{L"windowinit", L"setfocus", L"click", L"tabselect"}));
}

TEST(ButtonLookTest, WindowDisabledClearsEveryBitButDisabled)
{
    const unsigned all = kStateFocused | kStateHot | kStatePushed | kStateCaptured | kStateDisabled;
    EXPECT_EQ(DrawnButtonState(all, false), kStateDisabled);
    EXPECT_EQ(DrawnButtonState(kStateHot | kStateFocused, false), 0u);
    EXPECT_EQ(DrawnButtonState(kStateHot, true), kStateHot);
}

TEST(ButtonLookTest, StatusImageByPrecedenceWithNormalAsFallback)
{
    const auto all = [](ButtonImage) { return true; };
    EXPECT_EQ(ChooseButtonStatusImage(kStateDisabled | kStatePushed | kStateHot, all), ButtonImage::Disabled);
    EXPECT_EQ(ChooseButtonStatusImage(kStatePushed | kStateHot | kStateFocused, all), ButtonImage::Pushed);
    EXPECT_EQ(ChooseButtonStatusImage(kStateHot | kStateFocused, all), ButtonImage::Hot);
    EXPECT_EQ(ChooseButtonStatusImage(kStateFocused, all), ButtonImage::Focused);
    EXPECT_EQ(ChooseButtonStatusImage(0, all), ButtonImage::Normal);

    // The chosen image missing: normal, not the next in line.
    const auto noPushed = [](ButtonImage i) { return i != ButtonImage::Pushed; };
    EXPECT_EQ(ChooseButtonStatusImage(kStatePushed | kStateHot, noPushed), ButtonImage::Normal);
    const auto nothing = [](ButtonImage) { return false; };
    EXPECT_EQ(ChooseButtonStatusImage(kStateHot, nothing), ButtonImage::None);
}

TEST(ButtonLookTest, ForeImage)
{
    const auto all = [](ButtonImage) { return true; };
    EXPECT_EQ(ChooseButtonForeImage(kStateHot, all), ButtonImage::HotFore);
    EXPECT_EQ(ChooseButtonForeImage(kStateHot | kStatePushed, all), ButtonImage::PushedFore);
    EXPECT_EQ(ChooseButtonForeImage(0, all), ButtonImage::Fore);
    // The markup cannot set a pushed fore image: a pushed button draws its fore image.
    const auto markupOnly = [](ButtonImage i) { return i != ButtonImage::PushedFore; };
    EXPECT_EQ(ChooseButtonForeImage(kStateHot | kStatePushed, markupOnly), ButtonImage::Fore);
}

TEST(ButtonLookTest, TextColourOfTheCustomInstallLink)
{
    // customBtn: text white, hot #00389BFD, pushed #002C7CCA, focused #00333333.
    TButtonTextColors colors;
    colors.normal = 0x00FFFFFF;
    colors.hot = 0x00389BFD;
    colors.pushed = 0x002C7CCA;
    colors.focused = 0x00333333;
    const UIColor windowDefault = 0xFF000000;
    const UIColor windowDisabled = 0xFFA7A6AA;
    EXPECT_EQ(ChooseButtonTextColor(0, colors, windowDefault, windowDisabled), 0x00FFFFFFu);
    EXPECT_EQ(ChooseButtonTextColor(kStateHot | kStateFocused, colors, windowDefault, windowDisabled), 0x00389BFDu);
    EXPECT_EQ(ChooseButtonTextColor(kStatePushed | kStateHot, colors, windowDefault, windowDisabled), 0x002C7CCAu);
    EXPECT_EQ(ChooseButtonTextColor(kStateFocused, colors, windowDefault, windowDisabled), 0x00333333u);
    EXPECT_EQ(ChooseButtonTextColor(kStateDisabled | kStateHot, colors, windowDefault, windowDisabled), windowDisabled);
    colors.focused.reset();
    EXPECT_EQ(ChooseButtonTextColor(kStateFocused, colors, windowDefault, windowDisabled), 0x00FFFFFFu);
}

TEST(ButtonUITest, ImagesOfTheMarkupDecideWhatIsDrawn)
{
    TestWindow w(
        L"<VerticalLayout><Button name=\"b\" height=\"30\" normalimage=\"n.png\" hotimage=\"h.png\" "
        L"textcolor=\"#00FFFFFF\" hottextcolor=\"#00389BFD\"/></VerticalLayout>");
    auto* b = w.Find<CButtonUI>(L"b");
    ASSERT_NE(b, nullptr) << w.error;
    EXPECT_EQ(b->ChooseStatusImage(), ButtonImage::Normal);
    w.manager.OnMouseMove(CenterOf(b->GetPos()));
    EXPECT_EQ(b->ChooseStatusImage(), ButtonImage::Hot);
    EXPECT_EQ(b->GetImageSlot(ButtonImage::Hot).Get(&w.manager).file, L"h.png");
    EXPECT_EQ(b->ChooseTextColor(), 0x00389BFDu);
    w.manager.OnLButtonDown(CenterOf(b->GetPos()));
    EXPECT_EQ(b->ChooseStatusImage(), ButtonImage::Normal);  // no pushedimage
    // A modal box over the window: drawn as if nothing were going on.
    w.host.enabled = false;
    EXPECT_EQ(b->GetDrawnState(), 0u);
    EXPECT_EQ(b->ChooseTextColor(), 0x00FFFFFFu);
}
