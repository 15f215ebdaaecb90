// Keyboard focus: the order Tab follows, the focus cues that only keyboard use shows, and the
// ring's place around a control at 100 % and 200 %.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/controls/ButtonUI.h"
#include "ui/core/FocusOrder.h"
#include "ui/core/FocusRing.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

const wchar_t* const kDocument =
    L"<Window size=\"400,300\">"
    L"<VerticalLayout name=\"root\">"
    L"  <Button name=\"a\" float=\"true\" pos=\"10,10,110,50\" text=\"A\"/>"
    L"  <Label name=\"label\" float=\"true\" pos=\"10,60,110,80\" text=\"not a stop\"/>"
    L"  <Option name=\"check\" float=\"true\" pos=\"10,90,28,108\"/>"
    L"  <Button name=\"disabled\" float=\"true\" pos=\"10,120,110,150\" text=\"D\" enabled=\"false\"/>"
    L"  <Button name=\"hidden\" float=\"true\" pos=\"10,160,110,190\" text=\"H\" visible=\"false\"/>"
    L"  <VerticalLayout name=\"hiddenPage\" float=\"true\" pos=\"200,0,400,300\" visible=\"false\">"
    L"    <Button name=\"onHiddenPage\" float=\"true\" pos=\"10,10,110,50\" text=\"P\"/>"
    L"  </VerticalLayout>"
    L"  <Button name=\"noKeyboard\" float=\"true\" pos=\"10,200,110,230\" text=\"K\" keyboard=\"false\"/>"
    L"  <Button name=\"b\" float=\"true\" pos=\"10,240,110,280\" text=\"B\"/>"
    L"</VerticalLayout></Window>";

bool Invalidated(const FakeUIHost& host, const UIRect& rc)
{
    return std::find(host.invalidated.begin(), host.invalidated.end(), rc) != host.invalidated.end();
}

}  // namespace

TEST(FocusOrderTest, TabVisitsVisibleEnabledStopsInDocumentOrderAndWraps)
{
    TestWindow w(kDocument);
    ASSERT_NE(w.root, nullptr) << w.error;
    CControlUI* a = w.manager.FindControl(L"a");
    CControlUI* check = w.manager.FindControl(L"check");
    CControlUI* b = w.manager.FindControl(L"b");

    EXPECT_EQ(TabStops(w.root), (std::vector<CControlUI*>{a, check, b}));

    // From nowhere Tab starts at the first stop, Shift+Tab at the last.
    EXPECT_TRUE(w.manager.OnKeyDown(kKeyTab));
    EXPECT_EQ(w.manager.GetFocus(), a);
    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.manager.GetFocus(), check);
    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.manager.GetFocus(), b);
    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.manager.GetFocus(), a);  // wrapped around
    w.manager.OnKeyDown(kKeyTab, true);
    EXPECT_EQ(w.manager.GetFocus(), b);
    w.manager.OnKeyDown(kKeyTab, true);
    EXPECT_EQ(w.manager.GetFocus(), check);

    // A stop hidden while it has the focus drops it; Tab then starts afresh, and skips it.
    check->SetVisible(false);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.manager.GetFocus(), a);
    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.manager.GetFocus(), b);

    // A page that is shown brings its stops in, in document order.
    w.manager.FindControl(L"hiddenPage")->SetVisible(true);
    w.manager.OnKeyDown(kKeyTab, true);
    EXPECT_EQ(w.manager.GetFocus(), w.manager.FindControl(L"onHiddenPage"));
    EXPECT_TRUE(w.manager.FocusFirstTabStop(w.manager.FindControl(L"hiddenPage")));
    EXPECT_FALSE(w.manager.FocusFirstTabStop(w.manager.FindControl(L"label")));

    EXPECT_EQ(NextTabStop({}, a, false), nullptr);
}

TEST(FocusOrderTest, FocusLookAndRingAppearWithKeysOnlyAndGoWithAPress)
{
    TestWindow w(kDocument);
    ASSERT_NE(w.root, nullptr) << w.error;
    auto* a = w.Find<CButtonUI>(L"a");
    auto* b = w.Find<CButtonUI>(L"b");

    // Focus given by the program (a page's main button) shows nothing until a key is used.
    a->SetFocus();
    EXPECT_TRUE(a->GetButtonState() & kStateFocused);
    EXPECT_FALSE(w.manager.ShowsFocusCues());
    EXPECT_FALSE(a->GetDrawnState() & kStateFocused);

    w.host.invalidated.clear();
    w.manager.OnKeyDown(kKeyTab);
    ASSERT_EQ(w.manager.GetFocus(), w.manager.FindControl(L"check"));
    EXPECT_TRUE(w.manager.ShowsFocusCues());
    // Both rings are repainted: the one that goes and the one that comes.
    EXPECT_TRUE(Invalidated(w.host, FocusRingFor(a->GetPos(), 100).outer));
    EXPECT_TRUE(Invalidated(w.host, FocusRingFor(w.manager.FindControl(L"check")->GetPos(), 100).outer));

    w.manager.OnKeyDown(kKeyTab);
    EXPECT_TRUE(b->GetDrawnState() & kStateFocused);

    // A press dragged off the button keeps the focus there but takes the look away.
    const UIPoint inside = CenterOf(a->GetPos());
    w.manager.OnLButtonDown(inside);
    w.manager.OnMouseMove(UIPoint{300, 150});
    w.manager.OnLButtonUp(UIPoint{300, 150});
    EXPECT_EQ(w.manager.GetFocus(), a);
    EXPECT_FALSE(w.manager.ShowsFocusCues());
    EXPECT_FALSE(a->GetDrawnState() & kStateFocused);
    EXPECT_EQ(w.notifier.Count(L"click"), 0);

    // Space on the focused button clicks it and shows the cues again.
    w.manager.OnKeyDown(kKeySpace);
    EXPECT_EQ(w.notifier.Count(L"click"), 1);
    EXPECT_TRUE(a->GetDrawnState() & kStateFocused);
}

TEST(FocusOrderTest, RingKeepsItsShapeAtEveryScale)
{
    // The welcome page's install button at 100 % and at 200 %.
    const TFocusRing at100 = FocusRingFor(UIRect{246, 264, 454, 308}, 100);
    EXPECT_EQ(at100.outer, (UIRect{242, 260, 458, 312}));  // a 2 px gap, then 2 px of ring
    EXPECT_EQ(at100.width, 2);
    EXPECT_EQ(at100.ellipse, (UISize{28, 28}));  // the button's 10 px corner, grown by the ring's 4
    const TFocusRing at200 = FocusRingFor(UIRect{492, 528, 908, 616}, 200);
    EXPECT_EQ(at200.outer, (UIRect{484, 520, 916, 624}));
    EXPECT_EQ(at200.width, 4);
    EXPECT_EQ(at200.ellipse, (UISize{56, 56}));
    // 150 % rounds to whole pixels; a small check box gets a rounder ring.
    const TFocusRing at150 = FocusRingFor(UIRect{0, 0, 27, 27}, 150);
    EXPECT_EQ(at150.width, 3);
    EXPECT_EQ(at150.outer, (UIRect{-6, -6, 33, 33}));
    EXPECT_EQ(at150.ellipse, (UISize{2 * (13 + 6), 2 * (13 + 6)}));
    EXPECT_TRUE(FocusRingFor(UIRect{5, 5, 5, 5}, 100).outer.IsEmpty());
}
