// The main window's document and the message box's document in real windows under Wine, at the
// display DPI of the prefix the test runs in (96, 144 or 192): size, pixels against the skin's
// images, caption hit tests, clicks, timers, tooltips, notification routing, layout failure.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/ControlUI.h"
#include "ui/render/PixelMath.h"
#include "ui/win/Monitors.h"
#include "ui/win/WindowImplBase.h"

using namespace SkinUI;
using Render::Pixel;
using namespace WindowTest;

namespace {

constexpr DWORD kStyle = 0x10CC0000;  // visible, caption, system menu, sizing frame (as the installer)
constexpr DWORD kExStyle = 0x100;

// The framework's window base with the document and class name of the test, recording what it
// is told. A document that cannot be built is recorded too (and fails the creation) instead of
// waiting for someone to close a box.
class CTestWindow : public WindowImplBase {
public:
    CTestWindow(const wchar_t* skin, const wchar_t* cls)
        : WindowImplBase(TWindowHooks{{}, [this](const std::wstring& file) { layoutFailures.push_back(file); }}),
          m_skin(skin),
          m_class(cls)
    {
    }
    // A failed assertion leaves the test early: the window must not outlive its object.
    ~CTestWindow() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    const wchar_t* GetWindowClass() const override { return m_class.c_str(); }
    std::wstring GetLayoutFile() const override { return m_skin; }
    void InitWindow() override { ++initCalls; }
    void OnClick(TNotifyUI& msg) override
    {
        clicks.push_back(msg.pSender ? msg.pSender->GetName() : L"");
        WindowImplBase::OnClick(msg);
    }
    void Notify(TNotifyUI& msg) override
    {
        notifications.push_back(msg.sType);
        if (msg.sType == L"timer") controlTimers.push_back(static_cast<unsigned>(msg.wParam));
        WindowImplBase::Notify(msg);
    }
    // Sees every WM_TIMER and leaves it unhandled, for the paint manager's control timers.
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override
    {
        if (message == WM_TIMER) windowTimers.push_back(static_cast<unsigned>(wParam));
        handled = FALSE;
        return 0;
    }
    void CenterWindow() { CenterWindowOnScreen(m_hWnd, RECT{}, POINT{}); }
    CPaintManagerUI& PM() { return m_pm; }
    CPaintManagerWnd& PMWnd() { return m_pmWnd; }

