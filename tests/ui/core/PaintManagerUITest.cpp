#include <gtest/gtest.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/core/WindowSettings.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

struct Fixture : ::testing::Test {
    FakeUIHost host;
    RecordingNotifier notifier;
    CPaintManagerUI manager;
    CVerticalLayoutUI* root = new CVerticalLayoutUI();

    Fixture()
    {
        manager.SetHost(&host);
        manager.AddNotifier(&notifier);
        manager.AttachDialog(root);
    }
    ~Fixture() override { CPaintManagerUI::RemoveAllShared(); }

    template <typename T = CControlUI>
    T* AddChild(const std::wstring& name, int height = 20)
    {
        auto* control = new T();
        control->SetName(name);
        control->SetFixedHeight(height);
        root->Add(control);
        return control;
    }
};

using PaintManagerUITest = Fixture;

}  // namespace

TEST_F(PaintManagerUITest, FindControlByExactName)
{
    CControlUI* first = AddChild(L"closebtn");
    CControlUI* second = AddChild(L"closebtn");
    EXPECT_EQ(manager.FindControl(L"closebtn"), first);  // the first of a repeated name
    EXPECT_EQ(manager.FindControl(L"CloseBtn"), nullptr);
    EXPECT_EQ(manager.FindControl(L""), nullptr);

    first->SetName(L"renamed");
    EXPECT_EQ(manager.FindControl(L"renamed"), first);
    EXPECT_EQ(manager.FindControl(L"closebtn"), second);  // the other one takes the free name

    root->Remove(second);
    EXPECT_EQ(manager.FindControl(L"closebtn"), nullptr);

    // Detached without being destroyed: it is no longer part of this window.
    ASSERT_TRUE(root->Remove(first, true));
    EXPECT_EQ(manager.FindControl(L"renamed"), nullptr);
    EXPECT_EQ(first->GetManager(), nullptr);
    delete first;
}

TEST_F(PaintManagerUITest, WindowInitIsSentOnceAfterTheFirstLayout)
{
    CControlUI* child = AddChild(L"child", 54);
    EXPECT_EQ(notifier.Count(L"windowinit"), 0);
    manager.UpdateLayout(UIRect{0, 0, 700, 420});
    EXPECT_EQ(notifier.Count(L"windowinit"), 1);
    EXPECT_EQ(notifier.messages[0].pSender, root);
    EXPECT_EQ(child->GetPos(), (UIRect{0, 0, 700, 54}));
    manager.UpdateLayout(UIRect{0, 0, 800, 420});
    child->SetFixedHeight(60);
    manager.UpdateLayout(UIRect{0, 0, 800, 420});
    EXPECT_EQ(child->GetPos(), (UIRect{0, 0, 800, 60}));
    EXPECT_EQ(notifier.Count(L"windowinit"), 1);
}

TEST_F(PaintManagerUITest, LayoutRunsOnlyWhenSomethingChanged)
{
    CControlUI* child = AddChild(L"child", 54);
    manager.UpdateLayout(UIRect{0, 0, 700, 420});
    EXPECT_FALSE(manager.IsUpdateNeeded());
    child->SetVisible(false);
    EXPECT_TRUE(manager.IsUpdateNeeded());
    host.invalidated.clear();
    manager.UpdateLayout(UIRect{0, 0, 700, 420});
    EXPECT_FALSE(manager.IsUpdateNeeded());
}

