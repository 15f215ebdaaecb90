#include <gtest/gtest.h>

#include <windows.h>

#include "ui/win/Monitors.h"
#include "ui/win/WindowWnd.h"

using namespace SkinUI;

namespace {

class PlainWnd : public CWindowWnd {
public:
    const wchar_t* GetWindowClass() const override { return L"kptestplainwnd"; }
    void OnFinalMessage(HWND) override { ++finalMessages; }
    int finalMessages = 0;
};

// Posts messages to the window from inside its own modal loop, so the loop sees them in order.
void PostLater(HWND hWnd, UINT message, WPARAM wParam) { ::PostMessageW(hWnd, message, wParam, 0); }

}  // namespace

TEST(CWindowWnd, ModalResultIsTheWParamOfTheLastCloseAndTheOwnerIsRestored)
{
    PlainWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 10, 10, 300, 200));
    PlainWnd box;
    ASSERT_TRUE(box.Create(owner, L"box", WS_POPUP, 0, 20, 20, 100, 80));
    PostLater(box, WM_CLOSE + 0x1000, 0);  // an unrelated message first
    PostLater(box, WM_CLOSE, 2);
    EXPECT_EQ(box.ShowModal(), 2u);
    EXPECT_FALSE(::IsWindow(box.GetHWND()));
    EXPECT_EQ(box.finalMessages, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(CWindowWnd, OwnerIsDisabledWhileTheModalLoopRuns)
{
    PlainWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 10, 10, 300, 200));
    PlainWnd box;
    ASSERT_TRUE(box.Create(owner, L"box", WS_POPUP, 0, 20, 20, 100, 80));
    static HWND s_owner;
    static HWND s_box;
    static BOOL s_enabledInside;
    s_owner = owner;
    s_box = box;
    s_enabledInside = TRUE;
    ::SetTimer(box, 7, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(s_box, id);
        s_enabledInside = ::IsWindowEnabled(s_owner);
        ::PostMessageW(s_box, WM_CLOSE, 1, 0);
    });
    EXPECT_EQ(box.ShowModal(), 1u);
    EXPECT_FALSE(s_enabledInside);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(CWindowWnd, QuitInsideTheModalLoopEndsItAndIsPostedAgain)
{
    PlainWnd box;
    ASSERT_TRUE(box.Create(nullptr, L"box", WS_POPUP, 0, 20, 20, 100, 80));
    ::PostQuitMessage(7);
    EXPECT_EQ(box.ShowModal(), 0u);
    EXPECT_TRUE(::IsWindow(box.GetHWND()));  // the loop ended without destroying the window
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    ::DestroyWindow(box);
}

TEST(CWindowWnd, ClosePostsWmCloseWithTheResult)
{
    PlainWnd box;
    ASSERT_TRUE(box.Create(nullptr, L"box", WS_POPUP, 0, 20, 20, 100, 80));
    box.Close(5);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, box, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    ::DestroyWindow(box);
}

TEST(Monitors, ThePrimaryMonitorIsListedWithItsDisplayName)
{
    const auto monitors = EnumerateMonitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(monitors[0].displayName, L"\u663e\u793a\u5668 1");
    int primaries = 0;
    for (const auto& m : monitors) primaries += m.primary ? 1 : 0;
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(FirstMonitorEnumeration().size(), monitors.size());
}

TEST(Monitors, AnOwnedWindowIsCentredOnItsOwnerColumnAndThePrimaryMonitorRows)
{
    PlainWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 100, 50, 400, 300));
    PlainWnd box;
    ASSERT_TRUE(box.Create(owner, L"box", WS_POPUP, 0, 0, 0, 200, 100));
    CenterWindowOnScreen(box, RECT{}, POINT{});
    RECT rc;
    ::GetWindowRect(box, &rc);
    EXPECT_EQ(rc.left, (100 + 500) / 2 - 100);
    EXPECT_EQ(rc.top, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 50);
    ::DestroyWindow(box);
    ::DestroyWindow(owner);
}
