#include "app/KPMainFrame.h"

#include <string>
#include <utility>

#include "KPCore/inner/ProductInfo.h"
#include "app/FailureQuestion.h"
#include "pages/DimmingMask.h"
#include "pages/InstallEvents.h"
#include "pages/InstallSettings.h"
#include "pages/KPMsgBox.h"
#include "pages/WindowLook.h"

namespace {

constexpr int kPageCount = 4;

// The keyboard starts on a page's main button; the progress page has none, so there the focus
// stays nowhere until Tab is pressed. A disabled main button (the agreement not accepted) passes
// it on to the page's first stop.
void FocusMainButton(SkinUI::CPaintManagerUI& pm, SkinUI::CTabLayoutUI& tab, int page)
{
    static const wchar_t* const kMainButtons[kPageCount] = {L"installBtn", L"installBtn1", nullptr, L"completeBtn"};
    if (!kMainButtons[page]) return;
    SkinUI::CControlUI* main = pm.FindControl(kMainButtons[page]);
    if (main) main->SetFocus();
    if (!main || pm.GetFocus() != main) pm.FocusFirstTabStop(tab.GetItemAt(page));
}

int AskAfterFailureWithMessageBox(HWND owner, InstallFailure failure)
{
    const FailureQuestionText words = FailureQuestionWords(failure);
    return ShowMessageBox(owner, kProductName, words.title, words.message, L"确定", L"取消", nullptr,
                          kInstallerWindowStyle, kInstallerWindowExStyle, true);
}

}  // namespace

const wchar_t* const kPageVirtualWnds[4] = {L"install0", L"install1", L"install2", L"install3"};

MainFrameServices RealMainFrameServices(LogSink log)
{
    MainFrameServices services;
    services.pages = RealPageServices();
    services.pages.log = log;
    services.flow = RealInstallFlowServices(std::move(log));
    services.askAfterFailure = AskAfterFailureWithMessageBox;
    return services;
}

KPMainFrame::KPMainFrame(MainFrameServices services)
    : CKPObjectWnd(L"KPMainFrame.xml", L"kpmainframe", services.window),
      m_services(std::move(services)),
      m_page0(&m_pm, m_services.pages),
      m_page1(&m_pm, m_services.pages),
      m_page2(&m_pm, m_services.pages),
      m_page3(&m_pm, m_services.pages),
      m_flow(*this, m_services.flow)
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
    // Closing waits about two seconds at most for threads, all of them together: the install flow
    // abandons a running download first (its worker gets up to two seconds, so no report of it can
    // reach the window any more), and the warm-up gets only what is left of that time.
    const ULONGLONG started = ::GetTickCount64();
    m_flow.Stop();
    const ULONGLONG spent = ::GetTickCount64() - started;
    m_warmUp.Release(spent < kCloseWaitMs ? static_cast<DWORD>(kCloseWaitMs - spent) : 0);
    // The members go now in reverse order: the let-go warm-up, the stopped flow, the references
    // and pages, and the install worker, which is stopped and joined.
}

KPMainFrame* KPMainFrame::Create(HWND parent, KpBase* parentBase, bool modal, const wchar_t* title, DWORD style,
                                 DWORD exStyle, bool show, MainFrameServices services)
{
    KPMainFrame* frame = CreateOwnedWindow(new KPMainFrame(std::move(services)), parent, title, style, exStyle);
    if (!frame) return nullptr;
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

void KPMainFrame::InitWindow()
{
    m_pmWnd.SetLayered(true);
    m_root = SkinUI::BindControl<SkinUI::CControlUI>(m_pm, L"verRoot");
    m_tab = SkinUI::BindControl<SkinUI::CTabLayoutUI>(m_pm, L"tabInstall");
    m_page0.Init();
    m_page1.Init();
    m_page2.Init();
    m_page3.Init();
    // Whatever page the layout shows, the wizard opens on the welcome page.
    ShowPage(PAGE_WELCOME);
    if (m_tab) FocusMainButton(m_pm, *m_tab, PAGE_WELCOME);
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
    } else if (message == WM_ENDSESSION && wParam) {
        OnEndSession();
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
    } else if (timerId == TIMER_CLOSE_PENDING) {
        // Posted rather than handled here: a timer may fire inside a modal loop whose caller is
        // still on the stack.
        ::KillTimer(GetHWND(), TIMER_CLOSE_PENDING);
        ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
    }
    m_flow.OnTimer(timerId);
    BOOL handled = FALSE;
    m_page2.OnTimer(WM_TIMER, timerId, 0, handled);
    return 0;
}

