#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "app/InstallFlow.h"
#include "net/DownloadWarmUp.h"
#include "net/KPInstallThread.h"
#include "pages/KPInstallPage0.h"
#include "pages/KPInstallPage1.h"
#include "pages/KPInstallPage2.h"
#include "pages/KPInstallPage3.h"
#include "pages/KPObjectWnd.h"
#include "pages/PageServices.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/ControlRef.h"
#include "ui/core/ControlUI.h"

// A download report on its way from the download worker to the UI thread: wParam is the code
// (1001 to 1004), lParam the number of the attempt that it belongs to. WM_USER + 0x203.
constexpr UINT WM_DOWNLOAD_REPORT = 0x603;

// Once, as soon as the window has nothing else to do after its first frame: a timer's message
// comes only when no posted message or paint is waiting.
constexpr unsigned int TIMER_WARM_UP = 300;
// While a close waits for a question (or a system dialog) over the window to go: tries again.
constexpr unsigned int TIMER_CLOSE_PENDING = 301;
constexpr unsigned int CLOSE_PENDING_MS = 50;
// How long closing waits for the download's worker and the warm-up together.
constexpr unsigned long long kCloseWaitMs = 2000;

// What the main window and everything in it ask of the world outside. The window keeps them and
// hands them on to its pages and its install flow.
struct MainFrameServices {
    PageServices pages;
    InstallFlowServices flow;
    // The question of `failure` (FailureQuestionWords) over `owner`: 1 for "确定", 2 for "取消", 0
    // for the box's close button.
    std::function<int(HWND owner, InstallFailure failure)> askAfterFailure;
    // What a test watches in the window itself (its frames); empty in the program.
    SkinUI::TWindowHooks window;
};

// The program's own: RealPageServices, RealInstallFlowServices and the skinned message box, all
// writing into `log`.
MainFrameServices RealMainFrameServices(LogSink log = LogSink());

// The installer's one top-level window, built from "KPMainFrame.xml": the four wizard pages as the
// items of the tab "tabInstall", each page's notifications handed to that page's controller, and
// the events of the pages (KpBase) that switch pages and start the installation. It is the home of
// the install flow, and the flow's window (IInstallFlowHost).
//
// The window owns itself: it is created by Create and deletes itself once its native window is
// gone.
class KPMainFrame : public CKPObjectWnd, private IInstallFlowHost {
public:
    // Makes the window (layout built, pages bound, page 0 shown), sets its icon and owner link and
    // centres it. Modal: runs the window's message loop until the window is gone and returns null.
    // Otherwise shows it (activated) when `show` is set, hides it when not, and returns it.
    // Null as well when the window cannot be created.
    static KPMainFrame* Create(HWND parent, KpBase* parentBase, bool modal, const wchar_t* title, DWORD style,
                               DWORD exStyle, bool show, MainFrameServices services);

    // Events of the install flow: EVENT_POST_TO_UI (1) posts WM_INSTALL_EVENT with the argument as
    // its code; EVENT_SHOW_PAGE (64) shows page `argument` and, for the progress page, then starts
    // the installation (EVENT_START_INSTALL, 65). Other codes are ignored.
    void OnEvent(int code, int argument, int reserved) override;

    // Binds "verRoot" and "tabInstall", initialises the pages 0 to 3, shows page 0 and sets the
    // timer that starts the download warm-up after the first frame.
    void InitWindow() override;
    // WM_TIMER goes to OnTimer, WM_INSTALL_EVENT to OnEvent(wParam, 0, 0) and WM_DOWNLOAD_REPORT to
    // the install flow; every message then goes on to the paint manager and the default handling.
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // Every timer of the window: TIMER_WARM_UP starts the warm-up once; the flow's timers go to
    // the flow; all are passed on to the progress page's timer hook.
    LRESULT OnTimer(WPARAM timerId) override;
    // A close from anywhere (a page, the flow, Alt+F4, "End task", another process). While a
    // question box or a system dialog runs over the window, the close waits: that box is closed
    // (answered as by its close button, which every caller takes as "取消") and the close is
    // tried again once its caller has returned. A close that goes ahead after the package has
    // reported completion first registers the product (FinishInstall, once).
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

    // Shows tab item `page`. An index outside 0 to 3, or the page already shown, changes nothing.
    void ShowPage(int page) override;
    // The tab item shown, -1 without a tab.
    int GetShownPage() const;

    CKPInstallPage0& GetWelcomePage() { return m_page0; }
    CKPInstallPage1& GetOptionsPage() { return m_page1; }
    CKPInstallPage2& GetProgressPage() { return m_page2; }
    CKPInstallPage3& GetCompletionPage() { return m_page3; }
    CInstallFlow& GetInstallFlow() { return m_flow; }
    const CDownloadWarmUp& GetDownloadWarmUp() const { return m_warmUp; }

private:
    explicit KPMainFrame(MainFrameServices services);
    ~KPMainFrame() override;

    // EVENT_START_INSTALL: the install flow's start (status file, package name, download).
    void StartInstall();
    // The window a close must wait for: our question box running over the window, or an enabled
    // dialog it owns while it is disabled (the folder picker). Null when there is none.
    HWND FindModalOver() const;
    // The session ends: the process goes without its window closing.
    void OnEndSession();

    // The install flow's window.
    void ShowProgress(double percent) override;
    bool AskAfterFailure(InstallFailure failure) override;
    void FinishInstall() override;
    bool IsQuestionOpen() const override;
    void PostClose() override;
    void StartTimer(unsigned int id, unsigned int milliseconds) override;
    void StopTimer(unsigned int id) override;
    ReportPoster MakeReportPoster() override;

    // Declared in the order they are built; destroyed the other way round, so the pages go before
    // the install worker is stopped and joined, and the services after everything that uses them.
    const MainFrameServices m_services;
    CKPInstallThread m_installThread;
    CKPInstallPage0 m_page0;
    CKPInstallPage1 m_page1;
    CKPInstallPage2 m_page2;
    CKPInstallPage3 m_page3;
    SkinUI::ControlRef<SkinUI::CControlUI> m_root;
    SkinUI::ControlRef<SkinUI::CTabLayoutUI> m_tab;
    // The download, the package, the progress and the flow's timers. Goes before the pages.
    CInstallFlow m_flow;
    // Gets the download stack ready while the welcome page is read (TIMER_WARM_UP starts it, so
    // it never competes with the first frame). Declared last, so it is the first to go: its end
    // is awaited for at most 2 s.
    CDownloadWarmUp m_warmUp;
};

// The virtual-window names of the pages' containers, page 0 to 3.
extern const wchar_t* const kPageVirtualWnds[4];
