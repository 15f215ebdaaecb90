#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/InstallFlow.h"
#include "net/DownloadWarmUp.h"
#include "app/KPObjectWnd.h"
#include "net/KPInstallThread.h"
#include "pages/KPInstallPage0.h"
#include "pages/KPInstallPage1.h"
#include "pages/KPInstallPage2.h"
#include "pages/KPInstallPage3.h"
#include "ui/core/ControlUI.h"
#include "ui/controls/TabLayoutUI.h"

// The installer's one top-level window, built from "KPMainFrame.xml": the four wizard pages as the
// items of the tab "tabInstall", each page's notifications handed to that page's controller, and
// the events of the pages (KpBase) that switch pages and start the installation.
//
// The window owns itself: it is created by Create and deletes itself once its native window is
// gone.
class KPMainFrame : public CKPObjectWnd {
public:
    // Makes the window (layout built, pages bound, page 0 shown), sets its icon and owner link and
    // centres it. Modal: runs the window's message loop until the window is gone and returns null.
    // Otherwise shows it (activated) when `show` is set, hides it when not, and returns it.
    // Null as well when the window cannot be created.
    static KPMainFrame* Create(HWND parent, KpBase* parentBase, bool modal, const wchar_t* title, DWORD style,
                               DWORD exStyle, bool show);

    // Events of the install flow: EVENT_POST_TO_UI (1) posts WM_INSTALL_EVENT with the argument as
    // its code; EVENT_SHOW_PAGE (64) shows page `argument` and, for the progress page, then starts
    // the installation (EVENT_START_INSTALL, 65). Other codes are ignored.
    void OnEvent(int code, int argument, int reserved) override;

    // Binds "verRoot" and "tabInstall", initialises the pages 0 to 3, shows page 0 and sets the
    // timer that starts the download warm-up after the first frame.
    void InitWindow() override;
    // WM_TIMER goes to OnTimer and WM_INSTALL_EVENT to OnEvent(wParam, 0, 0); every message then
    // goes on to the paint manager and the default handling.
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // Every timer of the window: TIMER_WARM_UP starts the warm-up once; the flow's timers go to
    // the flow; all are passed on to the progress page's timer hook.
    LRESULT OnTimer(WPARAM timerId) override;

    // Shows tab item `page`. An index outside 0 to 3, or the page already shown, changes nothing.
    void ShowPage(int page);
    // The tab item shown, -1 without a tab.
    int GetShownPage() const;

    CKPInstallPage0& GetWelcomePage() { return m_page0; }
    CKPInstallPage1& GetOptionsPage() { return m_page1; }
    CKPInstallPage2& GetProgressPage() { return m_page2; }
    CKPInstallPage3& GetCompletionPage() { return m_page3; }
    CInstallFlow& GetInstallFlow() { return m_flow; }
    const CDownloadWarmUp& GetDownloadWarmUp() const { return m_warmUp; }

protected:
    void OnFinalMessage(HWND hWnd) override;

private:
    KPMainFrame();
    ~KPMainFrame() override;

    // EVENT_START_INSTALL: the install flow's start (status file, package name, download).
    void StartInstall();

    // Declared in the order they are built; destroyed the other way round, so the pages go before
    // the install worker is stopped and joined.
    CKPInstallThread m_installThread;
    CKPInstallPage0 m_page0;
    CKPInstallPage1 m_page1;
    CKPInstallPage2 m_page2;
    CKPInstallPage3 m_page3;
    std::shared_ptr<SkinUI::CControlUI> m_root;
    std::shared_ptr<SkinUI::CTabLayoutUI> m_tab;
    // The download, the package, the progress and the flow's timers. Goes before the pages.
    CInstallFlow m_flow{*this};
    // Gets the download stack ready while the welcome page is read (TIMER_WARM_UP starts it, so
    // it never competes with the first frame). Declared last, so it is the first to go: its end
    // is awaited for at most 2 s.
    CDownloadWarmUp m_warmUp;

    bool* m_deletedFlag = nullptr;  // Create learns from it whether a failed creation deleted the window
};

// The virtual-window names of the pages' containers, page 0 to 3.
extern const wchar_t* const kPageVirtualWnds[4];