    int initCalls = 0;
    std::vector<std::wstring> clicks;
    std::vector<std::wstring> notifications;
    std::vector<unsigned> controlTimers;
    std::vector<unsigned> windowTimers;
    std::vector<std::wstring> layoutFailures;

private:
    std::wstring m_skin;
    std::wstring m_class;
};

// A page controller registered under a virtual-window name.
class CPageHandler : public CNotifyPump {
public:
    CPageHandler()
    {
        MapNotify(L"click", [this](TNotifyUI& msg) { clicks.push_back(msg.pSender->GetName()); });
    }
    std::vector<std::wstring> clicks;
};

class WindowTestBase : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dpi = InitProcessDpi();
        scale = ::MulDiv(dpi, 100, 96);
        skinOpen = OpenSkin();
    }
    void SetUp() override { ASSERT_TRUE(skinOpen) << "skin.zip missing: " << KP_SKIN_ZIP; }

    static int S(int value) { return ::MulDiv(value, scale, 100); }
    static std::string Tag() { return std::to_string(scale); }

    // Creates `window`, centres it and waits until its first complete frame is on the screen.
    static void Open(CTestWindow& window)
    {
        ASSERT_NE(window.Create(nullptr, L"凯普视频工坊", kStyle, kExStyle), nullptr);
        window.CenterWindow();
        window.ShowWindow(true);
        ::SetForegroundWindow(window.GetHWND());
        ::SetFocus(window.GetHWND());
        ASSERT_TRUE(
            PumpUntil([&] { return window.PM().IsFirstLayoutDone() && window.PMWnd().GetSurface().Width() > 0; }));
        PumpFor(150);
    }

    static UIRect PosOf(CTestWindow& window, const wchar_t* name)
    {
        CControlUI* control = window.PM().FindControl(name);
        return control ? control->GetPos() : UIRect{};
    }

    static LRESULT HitTest(CTestWindow& window, int clientX, int clientY)
    {
        POINT pt = {clientX, clientY};
        ::ClientToScreen(window.GetHWND(), &pt);
        return ::SendMessageW(window.GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    static void Click(CTestWindow& window, const UIRect& rc)
    {
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::PostMessageW(window.GetHWND(), WM_MOUSEMOVE, 0, at);
        ::PostMessageW(window.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(window.GetHWND(), WM_LBUTTONUP, 0, at);
    }

    // Every pixel of `image` (drawn one to one at `at`) over the background image `background`
    // against the window's surface; returns how many differ by more than `tolerance`.
    static int CompareImageOver(const Render::CCanvas& surface, const TImageInfo& image, const UIRect& cells,
                                UIPoint at, const TImageInfo& background, int tolerance = 2)
    {
        int bad = 0;
        for (int y = cells.top; y < cells.bottom; ++y) {
            for (int x = cells.left; x < cells.right; ++x) {
                const int sx = at.x + x;
                const int sy = at.y + y;
                const Pixel expected = Render::SourceOver(ImagePixel(image, x, y), ImagePixel(background, sx, sy));
                if (ChannelDistance(expected, surface.At(sx, sy)) > tolerance) ++bad;
            }
        }
        return bad;
    }

    static int dpi;
    static int scale;
    static bool skinOpen;
};

int WindowTestBase::dpi = 96;
int WindowTestBase::scale = 100;
bool WindowTestBase::skinOpen = false;

using MainWindowTest = WindowTestBase;
using MessageBoxDocumentTest = WindowTestBase;

TEST_F(MainWindowTest, OpensAtTheDocumentSizeTimesTheDisplayScaleAsALayeredWindow)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    RECT rc = {};
    ::GetWindowRect(window.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, S(700));
    EXPECT_EQ(rc.bottom - rc.top, S(420));
    EXPECT_EQ(window.initCalls, 1);
    EXPECT_TRUE(::GetWindowLongPtrW(window.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(::GetWindowLongPtrW(window.GetHWND(), GWL_STYLE) & WS_CAPTION);
    // The layout in device pixels.
    EXPECT_EQ(PosOf(window, L"closebtn"), (UIRect{S(700) - S(11) - S(20), S(11), S(700) - S(11), S(11) + S(20)}));
    EXPECT_EQ(PosOf(window, L"installBtn"), (UIRect{S(246), S(264), S(246) + S(208), S(264) + S(44)}));
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MainWindowTest, PixelsMatchTheSkinImagesAtThisScale)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    const Render::CCanvas& surface = window.PMWnd().GetSurface();
    SaveScreenshot(surface, "main-page0-" + Tag());
    RECT onScreen = {};
    ::GetWindowRect(window.GetHWND(), &onScreen);
    const LONG screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const LONG screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    SaveScreenArea(RECT{std::max(0L, onScreen.left), std::max(0L, onScreen.top), std::min(screenWidth, onScreen.right),
                        std::min(screenHeight, onScreen.bottom)},
                   "screen-main-page0-" + Tag());

    // The background is the variant of the display's scale, one to one.
    const std::wstring bgName = VariantName(L"Install uninstall\\table_bg_install_01.png", scale);
    if (scale == 150) EXPECT_EQ(bgName, L"Install uninstall\\table_bg_install_01@1.5x.png");
    if (scale == 200) EXPECT_EQ(bgName, L"Install uninstall\\table_bg_install_01@2x.png");
    const auto bg = SkinImage(bgName);
    ASSERT_TRUE(bg);
    ASSERT_EQ(bg->width, S(700));
    int bad = 0;
    for (int y = S(60); y < S(250); y += 3)
        for (int x = S(100); x < S(600); x += 3) bad += ChannelDistance(ImagePixel(*bg, x, y), surface.At(x, y)) > 2;
    EXPECT_EQ(bad, 0) << "background pixels that differ from " << std::string(bgName.begin(), bgName.end());

    // The close button's icon, one to one over the background.
    const UIRect close = PosOf(window, L"closebtn");
    const auto icon = SkinImage(VariantName(L"icon_public_close.png", scale));
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->width, close.right - close.left);
    EXPECT_EQ(
        CompareImageOver(surface, *icon, UIRect{0, 0, icon->width, icon->height}, UIPoint{close.left, close.top}, *bg),
        0);

    // The install button: a nine-grid whose 10-pixel corners are copied, not stretched.
    const UIRect install = PosOf(window, L"installBtn");
    const auto button = SkinImage(VariantName(L"Install uninstall\\btn_Install_new_package.png", scale));
    ASSERT_TRUE(button);
    const int corner = S(10);
    EXPECT_EQ(CompareImageOver(surface, *button, UIRect{0, 0, corner, corner}, UIPoint{install.left, install.top}, *bg),
              0);
    const int imageRight = button->width - corner;
    const int imageBottom = button->height - corner;
    EXPECT_EQ(CompareImageOver(surface, *button, UIRect{imageRight, imageBottom, button->width, button->height},
                               UIPoint{install.right - button->width, install.bottom - button->height}, *bg),
              0);

    // Its text "立即安装" in #1C1C1E: dark pixels that the light button image does not have.
    int dark = 0;
    for (int y = install.top; y < install.bottom; ++y)
        for (int x = install.left; x < install.right; ++x) dark += ChannelDistance(surface.At(x, y), 0xFF1C1C1E) <= 24;
    EXPECT_GT(dark, S(30));

    // The agreement check box is selected: its selected image, accent blue in the middle.
    const UIRect box = PosOf(window, L"protocalOpt");
    const Pixel middle = surface.At((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const auto selected = SkinImage(VariantName(L"btn_multiple_choice_select.png", scale));
    ASSERT_TRUE(selected);
    EXPECT_LE(ChannelDistance(middle, ImagePixel(*selected, selected->width / 2, selected->height / 2)), 40);

    // Rounded window corners: transparent at the very corner, opaque a little inside.
    EXPECT_EQ(surface.At(0, 0) >> 24, 0u);
    EXPECT_EQ(surface.At(S(700) - 1, S(420) - 1) >> 24, 0u);
    EXPECT_EQ(surface.At(S(8), S(8)) >> 24, 255u);

    // What X shows is the surface (opaque pixels that are on the screen).
    int shown = 0, differ = 0;
    for (int y = S(60); y < S(250); y += 17) {
        for (int x = S(100); x < S(600); x += 17) {
            const int sx = onScreen.left + x, sy = onScreen.top + y;
            if (sx < 0 || sy < 0 || sx >= screenWidth || sy >= screenHeight) continue;
            ++shown;
            differ += ChannelDistance(ScreenRgb(sx, sy) | 0xFF000000, surface.At(x, y)) > 3;
        }
    }
    EXPECT_GT(shown, 10);
    EXPECT_EQ(differ, 0);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MainWindowTest, EveryPageShowsItsOwnBackgroundVariant)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    auto* tab = dynamic_cast<CTabLayoutUI*>(window.PM().FindControl(L"tabInstall"));
    ASSERT_NE(tab, nullptr);
    struct Page {
        int index;
        const wchar_t* background;
        UIRect calm;  // a part of the page that only the background covers (document units)
    };
    const Page pages[] = {
        {1, L"Install uninstall\\table_bg_install_02.png", UIRect{100, 250, 600, 340}},
        {2, L"Install uninstall\\table_bg_install_03.png", UIRect{400, 60, 650, 330}},
        {3, L"Install uninstall\\table_bg_install_04.png", UIRect{50, 260, 650, 340}},
    };
    for (const Page& page : pages) {
        tab->SelectItem(page.index);
        PumpFor(200);
        const Render::CCanvas& surface = window.PMWnd().GetSurface();
        SaveScreenshot(surface, "main-page" + std::to_string(page.index) + "-" + Tag());
        const auto bg = SkinImage(VariantName(page.background, scale));
        ASSERT_TRUE(bg);
        ASSERT_EQ(bg->width, S(700));
        int bad = 0;
        for (int y = S(page.calm.top); y < S(page.calm.bottom); y += 3)
            for (int x = S(page.calm.left); x < S(page.calm.right); x += 3)
                bad += ChannelDistance(ImagePixel(*bg, x, y), surface.At(x, y)) > 2;
        EXPECT_EQ(bad, 0) << "page " << page.index;
    }
}

TEST_F(MainWindowTest, CaptionStripDragsTheWindowButItsButtonsDoNot)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    EXPECT_EQ(HitTest(window, S(300), S(25)), HTCAPTION);  // empty title bar
    EXPECT_EQ(HitTest(window, S(5), S(49)), HTCAPTION);    // still inside the 50-pixel strip
    const UIRect close = PosOf(window, L"closebtn");
    const UIRect minimise = PosOf(window, L"minbtn");
    EXPECT_EQ(HitTest(window, (close.left + close.right) / 2, (close.top + close.bottom) / 2), HTCLIENT);
    EXPECT_EQ(HitTest(window, (minimise.left + minimise.right) / 2, (minimise.top + minimise.bottom) / 2), HTCLIENT);
    EXPECT_EQ(HitTest(window, S(300), S(51)), HTCLIENT);  // below the strip
    EXPECT_EQ(HitTest(window, S(300), S(200)), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

// A window with maximise and restore buttons and resize borders, written inline.
const wchar_t* kResizableDocument =
    LR"(<Window size="300,200" caption="0,0,0,30" sizebox="4,4,4,4">
  <VerticalLayout bkcolor="#FF202020">
    <HorizontalLayout height="30">
      <Control />
      <Button name="maxbtn" width="20" height="20" />
      <Button name="restorebtn" width="20" height="20" visible="false" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

TEST_F(MainWindowTest, MaximiseAndRestoreSwapTheirButtonsAndSizeBordersHitTest)
{
    CTestWindow window(kResizableDocument, L"kpresizable_test");
    Open(window);
    CControlUI* maximise = window.PM().FindControl(L"maxbtn");
    CControlUI* restore = window.PM().FindControl(L"restorebtn");
    ASSERT_TRUE(maximise && restore);
    const int w = S(300), h = S(200);
    EXPECT_EQ(HitTest(window, 1, 1), HTTOPLEFT);
    EXPECT_EQ(HitTest(window, w / 2, 1), HTTOP);
    EXPECT_EQ(HitTest(window, w - 1, h / 2), HTRIGHT);
    EXPECT_EQ(HitTest(window, w / 2, h - 1), HTBOTTOM);
    EXPECT_EQ(HitTest(window, w / 2, S(15)), HTCAPTION);

    window.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(::IsZoomed(window.GetHWND()));
    EXPECT_FALSE(maximise->IsVisible());
    EXPECT_TRUE(restore->IsVisible());
    EXPECT_EQ(HitTest(window, 1, 1), HTCAPTION);  // no resize borders while maximised
    window.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsZoomed(window.GetHWND()));
    EXPECT_TRUE(maximise->IsVisible());
    EXPECT_FALSE(restore->IsVisible());
    // SC_CLOSE becomes a WM_CLOSE with 0.
    window.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(window.GetHWND()));
}

TEST_F(MainWindowTest, PageControllerTakesItsClicksBeforeTheWindow)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    CPageHandler page;
    ASSERT_TRUE(window.AddVirtualWnd(L"INSTALL0", &page));  // names compare without case
    Open(window);
    Click(window, PosOf(window, L"closebtn"));
    PumpUntil([&] { return !page.clicks.empty(); }, 2000);
    PumpFor(100);
    ASSERT_EQ(page.clicks, std::vector<std::wstring>{L"closebtn"});
    EXPECT_TRUE(window.clicks.empty());
    EXPECT_TRUE(::IsWindow(window.GetHWND()));  // the page handled it: nothing closed the window
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MainWindowTest, CloseButtonWithoutAPageControllerClosesWithOne)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    const UIRect close = PosOf(window, L"closebtn");
    Click(window, close);
    const UINT result = window.ShowModal();
    EXPECT_EQ(result, 1u);
    EXPECT_FALSE(::IsWindow(window.GetHWND()));
    EXPECT_EQ(window.clicks, std::vector<std::wstring>{L"closebtn"});
}