TEST_F(PaintManagerUITest, FontsAreScaledAndLookedUpWindowFirstThenShared)
{
    manager.SetScale(150);
    manager.AddFont(3, TFontDecl{L"微软雅黑", 14, false, false, false});
    manager.AddFont(5, TFontDecl{L"Shared face", 10, true, true, true}, true);
    manager.AddFont(3, TFontDecl{L"Hidden by the window's own", 99}, true);
    const TFontInfo three = manager.GetFontInfo(3);
    EXPECT_EQ(three.face, L"微软雅黑");
    EXPECT_EQ(three.height, -21);
    const TFontInfo five = manager.GetFontInfo(5);
    EXPECT_EQ(five.face, L"Shared face");
    EXPECT_EQ(five.height, -15);
    EXPECT_TRUE(five.bold && five.underline && five.italic);

    // Unknown ids use the default font; without one, the system's.
    EXPECT_EQ(manager.GetFontInfo(42).face, L"");
    EXPECT_EQ(manager.GetFontInfo(42).height, 0);
    manager.SetDefaultFont(TFontDecl{L"Default", 12});
    EXPECT_EQ(manager.GetFontInfo(42).face, L"Default");
    EXPECT_EQ(manager.GetFontInfo(-1).height, -18);

    // Another window sees the shared font, not this window's.
    CPaintManagerUI other;
    EXPECT_EQ(other.GetFontInfo(5).face, L"Shared face");
    EXPECT_EQ(other.GetFontInfo(3).face, L"Hidden by the window's own");
}

TEST_F(PaintManagerUITest, FontFaceIsCutTo31Characters)
{
    manager.AddFont(1, TFontDecl{std::wstring(40, L'x'), 12});
    EXPECT_EQ(manager.GetFontInfo(1).face, std::wstring(31, L'x'));
}

TEST_F(PaintManagerUITest, DefaultsAndStylesWindowFirstThenShared)
{
    manager.AddDefaultAttributeList(L"VScrollBar", L"width=\"9\"", true);
    manager.AddDefaultAttributeList(L"button", L"height=\"3\"");
    manager.AddStyle(L"big", L"width=\"100\"", true);
    EXPECT_EQ(manager.GetDefaultAttributeList(L"vscrollbar"), L"width=\"9\"");  // class names ignore case
    EXPECT_EQ(manager.GetDefaultAttributeList(L"Button"), L"height=\"3\"");
    EXPECT_EQ(manager.GetStyle(L"big"), L"width=\"100\"");
    EXPECT_EQ(manager.GetStyle(L"BIG"), L"");  // style names are exact

    CPaintManagerUI other;
    EXPECT_EQ(other.GetDefaultAttributeList(L"VScrollBar"), L"width=\"9\"");
    EXPECT_EQ(other.GetDefaultAttributeList(L"Button"), L"");
    CPaintManagerUI::RemoveAllShared();
    EXPECT_EQ(other.GetDefaultAttributeList(L"VScrollBar"), L"");
}

TEST_F(PaintManagerUITest, ControlTimersMapToNativeTimersAndSendTimerNotifications)
{
    CControlUI* a = AddChild(L"a");
    CControlUI* b = AddChild(L"b");
    ASSERT_TRUE(a->SetTimer(7, 108));
    ASSERT_TRUE(b->SetTimer(7, 3000));
    ASSERT_EQ(host.timers.size(), 2u);
    for (const auto& timer : host.timers) EXPECT_GE(timer.first, kFirstControlTimerId);
    const unsigned nativeA = host.timers.begin()->first;

    notifier.Clear();
    EXPECT_TRUE(manager.OnTimer(nativeA));
    ASSERT_EQ(notifier.messages.size(), 1u);
    EXPECT_EQ(notifier.messages[0].sType, L"timer");
    EXPECT_EQ(notifier.messages[0].pSender, a);
    EXPECT_EQ(notifier.messages[0].wParam, 7u);
    EXPECT_FALSE(manager.OnTimer(268));  // a window timer, not a control's

    // Setting it again restarts the same native timer.
    ASSERT_TRUE(a->SetTimer(7, 50));
    EXPECT_EQ(host.timers.size(), 2u);
    EXPECT_EQ(host.timers[nativeA], 50u);

    a->KillTimer(7);
    EXPECT_EQ(host.timers.count(nativeA), 0u);
    EXPECT_FALSE(manager.OnTimer(nativeA));
    root->Remove(b);  // a destroyed control's timers die with it
    EXPECT_TRUE(host.timers.empty());
}

