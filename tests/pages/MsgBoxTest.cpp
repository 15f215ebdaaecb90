// The skinned message box in a real modal loop under Wine: each way of closing it and its result,
// Escape, hidden buttons, the texts it shows, its place over the owner, and that it deletes itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../ui/win/WindowTestSupport.h"
#include "pages/KPMsgBox.h"
#include "pages/WindowLook.h"
#include "ui/core/ControlUI.h"
#include "ui/win/Monitors.h"

using namespace SkinUI;
using namespace WindowTest;

namespace {

constexpr DWORD kStyle = kInstallerWindowStyle;
constexpr DWORD kExStyle = kInstallerWindowExStyle;

// What a test does once the box is up (from a timer inside the box's modal loop).
std::function<void(HWND box, WindowImplBase& window)> g_action;
int g_actionRuns = 0;

WindowImplBase* WindowOf(HWND hWnd)
{
    auto* wnd = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    return dynamic_cast<WindowImplBase*>(wnd);
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = ::FindWindowW(L"kpmsgbox", nullptr);
    if (!box) return;  // not created yet: the next tick
    ::KillTimer(nullptr, id);
    ++g_actionRuns;
    if (WindowImplBase* window = WindowOf(box)) g_action(box, *window);
}

UIRect PosOf(WindowImplBase& window, const wchar_t* name)
{
    CControlUI* control = window.GetPaintManager().FindControl(name);
    return control ? control->GetPos() : UIRect{};
}

void ClickAt(HWND box, const UIRect& rc)
{
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::PostMessageW(box, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(box, WM_LBUTTONUP, 0, at);
}

class MsgBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitProcessDpi();
        skinOpen = OpenSkin();
    }
    void SetUp() override
    {
        ASSERT_TRUE(skinOpen);
        g_actionRuns = 0;
    }

    // Shows the installer's close question over `owner` and runs `action` once it is up.
    static int Ask(std::function<void(HWND, WindowImplBase&)> action, HWND owner = nullptr,
                   const std::wstring& ok = L"确定", const std::wstring& cancel = L"取消")
    {
        g_action = std::move(action);
        ::SetTimer(nullptr, 0, 30, &RunAction);
        return ShowMessageBox(owner, L"凯普视频工坊", L"确定关闭？", L"关闭后将中断安装流程", ok, cancel, nullptr,
                              kStyle, kExStyle, true);
    }

    static bool skinOpen;
};

bool MsgBoxTest::skinOpen = false;

TEST_F(MsgBoxTest, OkGivesOneCancelGivesTwo)
{
    EXPECT_EQ(Ask([](HWND box, WindowImplBase& w) { ClickAt(box, PosOf(w, L"okBtn")); }), 1);
    EXPECT_EQ(Ask([](HWND box, WindowImplBase& w) { ClickAt(box, PosOf(w, L"cancelBtn")); }), 2);
    EXPECT_EQ(g_actionRuns, 2);
    EXPECT_EQ(::FindWindowW(L"kpmsgbox", nullptr), nullptr);  // gone each time
}

TEST_F(MsgBoxTest, CloseButtonAltF4AndASystemCloseGiveZero)
{
    EXPECT_EQ(Ask([](HWND box, WindowImplBase& w) { ClickAt(box, PosOf(w, L"closebtn")); }), 0);
    // Alt+F4 reaches the window as the system command SC_CLOSE.
    EXPECT_EQ(Ask([](HWND box, WindowImplBase&) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }), 0);
    EXPECT_EQ(Ask([](HWND box, WindowImplBase&) { ::PostMessageW(box, WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1); }), 0);
    EXPECT_EQ(Ask([](HWND box, WindowImplBase&) { ::PostMessageW(box, WM_CLOSE, 0, 0); }), 0);
    // Only the buttons answer: another process's WM_CLOSE cannot pass itself off as "确定".
    EXPECT_EQ(Ask([](HWND box, WindowImplBase&) { ::PostMessageW(box, WM_CLOSE, CKPMsgBox::kOk, 0); }), 0);
}

// The owner learns it is enabled again (WM_ENABLE) while the box still exists, whichever way the
// box goes: otherwise Windows hands the activation to another application's window.
LRESULT CALLBACK RecordingOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
std::vector<bool> g_boxAliveAtEnable;