TEST_F(MainWindowTest, ControlTimersNotifyAndWindowTimersReachTheWindow)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    CControlUI* progress = window.PM().FindControl(L"installPrg");
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(window.PM().SetTimer(progress, 5, 20));
    ASSERT_NE(::SetTimer(window.GetHWND(), 7, 20, nullptr), 0u);
    const auto sawWindowTimer = [&] {
        return std::find(window.windowTimers.begin(), window.windowTimers.end(), 7u) != window.windowTimers.end();
    };
    EXPECT_TRUE(PumpUntil([&] { return !window.controlTimers.empty() && sawWindowTimer(); }, 3000));
    ::KillTimer(window.GetHWND(), 7);
    window.PM().KillTimer(progress, 5);
    ASSERT_FALSE(window.controlTimers.empty());
    EXPECT_EQ(window.controlTimers.front(), 5u);
    // The window sees every WM_TIMER (the control timer's native ticks too) and leaves them to the
    // paint manager, which still turned its own into the control's notification.
    EXPECT_TRUE(sawWindowTimer());
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MainWindowTest, HoveringTheCloseButtonShowsItsTooltip)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    const UIRect close = PosOf(window, L"closebtn");
    const LPARAM at = MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2);
    ::SendMessageW(window.GetHWND(), WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window.GetHWND(), WM_MOUSEHOVER, 0, at);
    HWND tip = ::FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(::IsWindowVisible(tip));
    ::SendMessageW(window.GetHWND(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(tip));
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MainWindowTest, ADocumentThatCannotBeBuiltFailsTheCreation)
{
    CTestWindow window(L"NoSuchDocument.xml", L"kpmissing_test");
    EXPECT_EQ(window.Create(nullptr, L"x", kStyle, kExStyle), nullptr);
    EXPECT_EQ(window.layoutFailures, std::vector<std::wstring>{L"NoSuchDocument.xml"});
    EXPECT_EQ(window.initCalls, 0);
    EXPECT_EQ(WindowImplBase::LayoutFailureText(L"KPMainFrame.xml"), L"加载资源文件失败：KPMainFrame.xml");
}