void KPMainFrame::OnEvent(int code, int argument, int reserved)
{
    switch (code) {
    case EVENT_POST_TO_UI: PostMessage(WM_INSTALL_EVENT, static_cast<WPARAM>(argument), 0); break;
    case EVENT_SHOW_PAGE:
        ShowPage(argument);
        // Showing the progress page is what starts the installation, even when it is shown already.
        if (argument == PAGE_PROGRESS) OnEvent(EVENT_START_INSTALL, 0, 0);
        break;
    case EVENT_START_INSTALL: StartInstall(); break;
    default: break;
    }
}

void KPMainFrame::ShowPage(int page)
{
    if (!m_tab || page < 0 || page >= kPageCount || page == m_tab->GetCurSel()) return;
    m_tab->SelectItem(page);
    FocusMainButton(m_pm, *m_tab, page);
}

int KPMainFrame::GetShownPage() const { return m_tab ? m_tab->GetCurSel() : -1; }

void KPMainFrame::StartInstall() { m_flow.Start(GetInstallSettings()); }

namespace {

struct OwnedDialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<OwnedDialogSearch*>(param);
    wchar_t className[16] = {};
    if (::GetWindow(window, GW_OWNER) != search->owner || !::IsWindowEnabled(window) || !::IsWindowVisible(window) ||
        !::GetClassNameW(window, className, 16) || std::wstring(className) != L"#32770")
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND KPMainFrame::FindModalOver() const
{
    if (HWND box = SkinUI::CWindowWnd::ModalWindowOver(m_hWnd)) return box;
    if (::IsWindowEnabled(m_hWnd)) return nullptr;
    OwnedDialogSearch search{m_hWnd, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT KPMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = TRUE;
    // The caller of a question box (a page, the install flow) is further up this thread's stack
    // and goes on using the pages once it has its answer: destroying them under it would crash.
    // So the box goes first, and the close is tried again after it, when no caller is left.
    if (HWND modal = FindModalOver()) {
        ::PostMessageW(modal, WM_CLOSE, 0, 0);
        ::SetTimer(m_hWnd, TIMER_CLOSE_PENDING, CLOSE_PENDING_MS, nullptr);
        return 0;
    }
    // A disabled window with nothing of ours over it: whatever disabled it is still running.
    if (!::IsWindowEnabled(m_hWnd)) {
        ::SetTimer(m_hWnd, TIMER_CLOSE_PENDING, CLOSE_PENDING_MS, nullptr);
        return 0;
    }
    // The package has installed the application: whoever closes the window, the product keeps its
    // entry in the list of installed programs and its Start-menu shortcuts.
    if (m_flow.GetStage() == CInstallFlow::Stage::Finished && !m_page3.IsInstallFinished()) FinishInstall();
    handled = FALSE;
    return 0;
}

void KPMainFrame::OnEndSession()
{
    if (m_flow.GetStage() == CInstallFlow::Stage::Finished && !m_page3.IsInstallFinished()) FinishInstall();
    // Nothing of the attempt is to be left behind either.
    m_flow.Stop();
}

// ---- the install flow's window ----

void KPMainFrame::ShowProgress(double percent) { m_page2.SetProgress(percent); }

bool KPMainFrame::AskAfterFailure(InstallFailure failure)
{
    // The window stays dimmed behind the question until it is answered.
    CDimmingMask mask(m_pm);
    return m_services.askAfterFailure(GetHWND(), failure) == CKPMsgBox::kOk;
}

void KPMainFrame::FinishInstall() { m_page3.FinishInstall(); }

bool KPMainFrame::IsQuestionOpen() const { return !::IsWindowEnabled(m_hWnd); }

void KPMainFrame::PostClose() { ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0); }

void KPMainFrame::StartTimer(unsigned int id, unsigned int milliseconds)
{
    ::SetTimer(GetHWND(), id, milliseconds, nullptr);
}

void KPMainFrame::StopTimer(unsigned int id)
{
    // The flow stops its timers as the window goes, when its handle may be stale already.
    HWND window = GetHWND();
    if (window && ::IsWindow(window)) ::KillTimer(window, id);
}

ReportPoster KPMainFrame::MakeReportPoster()
{
    HWND window = GetHWND();
    return [window](int code, int attempt) {
        ::PostMessageW(window, WM_DOWNLOAD_REPORT, static_cast<WPARAM>(code), static_cast<LPARAM>(attempt));
    };
}
