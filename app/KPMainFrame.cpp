#include "app/KPMainFrame.h"

#include "app/InstallEvents.h"

namespace {

constexpr UINT kProgramIconId = 101;
constexpr int kPageCount = 4;

}  // namespace

const wchar_t* const kPageVirtualWnds[4] = {L"install0", L"install1", L"install2", L"install3"};

KPMainFrame::KPMainFrame()
    : CKPObjectWnd(L"KPMainFrame.xml", L"kpmainframe"),
      m_page0(&m_pm),
      m_page1(&m_pm),
      m_page2(&m_pm),
      m_page3(&m_pm)
{
    CKPInstallPage* pages[kPageCount] = {&m_page0, &m_page1, &m_page2, &m_page3};
    for (int i = 0; i < kPageCount; ++i) {
        AddVirtualWnd(kPageVirtualWnds[i], pages[i]);
        pages[i]->SetOwner(this);
    }
}

KPMainFrame::~KPMainFrame()
{
    for (const wchar_t* name : kPageVirtualWnds) RemoveVirtualWnd(name);
    if (m_deletedFlag) *m_deletedFlag = true;
    // The members go now in reverse order: the references and pages, then the install worker,
    // which is stopped and joined. The install flow goes first: it abandons a running download, so
    // no report of it can reach the window any more.
}

KPMainFrame* KPMainFrame::Create(HWND parent, KpBase* parentBase, bool modal, const wchar_t* title, DWORD style,
                                 DWORD exStyle, bool show)
{
    auto* frame = new KPMainFrame();
    bool deleted = false;
    frame->m_deletedFlag = &deleted;
    if (!frame->SkinUI::CWindowWnd::Create(parent, title, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr)) {
        // A window that got as far as its first message has been destroyed, and the frame with it.
        if (!deleted) delete frame;
        return nullptr;
    }
    frame->m_deletedFlag = nullptr;
    frame->SetIcon(kProgramIconId);
    frame->SetOwner(parentBase);
    frame->CenterWindow();
    if (modal) {
        // The frame deletes itself inside the loop, when its window is destroyed.
        frame->ShowModal();
        return nullptr;
    }
    frame->ShowWindow(show, show);
    return frame;
}

void KPMainFrame::OnFinalMessage(HWND hWnd)
{
    CKPObjectWnd::OnFinalMessage(hWnd);
    delete this;
}

void KPMainFrame::InitWindow()
{
    m_pmWnd.SetLayered(true);
    m_root = std::shared_ptr<SkinUI::CControlUI>(m_pm.FindControl(L"verRoot"), [](SkinUI::CControlUI*) {});
    m_tab = std::shared_ptr<SkinUI::CTabLayoutUI>(static_cast<SkinUI::CTabLayoutUI*>(m_pm.FindControl(L"tabInstall")),
                                                  [](SkinUI::CTabLayoutUI*) {});
    m_page0.Init();
    m_page1.Init();
    m_page2.Init();
    m_page3.Init();
    // Whatever page the layout shows, the wizard opens on the welcome page.
    ShowPage(PAGE_WELCOME);
    // Without the timer the warm-up would only wait for the first download to do the work.
    if (!::SetTimer(GetHWND(), TIMER_WARM_UP, 1, nullptr)) m_warmUp.Start();
}

LRESULT KPMainFrame::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (message == WM_TIMER) {
        OnTimer(wParam);
    } else if (message == WM_INSTALL_EVENT) {
        OnEvent(static_cast<int>(wParam), 0, 0);
    } else if (message == WM_DOWNLOAD_REPORT) {
        m_flow.OnDownloadReport(static_cast<int>(wParam), static_cast<int>(lParam));
    }
    // Timers of controls belong to the paint manager, which must still see them.
    handled = FALSE;
    return 0;
}

LRESULT KPMainFrame::OnTimer(WPARAM timerId)
{
    if (timerId == TIMER_WARM_UP) {
        ::KillTimer(GetHWND(), TIMER_WARM_UP);
        m_warmUp.Start();
    }
    m_flow.OnTimer(timerId);
    BOOL handled = FALSE;
    m_page2.OnTimer(WM_TIMER, timerId, 0, handled);
    return 0;
}

void KPMainFrame::OnEvent(int code, int argument, int reserved)
{
    switch (code) {
    case EVENT_POST_TO_UI:
        PostMessage(WM_INSTALL_EVENT, static_cast<WPARAM>(argument), 0);
        break;
    case EVENT_SHOW_PAGE:
        ShowPage(argument);
        // Showing the progress page is what starts the installation, even when it is shown already.
        if (argument == PAGE_PROGRESS) OnEvent(EVENT_START_INSTALL, 0, 0);
        break;
    case EVENT_START_INSTALL:
        StartInstall();
        break;
    default:
        break;
    }
}

void KPMainFrame::ShowPage(int page)
{
    if (!m_tab || page < 0 || page >= kPageCount || page == m_tab->GetCurSel()) return;
    m_tab->SelectItem(page);
}

int KPMainFrame::GetShownPage() const { return m_tab ? m_tab->GetCurSel() : -1; }

void KPMainFrame::StartInstall() { m_flow.Start(); }
