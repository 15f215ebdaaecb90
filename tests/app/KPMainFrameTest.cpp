// The main window under Wine: how it opens, page switching by event and by WM_INSTALL_EVENT, the
// message hook, closing and the modal run.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/KPMainFrame.h"
#include "app/WizardTestSupport.h"
#include "pages/InstallEvents.h"
#include "ui/controls/TabLayoutUI.h"

using namespace WizardTest;

namespace {

class KPMainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PrepareFramework()) << "skin.zip missing: " << KP_SKIN_ZIP; }
};

bool PageVisible(OpenFrame& frame, int page)
{
    const wchar_t* names[] = {L"verroot0", L"verroot1", L"verroot2", L"verroot3"};
    SkinUI::CControlUI* container = frame.Find(names[page]);
    return container && container->IsVisible();
}

}  // namespace

TEST_F(KPMainFrameTest, OpensLayeredOnTheWelcomePageWithTheClassAndTitleOfTheInstaller)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    EXPECT_EQ(0, frame.Frame().GetShownPage());
    EXPECT_TRUE(PageVisible(frame, 0));
    for (int page = 1; page < 4; ++page) EXPECT_FALSE(PageVisible(frame, page)) << page;

    wchar_t className[64] = {};
    GetClassNameW(frame.Hwnd(), className, 64);
    EXPECT_STREQ(L"kpmainframe", className);
    wchar_t title[64] = {};
    GetWindowTextW(frame.Hwnd(), title, 64);
    EXPECT_STREQ(L"凯普视频工坊", title);
    EXPECT_NE(0, GetWindowLongPtrW(frame.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowVisible(frame.Hwnd()));

    // Each page controller is registered under its container's virtual-window name.
    EXPECT_EQ(static_cast<SkinUI::CNotifyPump*>(&frame.Frame().GetWelcomePage()),
              frame.Frame().FindVirtualWnd(L"install0"));
    EXPECT_EQ(static_cast<SkinUI::CNotifyPump*>(&frame.Frame().GetCompletionPage()),
              frame.Frame().FindVirtualWnd(L"INSTALL3"));
    // ... and sends its events to the main window.
    EXPECT_EQ(static_cast<KpBase*>(&frame.Frame()), frame.Frame().GetOptionsPage().GetOwner());
    EXPECT_EQ(nullptr, frame.Frame().GetOwner());
}

TEST_F(KPMainFrameTest, ShowPageSwitchesOnlyToAnotherPageInRange)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    NotifyRecorder recorder;
    frame.PM().AddNotifier(&recorder);

    frame.Frame().OnEvent(EVENT_SHOW_PAGE, 1, 0);
    EXPECT_EQ(1, frame.Frame().GetShownPage());
    EXPECT_TRUE(PageVisible(frame, 1));
    EXPECT_FALSE(PageVisible(frame, 0));
    EXPECT_EQ(1, recorder.Count(L"tabselect"));

    // The page already shown, and indexes outside 0..3, change nothing and notify nothing.
    for (int index : {1, 4, -1, 64}) {
        frame.Frame().OnEvent(EVENT_SHOW_PAGE, index, 0);
        EXPECT_EQ(1, frame.Frame().GetShownPage()) << index;
    }
    EXPECT_EQ(1, recorder.Count(L"tabselect"));

    for (int page : {3, 0, 2}) {
        frame.Frame().OnEvent(EVENT_SHOW_PAGE, page, 0);
        EXPECT_EQ(page, frame.Frame().GetShownPage());
        EXPECT_TRUE(PageVisible(frame, page));
    }
    // Showing the progress page again is no switch (it only starts the installation again).
    frame.Frame().OnEvent(EVENT_SHOW_PAGE, PAGE_PROGRESS, 0);
    EXPECT_EQ(4, recorder.Count(L"tabselect"));

    // Unknown codes are ignored.
    frame.Frame().OnEvent(63, 0, 0);
    frame.Frame().OnEvent(66, 1, 0);
    EXPECT_EQ(2, frame.Frame().GetShownPage());
    frame.PM().RemoveNotifier(&recorder);
}

TEST_F(KPMainFrameTest, InstallEventMessageRunsItsCodeWithArgumentZero)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_OPTIONS);

    // 0x602 with wParam 64: event 64 with argument 0, the welcome page.
    PostMessageW(frame.Hwnd(), 0x602, EVENT_SHOW_PAGE, 3);
    Pump(100);
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());

    // EVENT_POST_TO_UI only posts: nothing happens before the message is handled.
    frame.Frame().ShowPage(PAGE_COMPLETE);
    frame.Frame().OnEvent(EVENT_POST_TO_UI, EVENT_SHOW_PAGE, 0);
    EXPECT_EQ(PAGE_COMPLETE, frame.Frame().GetShownPage());
    Pump(100);
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());
}