TEST_F(PaintManagerUITest, FocusMovesWithNotificationsAndSkipsHiddenOrDisabledControls)
{
    auto* a = AddChild<CButtonUI>(L"a");
    auto* b = AddChild<CButtonUI>(L"b");
    notifier.Clear();
    manager.SetFocus(a);
    manager.SetFocus(b);
    EXPECT_EQ(notifier.Types(), (std::vector<std::wstring>{L"setfocus", L"killfocus", L"setfocus"}));
    EXPECT_EQ(notifier.messages[1].pSender, a);
    EXPECT_EQ(manager.GetFocus(), b);

    a->SetVisible(false);
    manager.SetFocus(a);
    EXPECT_EQ(manager.GetFocus(), b);
    b->SetEnabled(false);
    EXPECT_EQ(manager.GetFocus(), nullptr);

    CButtonUI stranger;  // not of this window
    manager.SetFocus(&stranger);
    EXPECT_EQ(manager.GetFocus(), nullptr);
}

TEST_F(PaintManagerUITest, CursorAndToolTipOfTheControlUnderTheMouse)
{
    auto* button = AddChild<CButtonUI>(L"b", 30);
    button->SetCursor(UICursor::Hand);
    button->SetToolTip(L"关闭");
    manager.UpdateLayout(UIRect{0, 0, 200, 100});
    EXPECT_TRUE(manager.OnSetCursor(UIPoint{10, 10}));
    EXPECT_EQ(host.cursor, UICursor::Hand);
    EXPECT_TRUE(manager.OnSetCursor(UIPoint{10, 50}));  // the root under it
    EXPECT_EQ(host.cursor, UICursor::Arrow);
    EXPECT_FALSE(manager.OnSetCursor(UIPoint{500, 500}));

    manager.OnMouseHover(UIPoint{10, 10});
    EXPECT_EQ(host.toolTip, L"关闭");
    EXPECT_EQ(host.toolTipRect, (UIRect{0, 0, 200, 30}));
    manager.OnMouseMove(UIPoint{10, 50});
    EXPECT_EQ(host.toolTip, L"");
}

namespace {
struct SelfRemovingNotifier : INotifyUI {
    CPaintManagerUI* manager = nullptr;
    int calls = 0;
    void Notify(TNotifyUI&) override
    {
        ++calls;
        manager->RemoveNotifier(this);
    }
};
struct RemovesOther : INotifyUI {
    CPaintManagerUI* manager = nullptr;
    INotifyUI* victim = nullptr;
    void Notify(TNotifyUI&) override { manager->RemoveNotifier(victim); }
};
}  // namespace

TEST_F(PaintManagerUITest, NotifiersRemovedDuringDispatchAreSkipped)
{
    RemovesOther remover;
    RecordingNotifier late;
    remover.manager = &manager;
    remover.victim = &late;
    SelfRemovingNotifier once;
    once.manager = &manager;
    manager.AddNotifier(&once);
    manager.AddNotifier(&remover);
    manager.AddNotifier(&late);
    EXPECT_FALSE(manager.AddNotifier(&late));  // once only
    manager.SendNotify(root, L"custom", 1, 2);
    manager.SendNotify(root, L"custom");
    EXPECT_EQ(once.calls, 1);
    EXPECT_TRUE(late.messages.empty());
    EXPECT_EQ(notifier.Count(L"custom"), 2);
    EXPECT_EQ(notifier.messages[0].wParam, 1u);
    EXPECT_EQ(notifier.messages[0].lParam, 2);
    manager.RemoveNotifier(&remover);
}