TEST_F(MainWindowTest, AttachingTheTreeResizesByNewOverOldScaleAboutTheTopLeft)
{
    // The window object made while the process still counted 96 DPI: its document is parsed at
    // 100 %, and attaching applies the process DPI.
    CPaintManagerUI::SetProcessDpi(96);
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    CPaintManagerUI::SetProcessDpi(dpi);
    ASSERT_NE(window.Create(nullptr, L"x", kStyle & ~WS_VISIBLE, kExStyle, 40, 30, 300, 200), nullptr);
    RECT rc = {};
    ::GetWindowRect(window.GetHWND(), &rc);
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right - rc.left, S(700));
    EXPECT_EQ(rc.bottom - rc.top, S(420));
    EXPECT_EQ(window.PM().GetScale(), scale);
    // The layout follows once the posted WM_USER + 2 is handled.
    window.ShowWindow(true);
    ASSERT_TRUE(PumpUntil([&] { return window.PM().IsFirstLayoutDone(); }));
    EXPECT_EQ(PosOf(window, L"installBtn"), (UIRect{S(246), S(264), S(246) + S(208), S(264) + S(44)}));
}

// WM_DPICHANGED as Windows sends it when the window moves to a display of another scale: the
// window takes the suggested rectangle and looks exactly like a window opened at that DPI.
TEST_F(MainWindowTest, ADpiChangeRedrawsTheWindowAsIfItHadOpenedAtTheNewDpi)
{
    CTestWindow window(L"KPMainFrame.xml", L"kpmainframe_test");
    Open(window);
    for (int next : {144, 192, 96, dpi}) {
        const int nextScale = ::MulDiv(next, 100, 96);
        auto at = [nextScale](int value) { return ::MulDiv(value, nextScale, 100); };
        RECT rc = {};
        ::GetWindowRect(window.GetHWND(), &rc);
        RECT suggested = {rc.left + 10, rc.top + 5, rc.left + 10 + at(700), rc.top + 5 + at(420)};
        ::SendMessageW(window.GetHWND(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(next, next),
                       reinterpret_cast<LPARAM>(&suggested));
        ASSERT_TRUE(PumpUntil([&] { return window.PMWnd().GetSurface().Width() == at(700); })) << next;
        PumpFor(150);
        ::GetWindowRect(window.GetHWND(), &rc);
        EXPECT_EQ(rc.left, suggested.left) << next;
        EXPECT_EQ(rc.bottom, suggested.bottom) << next;
        EXPECT_EQ(window.PM().GetScale(), nextScale);
        EXPECT_EQ(PosOf(window, L"installBtn"), (UIRect{at(246), at(264), at(246) + at(208), at(264) + at(44)}));
        RECT region = {};
        ASSERT_NE(::GetWindowRgnBox(window.GetHWND(), &region), ERROR) << next;
        EXPECT_GE(region.right, at(700)) << "the window's region follows its size at " << next;
        EXPECT_GE(region.bottom, at(420)) << next;

        // The same document opened at that DPI, pixel for pixel.
        CPaintManagerUI::SetProcessDpi(next);
        CTestWindow reference(L"KPMainFrame.xml", L"kpmainframe_ref");
        Open(reference);
        CPaintManagerUI::SetProcessDpi(dpi);
        const Render::CCanvas& moved = window.PMWnd().GetSurface();
        const Render::CCanvas& opened = reference.PMWnd().GetSurface();
        ASSERT_EQ(moved.Width(), opened.Width());
        ASSERT_EQ(moved.Height(), opened.Height());
        int differing = 0;
        for (int y = 0; y < moved.Height(); ++y)
            for (int x = 0; x < moved.Width(); ++x) differing += ChannelDistance(moved.At(x, y), opened.At(x, y)) > 2;
        EXPECT_EQ(differing, 0) << "pixels that differ from a window opened at " << next << " DPI";
        if (differing) SaveScreenshot(moved, "dpi-changed-to-" + std::to_string(next));
        ::DestroyWindow(reference.GetHWND());
    }
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MessageBoxDocumentTest, TheShadowFollowsADpiChange)
{
    CTestWindow window(L"KPMsgBox.xml", L"kpmsgbox_test");
    Open(window);
    CShadowUI* shadow = window.PMWnd().GetShadow();
    ASSERT_NE(shadow, nullptr);
    shadow->SetSize(10);
    shadow->ShowShadow(true);
    ASSERT_TRUE(shadow->Create(window.GetHWND()));
    const int next = dpi == 192 ? 96 : 192;
    const int size = ::MulDiv(10, ::MulDiv(next, 100, 96), 100);
    RECT rc = {};
    ::GetWindowRect(window.GetHWND(), &rc);
    RECT suggested = {rc.left, rc.top, rc.left + ::MulDiv(417, next, 96), rc.top + ::MulDiv(212, next, 96)};
    ::SendMessageW(window.GetHWND(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(next, next),
                   reinterpret_cast<LPARAM>(&suggested));
    PumpFor(150);
    RECT around = {};
    ::GetWindowRect(shadow->GetHWND(), &around);
    EXPECT_EQ(around.left, suggested.left - size);
    EXPECT_EQ(around.right, suggested.right + size);
    EXPECT_EQ(around.bottom, suggested.bottom + size);
    // Drawn at the new scale: darkest at the window's edge, nothing at the shadow's own edge.
    const Render::CCanvas& surface = shadow->GetSurface();
    EXPECT_EQ(surface.Width(), suggested.right - suggested.left + 2 * size);
    EXPECT_EQ(surface.At(size, surface.Height() / 2) >> 24, 150u);
    EXPECT_EQ(surface.At(0, surface.Height() / 2) >> 24, 0u);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(MessageBoxDocumentTest, ComputedShadowFollowsTheWindow)
{
    CTestWindow window(L"KPMsgBox.xml", L"kpmsgbox_test");
    Open(window);
    CShadowUI* shadow = window.PMWnd().GetShadow();
    ASSERT_NE(shadow, nullptr);
    shadow->SetSize(10);
    shadow->ShowShadow(true);
    ASSERT_TRUE(shadow->Create(window.GetHWND()));
    PumpFor(100);
    RECT host = {}, around = {};
    ::GetWindowRect(window.GetHWND(), &host);
    ::GetWindowRect(shadow->GetHWND(), &around);
    EXPECT_TRUE(::IsWindowVisible(shadow->GetHWND()));
    EXPECT_EQ(around.left, host.left - S(10));
    EXPECT_EQ(around.right, host.right + S(10));
    EXPECT_EQ(around.bottom, host.bottom + S(10));
    // Darkest at the window's edge, nothing at the shadow's own edge.
    const Render::CCanvas& surface = shadow->GetSurface();
    EXPECT_EQ(surface.At(S(10), surface.Height() / 2) >> 24, 150u);
    EXPECT_EQ(surface.At(0, surface.Height() / 2) >> 24, 0u);
    // It moves and hides with its window.
    ::SetWindowPos(window.GetHWND(), nullptr, host.left + 30, host.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::GetWindowRect(shadow->GetHWND(), &around);
    EXPECT_EQ(around.left, host.left + 30 - S(10));
    EXPECT_EQ(around.top, host.top + 20 - S(10));
    ::ShowWindow(window.GetHWND(), SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(shadow->GetHWND()));
}

TEST_F(MessageBoxDocumentTest, PixelsAndCaptionOfTheMessageBox)
{
    CTestWindow window(L"KPMsgBox.xml", L"kpmsgbox_test");
    Open(window);
    RECT rc = {};
    ::GetWindowRect(window.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, S(417));
    EXPECT_EQ(rc.bottom - rc.top, S(212));
    const Render::CCanvas& surface = window.PMWnd().GetSurface();
    SaveScreenshot(surface, "msgbox-document-" + Tag());

    // The 1-pixel border #FF464749 along the top edge, the panel #FF1C1C1E inside.
    EXPECT_LE(ChannelDistance(surface.At(S(208), 0), 0xFF464749), 2);
    EXPECT_LE(ChannelDistance(surface.At(S(417) - 1, S(106)), 0xFF464749), 2);  // the right edge, not the panel
    EXPECT_LE(ChannelDistance(surface.At(S(200), S(200)), 0xFF1C1C1E), 2);
    EXPECT_EQ(surface.At(0, 0) >> 24, 0u);

    // The tips icon one to one over the panel colour.
    const UIRect icon = PosOf(window, L"kp_lab_ico");
    const auto tips = SkinImage(VariantName(L"icon_pupup_tips.png", scale));
    ASSERT_TRUE(tips);
    ASSERT_EQ(icon.right - icon.left, tips->width);
    int bad = 0;
    for (int y = 0; y < tips->height; ++y)
        for (int x = 0; x < tips->width; ++x)
            bad += ChannelDistance(Render::SourceOver(ImagePixel(*tips, x, y), 0xFF1C1C1E),
                                   surface.At(icon.left + x, icon.top + y)) > 2;
    EXPECT_EQ(bad, 0);

    // The title text is white, bold, at the left of its line.
    const UIRect title = PosOf(window, L"kp_txt_title");
    int white = 0;
    for (int y = title.top; y < title.bottom; ++y)
        for (int x = title.left; x < title.left + S(120); ++x)
            white += ChannelDistance(surface.At(x, y), 0xFFFFFFFF) <= 16;
    EXPECT_GT(white, S(20));

    // The caption strip is the top 126 pixels: texts drag, the close button does not.
    EXPECT_EQ(HitTest(window, (title.left + title.right) / 2, (title.top + title.bottom) / 2), HTCAPTION);
    const UIRect close = PosOf(window, L"closebtn");
    EXPECT_EQ(HitTest(window, (close.left + close.right) / 2, (close.top + close.bottom) / 2), HTCLIENT);
    EXPECT_EQ(HitTest(window, S(200), S(180)), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

}  // namespace