TEST_F(KPMainFrameTest, PagesPassOnlyPostToUiToTheMainWindow)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_OPTIONS);

    // A page's own OnEvent ignores everything but code 1 ...
    frame.Frame().GetOptionsPage().OnEvent(EVENT_SHOW_PAGE, PAGE_COMPLETE, 0);
    frame.Frame().GetWelcomePage().OnEvent(EVENT_START_INSTALL, 0, 0);
    Pump(50);
    EXPECT_EQ(PAGE_OPTIONS, frame.Frame().GetShownPage());

    // ... which reaches the main window and comes back through the message queue.
    frame.Frame().GetProgressPage().OnEvent(EVENT_POST_TO_UI, EVENT_SHOW_PAGE, 0);
    Pump(100);
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());
}

TEST_F(KPMainFrameTest, TimerMessagesStillReachTheControlTimers)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    NotifyRecorder recorder;
    frame.PM().AddNotifier(&recorder);

    // A window timer of any id goes through the main window's hook without harm ...
    SendMessageW(frame.Hwnd(), WM_TIMER, 77, 0);
    SetTimer(frame.Hwnd(), 286 + 1000, 20, nullptr);
    Pump(100);
    KillTimer(frame.Hwnd(), 286 + 1000);
    // ... and the paint manager still gets its own timers.
    SkinUI::CControlUI* label = frame.Find(L"installproglab");
    ASSERT_NE(nullptr, label);
    ASSERT_TRUE(label->SetTimer(5, 20));
    Pump(200);
    label->KillTimer(5);
    EXPECT_GE(recorder.Count(L"timer"), 2);
    frame.PM().RemoveNotifier(&recorder);
}

namespace {
KPMainFrame* g_observed = nullptr;
int g_framesBeforeWarmUp = 0;
int g_framesAfterWarmUp = 0;
}  // namespace

// The warm-up loads libraries and reads certificate stores: started with the window it would
// delay the first frame, so it waits until the window has drawn and has nothing else to do.
TEST_F(KPMainFrameTest, TheDownloadWarmUpStartsOnceTheFirstFrameIsOnTheScreen)
{
    g_observed = nullptr;
    g_framesBeforeWarmUp = g_framesAfterWarmUp = 0;
    MainFrameServices services = RealMainFrameServices();
    services.window.onFramePresented = [](HWND window, const SkinUI::UIRect&) {
        if (!g_observed || window != g_observed->GetHWND()) return;
        ++(g_observed->GetDownloadWarmUp().IsStarted() ? g_framesAfterWarmUp : g_framesBeforeWarmUp);
    };
    KPMainFrame* frame =
        KPMainFrame::Create(nullptr, nullptr, false, L"凯普视频工坊", 0x10CC0000, 0x100, false, std::move(services));
    ASSERT_NE(nullptr, frame);
    g_observed = frame;
    EXPECT_FALSE(frame->GetDownloadWarmUp().IsStarted()) << "not while the window is being made";
    ShowWindow(frame->GetHWND(), SW_SHOW);
    Pump(300);
    EXPECT_GE(g_framesBeforeWarmUp, 1) << "the first frame comes before the warm-up";
    EXPECT_TRUE(frame->GetDownloadWarmUp().IsStarted());
    EXPECT_TRUE(frame->GetDownloadWarmUp().WaitUntilDone(10000));
    g_observed = nullptr;
    DestroyWindow(frame->GetHWND());
    Pump(20);
}

TEST_F(KPMainFrameTest, ClosingDestroysTheWindowAndDeletesTheFrame)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    PostMessageW(frame.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(frame.WaitClosed());
    EXPECT_TRUE(frame.Deleted()) << "the frame deletes itself after its final message";
}

namespace {

// Closes the main window once it exists; runs inside the window's own modal loop.
void CALLBACK CloseMainWindowLater(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND window = FindWindowW(L"kpmainframe", nullptr)) {
        KillTimer(nullptr, timer);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace

TEST_F(KPMainFrameTest, ModalCreateRunsUntilTheWindowIsGoneAndReturnsNull)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseMainWindowLater);
    ASSERT_NE(0u, timer);
    const DWORD start = GetTickCount();
    KPMainFrame* result = KPMainFrame::Create(nullptr, nullptr, true, L"凯普视频工坊", 0x10CC0000, WS_EX_WINDOWEDGE,
                                              true, RealMainFrameServices());
    EXPECT_EQ(nullptr, result);
    EXPECT_GE(GetTickCount() - start, 250u) << "the call returns only once the window has been closed";
    EXPECT_EQ(nullptr, FindWindowW(L"kpmainframe", nullptr));
}

TEST_F(KPMainFrameTest, NonModalCreateWithoutTheShowFlagKeepsTheWindowHidden)
{
    KpBase parent;
    KPMainFrame* frame =
        KPMainFrame::Create(nullptr, &parent, false, L"x", WS_CAPTION, 0, false, RealMainFrameServices());
    ASSERT_NE(nullptr, frame);
    EXPECT_FALSE(IsWindowVisible(frame->GetHWND()));
    EXPECT_EQ(&parent, frame->GetOwner());
    DestroyWindow(frame->GetHWND());
    Pump(20);
}
