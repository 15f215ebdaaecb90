// The keyboard focus in a real window under Wine, at the display DPI of the prefix the test runs
// in (96, 144 or 192): Tab moves the focus and draws the ring around the focused control, the
// focused look of the custom-install link agrees with the ring, and a mouse press takes both away.
#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"
#include "ui/core/ControlUI.h"
#include "ui/core/FocusRing.h"
#include "ui/render/PixelMath.h"
#include "ui/win/WindowImplBase.h"

using namespace SkinUI;
using Render::Pixel;
using namespace WindowTest;

namespace {

class CFocusWindow : public WindowImplBase {
public:
    ~CFocusWindow() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    const wchar_t* GetWindowClass() const override { return L"kpfocus_test"; }
    std::wstring GetLayoutFile() const override { return L"KPMainFrame.xml"; }
    CPaintManagerUI& PM() { return m_pm; }
    CPaintManagerWnd& PMWnd() { return m_pmWnd; }
};

class KeyboardFocusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        scale = ::MulDiv(InitProcessDpi(), 100, 96);
        skinOpen = OpenSkin();
    }
    void SetUp() override { ASSERT_TRUE(skinOpen) << "skin.zip missing: " << KP_SKIN_ZIP; }

    static void Key(CFocusWindow& window, UINT key)
    {
        ::SendMessageW(window.GetHWND(), WM_KEYDOWN, key, 1);
        window.PMWnd().PaintNow();
    }
    // How many pixels of `rc` are within `tolerance` of the opaque colour `color`.
    static int PixelsNear(const Render::CCanvas& surface, const UIRect& rc, UIColor color, int tolerance)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x)
                n += ChannelDistance(surface.At(x, y), color | 0xFF000000u) <= tolerance;
        }
        return n;
    }

    static int scale;
    static bool skinOpen;
};

int KeyboardFocusTest::scale = 100;
bool KeyboardFocusTest::skinOpen = false;

}  // namespace

TEST_F(KeyboardFocusTest, TabDrawsTheRingAndTheFocusedLookAndAPressTakesThemAway)
{
    CFocusWindow window;
    ASSERT_NE(window.Create(nullptr, L"凯普视频工坊", 0x10CC0000, 0x100), nullptr);
    window.ShowWindow(true);
    ::SetFocus(window.GetHWND());
    ASSERT_TRUE(PumpUntil([&] { return window.PM().IsFirstLayoutDone() && window.PMWnd().GetSurface().Width() > 0; }));
    PumpFor(100);
    const Render::CCanvas& surface = window.PMWnd().GetSurface();
    CControlUI* install = window.PM().FindControl(L"installBtn");
    CControlUI* custom = window.PM().FindControl(L"customBtn");
    ASSERT_TRUE(install && custom);
    const TFocusRing ring = FocusRingFor(install->GetPos(), scale);
    const int cx = (ring.outer.left + ring.outer.right) / 2;
    const int cy = (ring.outer.top + ring.outer.bottom) / 2;
    const UIRect topEdge{cx - 20, ring.outer.top, cx + 20, ring.outer.top + ring.width};
    const UIRect leftEdge{ring.outer.left, cy - 5, ring.outer.left + ring.width, cy + 5};
    EXPECT_EQ(PixelsNear(surface, topEdge, kFocusRingColor, 12), 0);

    // The welcome page's stops: minimise, close, then 立即安装.
    for (int i = 0; i < 3; ++i) Key(window, VK_TAB);
    ASSERT_EQ(window.PM().GetFocus(), install);
    SaveScreenshot(surface, "focus-ring-" + std::to_string(scale));
    // The whole ring's width is drawn in its colour on the straight edges, and nothing of it in
    // the gap between ring and button.
    EXPECT_EQ(PixelsNear(surface, topEdge, kFocusRingColor, 12), topEdge.Width() * topEdge.Height());
    EXPECT_EQ(PixelsNear(surface, leftEdge, kFocusRingColor, 12), leftEdge.Width() * leftEdge.Height());
    const UIRect gap{cx - 20, ring.outer.top + ring.width, cx + 20, install->GetPos().top};
    EXPECT_EQ(PixelsNear(surface, gap, kFocusRingColor, 40), 0);
    EXPECT_EQ(gap.Height(), ring.width);  // the gap grows with the scale as the ring does

    // On to the custom-install link: its text takes the ring's colour.
    for (int i = 0; i < 3; ++i) Key(window, VK_TAB);
    ASSERT_EQ(window.PM().GetFocus(), custom);
    SaveScreenshot(surface, "focus-custom-" + std::to_string(scale));
    EXPECT_GT(PixelsNear(surface, custom->GetPos(), kFocusRingColor, 24), 8 * scale / 100);
    EXPECT_EQ(PixelsNear(surface, topEdge, kFocusRingColor, 12), 0);  // the old ring is gone

    // A press with the mouse (on the page, away from every control) takes ring and look away.
    const LPARAM blank = MAKELPARAM(::MulDiv(20, scale, 100), ::MulDiv(200, scale, 100));
    ::SendMessageW(window.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, blank);
    ::SendMessageW(window.GetHWND(), WM_LBUTTONUP, 0, blank);
    window.PMWnd().PaintNow();
    EXPECT_EQ(PixelsNear(surface, custom->GetPos(), kFocusRingColor, 24), 0);
    const TFocusRing customRing = FocusRingFor(custom->GetPos(), scale);
    EXPECT_EQ(PixelsNear(surface, customRing.outer, kFocusRingColor, 12), 0);
}