LRESULT CALLBACK RecordingOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENABLE && wParam) g_boxAliveAtEnable.push_back(::FindWindowW(L"kpmsgbox", nullptr) != nullptr);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST_F(MsgBoxTest, EveryWayOfClosingEnablesTheOwnerBeforeTheBoxIsDestroyed)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &RecordingOwnerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"kp_test_recording_owner";
    ::RegisterClassW(&wc);
    HWND owner = ::CreateWindowExW(0, L"kp_test_recording_owner", L"owner", WS_POPUP | WS_VISIBLE, 100, 150, 600, 300,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    const std::vector<std::function<void(HWND, WindowImplBase&)>> closes = {
        [](HWND box, WindowImplBase&) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); },  // Alt+F4
        [](HWND box, WindowImplBase&) { ::SendMessageW(box, WM_CLOSE, 0, 0); },              // sent from outside
        [](HWND box, WindowImplBase& w) { ClickAt(box, PosOf(w, L"cancelBtn")); },
    };
    for (const auto& close : closes) {
        g_boxAliveAtEnable.clear();
        Ask(close, owner);
        ASSERT_FALSE(g_boxAliveAtEnable.empty());
        EXPECT_TRUE(g_boxAliveAtEnable.front());
        EXPECT_TRUE(::IsWindowEnabled(owner));
    }
    ::DestroyWindow(owner);
}

TEST_F(MsgBoxTest, EscapeClosesNothing)
{
    static bool stillThere = false;
    const int result = Ask([](HWND box, WindowImplBase& w) {
        ::SetFocus(box);
        ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);
        WindowTest::PumpFor(200);
        stillThere = ::IsWindow(box) != FALSE;
        ClickAt(box, PosOf(w, L"cancelBtn"));
    });
    EXPECT_TRUE(stillThere);
    EXPECT_EQ(result, 2);
}

TEST_F(MsgBoxTest, ShowsItsTextsAndHidesButtonsWithoutText)
{
    static std::wstring title, message, ok;
    static bool okVisible = true, cancelVisible = true, closeVisible = false;
    const int result = Ask(
        [](HWND box, WindowImplBase& w) {
            CPaintManagerUI& pm = w.GetPaintManager();
            title = pm.FindControl(L"kp_txt_title")->GetText();
            message = pm.FindControl(L"kp_txt_msg")->GetText();
            okVisible = pm.FindControl(L"okBtn")->IsVisible();
            cancelVisible = pm.FindControl(L"cancelBtn")->IsVisible();
            closeVisible = pm.FindControl(L"closebtn")->IsVisible();
            ClickAt(box, PosOf(w, L"closebtn"));
        },
        nullptr, L"", L"");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(title, L"确定关闭？");
    EXPECT_EQ(message, L"关闭后将中断安装流程");
    EXPECT_FALSE(okVisible);
    EXPECT_FALSE(cancelVisible);
    EXPECT_TRUE(closeVisible);
}

TEST_F(MsgBoxTest, RunsModalOverItsOwnerAndCentresOnIt)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"kp_test_owner";
    ::RegisterClassW(&wc);
    HWND owner = ::CreateWindowExW(0, L"kp_test_owner", L"owner", WS_POPUP | WS_VISIBLE, 100, 150, 600, 300, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    static bool ownerDisabled = false;
    static RECT boxRect = {};
    static std::string shot;
    const int result = Ask(
        [](HWND box, WindowImplBase& w) {
            ownerDisabled = !::IsWindowEnabled(::GetWindow(box, GW_OWNER));
            WindowTest::PumpFor(300);
            ::GetWindowRect(box, &boxRect);
            shot = WindowTest::SaveScreenshot(w.GetPaintManagerWnd().GetSurface(),
                                              "msgbox-" + std::to_string(w.GetPaintManager().GetScale()));
            ClickAt(box, PosOf(w, L"okBtn"));
        },
        owner);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner));  // enabled again afterwards
    // Centred on the owner's left and right edges, and on the primary monitor vertically.
    const int width = boxRect.right - boxRect.left;
    const int height = boxRect.bottom - boxRect.top;
    EXPECT_EQ(boxRect.left, (100 + 700) / 2 - width / 2);
    const RECT primary = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(boxRect.top, (primary.top + primary.bottom) / 2 - height / 2);
    ::DestroyWindow(owner);
}

TEST_F(MsgBoxTest, TheBoxDeletesItselfWhenItsWindowIsGone)
{
    static bool deleted = false;
    EXPECT_EQ(Ask([](HWND box, WindowImplBase& w) {
                  static_cast<CKPMsgBox&>(w).SetDestroyCallback([] { deleted = true; });
                  ClickAt(box, PosOf(w, L"okBtn"));
              }),
              1);
    EXPECT_TRUE(deleted);
}

TEST_F(MsgBoxTest, ItsShadowShowsNothingWithoutTheShadowImage)
{
    static bool hasShadowWindow = false, shadowVisible = true;
    Ask([](HWND box, WindowImplBase& w) {
        CShadowUI* shadow = w.GetPaintManagerWnd().GetShadow();
        hasShadowWindow = shadow && shadow->GetHWND();
        shadowVisible = shadow && shadow->GetHWND() && ::IsWindowVisible(shadow->GetHWND());
        ClickAt(box, PosOf(w, L"okBtn"));
    });
    EXPECT_TRUE(hasShadowWindow);
    // The skin holds no "kp_appended\shadow\shadow_black.png".
    if (!SkinImage(L"kp_appended\\shadow\\shadow_black.png")) EXPECT_FALSE(shadowVisible);
}

}  // namespace