TEST_F(PaintManagerUITest, ProcessDpiAndWindowScale)
{
    {
        ScopedProcessDpi dpi(144);
        EXPECT_DOUBLE_EQ(CPaintManagerUI::GetGlobalScale(), 1.5);
        CPaintManagerUI fresh;
        EXPECT_EQ(fresh.GetScale(), 150);
        EXPECT_EQ(fresh.ScaleValue(700), 1050);
        EXPECT_EQ(fresh.ScaleRect(UIRect{246, 264, 454, 308}), (UIRect{369, 396, 681, 462}));
        EXPECT_EQ(fresh.UnscaleValue(1050), 700);
        // Attaching a tree applies the process DPI, and tells the old scale.
        EXPECT_EQ(manager.GetScale(), 100);
        EXPECT_EQ(manager.ApplyProcessDpi(), 100);
        EXPECT_EQ(manager.GetScale(), 150);
        EXPECT_TRUE(manager.IsUpdateNeeded());
    }
    CPaintManagerUI::SetProcessDpi(120);
    EXPECT_DOUBLE_EQ(CPaintManagerUI::GetGlobalScale(), 1.25);
    CPaintManagerUI::SetProcessDpi(96);
}

TEST_F(PaintManagerUITest, WindowSettingsScaleLikeEverythingElse)
{
    manager.SetWindowAttribute(L"size", L"700,420");
    manager.SetWindowAttribute(L"caption", L"0,0,0,50");
    manager.SetWindowAttribute(L"roundcorner", L"10,10");
    manager.SetScale(150);
    EXPECT_EQ(manager.GetInitSize(), (UISize{1050, 630}));
    EXPECT_EQ(manager.GetCaptionRect(), (UIRect{0, 0, 0, 75}));
    EXPECT_EQ(manager.GetRoundCorner(), (UISize{15, 15}));
}

TEST(WindowSettingsTest, LayeredNamesAreMatchedExactlyTheOthersIgnoreCase)
{
    TWindowSettings s;
    EXPECT_FALSE(ApplyWindowAttribute(s, L"BkTrans", L"true"));
    EXPECT_FALSE(s.layered);
    EXPECT_TRUE(ApplyWindowAttribute(s, L"bktrans", L"TRUE"));
    EXPECT_TRUE(s.layered);
    EXPECT_FALSE(ApplyWindowAttribute(s, L"NoActivate", L"true"));
    EXPECT_FALSE(s.noActivate);
    EXPECT_FALSE(ApplyWindowAttribute(s, L"LayeredOpacity", L"10"));
    EXPECT_EQ(s.layeredOpacity, 255);
    EXPECT_TRUE(ApplyWindowAttribute(s, L"SIZE", L"417,212"));
    EXPECT_EQ(s.initSize, (UISize{417, 212}));
    EXPECT_TRUE(ApplyWindowAttribute(s, L"Opacity", L"300"));
    EXPECT_EQ(s.opacity, 255);
    EXPECT_TRUE(ApplyWindowAttribute(s, L"shadowposition", L"2,3"));
    EXPECT_EQ(s.shadow.position.x, 2);
    EXPECT_EQ(s.shadow.position.y, 3);
    EXPECT_TRUE(ApplyWindowAttribute(s, L"showshadow", L"true"));
    EXPECT_TRUE(s.shadow.show);
    EXPECT_EQ(s.shadow.darkness, 150);
    EXPECT_EQ(s.shadow.sharpness, 5);
    EXPECT_TRUE(ApplyWindowAttribute(s, L"tooltiphovertime", L"800"));
    EXPECT_EQ(s.tooltipHoverTime, 800);
    EXPECT_FALSE(ApplyWindowAttribute(s, L"nonsense", L"1"));
}

TEST_F(PaintManagerUITest, MouseWheelScrollsTheNearestScrollableContainer)
{
    root->EnableScrollBar(true, false);
    for (int i = 0; i < 10; ++i) AddChild(L"row" + std::to_wstring(i), 50);
    manager.UpdateLayout(UIRect{0, 0, 200, 100});
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(root->GetScrollRange().cy, 400);
    EXPECT_TRUE(manager.OnMouseWheel(UIPoint{10, 10}, -120));
    EXPECT_EQ(root->GetScrollPos().cy, 30);
    EXPECT_EQ(manager.FindControl(L"row0")->GetPos().top, -30);
    manager.OnMouseWheel(UIPoint{10, 10}, 240);
    EXPECT_EQ(root->GetScrollPos().cy, 0);
}
