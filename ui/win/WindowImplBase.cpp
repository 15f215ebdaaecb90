#include "ui/win/WindowImplBase.h"

#include <windowsx.h>

#include <utility>

#include "ui/core/ControlUI.h"
#include "ui/text/AsciiCase.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace SkinUI {

bool IsCaptionClass(const std::wstring& className)
{
    static const wchar_t* const kCaptionClasses[] = {
        L"controlui",        L"textui",      L"labelui",       L"containerui",    L"horizontallayoutui",
        L"verticallayoutui", L"tablayoutui", L"childlayoutui", L"dialoglayoutui", L"progresscontainerui",
    };
    for (const wchar_t* name : kCaptionClasses) {
        if (EqualsNoCase(className, name)) return true;
    }
    return false;
}

WindowImplBase::WindowImplBase(TWindowHooks hooks)
    : m_pmWnd(m_pm, std::move(hooks.onFramePresented)), m_onLayoutFailure(std::move(hooks.onLayoutFailure))
{
    MapNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
}

WindowImplBase::~WindowImplBase() = default;

std::wstring WindowImplBase::LayoutFailureText(const std::wstring& layoutFile)
{
    return L"加载资源文件失败：" + layoutFile;
}

// --- Notifications and clicks ---

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    if (!msg.pSender) return;
    const std::wstring& name = msg.pSender->GetName();
    if (name == L"closebtn") Close(1);
    else if (name == L"minbtn") SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn") SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn") SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool WindowImplBase::IsCaptionControl(CControlUI* control)
{
    if (!control) return false;
    for (CControlUI* c = control; c; c = c->GetParent()) {
        if (!IsCaptionClass(c->GetClass())) return false;
    }
    return true;
}

LRESULT WindowImplBase::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // Enter and Escape are offered to the window first; consuming Escape is what keeps it from
    // doing anything at all.
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        if (OnDefaultKey(static_cast<unsigned>(wParam))) handled = true;
    }
    return 0;
}

LONG WindowImplBase::GetStyle()
{
    return static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
}

// --- Creation ---

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = TRUE;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style &= 0xFF3FFFFF;  // no caption: the skin draws the whole window
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);

    m_pmWnd.Init(m_hWnd);
    m_pmWnd.AddPreMessageFilter(this);

    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetLayoutFile(), GetLayoutType(), this, &m_pm);
    if (!root) {
        m_pmWnd.RemovePreMessageFilter(this);
        // Returning -1 makes the creation fail: the window is destroyed before anyone sees it.
        if (m_softLayoutFailure) return -1;
        if (m_onLayoutFailure) {
            m_onLayoutFailure(GetLayoutFile());
            return -1;
        }
        ::MessageBoxW(nullptr, LayoutFailureText(GetLayoutFile()).c_str(), L"SkinUI", MB_OK | MB_ICONERROR);
        ::ExitProcess(1);
    }
    m_pmWnd.AttachDialog(root);
    m_pm.AddNotifier(this);
    if (m_pm.IsLayered()) m_pmWnd.SetLayered(true);
    const TShadowSettings& shadow = m_pm.GetWindowSettings().shadow;
    if (shadow.show && m_pmWnd.GetShadow()) {
        m_pmWnd.GetShadow()->CopySettings(shadow);
        m_pmWnd.GetShadow()->Create(m_hWnd);
    }
    InitWindow();
    return 0;
}

void WindowImplBase::OnFinalMessage(HWND hWnd)
{
    m_pmWnd.RemovePreMessageFilter(this);
    m_pm.RemoveNotifier(this);
    m_pm.RemoveAllTimers();
}

// --- Dispatch ---

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    BOOL handled = TRUE;
    switch (message) {
    case WM_CREATE: result = OnCreate(message, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(message, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(message, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(message, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(message, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(message, wParam, lParam, handled); break;
    case WM_DPICHANGED: result = OnDpiChanged(message, wParam, lParam, handled); break;
    default: handled = FALSE; break;
    }
    if (handled) return result;
    result = HandleCustomMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (m_pmWnd.MessageHandler(message, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

// --- Handlers ---

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (::IsIconic(m_hWnd)) {
        handled = FALSE;
        return 0;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);

    if (!::IsZoomed(m_hWnd)) {
        const UIRect box = m_pm.GetSizeBox();
        if (pt.y < client.top + box.top) {
            if (pt.x < client.left + box.left) return HTTOPLEFT;
            if (pt.x > client.right - box.right) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > client.bottom - box.bottom) {
            if (pt.x < client.left + box.left) return HTBOTTOMLEFT;
            if (pt.x > client.right - box.right) return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (pt.x < client.left + box.left) return HTLEFT;
        if (pt.x > client.right - box.right) return HTRIGHT;
    }

    const UIRect caption = m_pm.GetCaptionRect();
    const bool fullHeight = caption.bottom < 0;
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        (fullHeight || pt.y < caption.bottom)) {
        CControlUI* control = m_pm.FindControlAt(UIPoint{pt.x, pt.y});
        if (control && IsCaptionControl(control)) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
        // Maximised means the work area, not the whole monitor (the taskbar stays visible).
        info->ptMaxPosition.x = monitor.rcWork.left - monitor.rcMonitor.left;
        info->ptMaxPosition.y = monitor.rcWork.top - monitor.rcMonitor.top;
        info->ptMaxSize.x = monitor.rcWork.right - monitor.rcWork.left;
        info->ptMaxSize.y = monitor.rcWork.bottom - monitor.rcWork.top;
    }
    const UISize minInfo = m_pm.GetMinInfo();
    const UISize maxInfo = m_pm.GetMaxInfo();
    if (minInfo.cx > 0) info->ptMinTrackSize.x = minInfo.cx;
    if (minInfo.cy > 0) info->ptMinTrackSize.y = minInfo.cy;
    if (maxInfo.cx > 0) info->ptMaxTrackSize.x = maxInfo.cx;
    if (maxInfo.cy > 0) info->ptMaxTrackSize.y = maxInfo.cy;
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (wParam != SIZE_MINIMIZED) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        const UISize round = m_pm.GetRoundCorner();
        HRGN region = (round.cx != 0 || round.cy != 0)
                          ? ::CreateRoundRectRgn(0, 0, width + 1, height + 1, round.cx, round.cy)
                          : ::CreateRectRgn(0, 0, width + 1, height + 1);
        // The window owns the region from here on.
        if (region && !::SetWindowRgn(m_hWnd, region, TRUE)) ::DeleteObject(region);
    }
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessage(WM_CLOSE, 0, 0);
        handled = TRUE;
        return 0;
    }
    const bool wasZoomed = ::IsZoomed(m_hWnd) != FALSE;
    const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
    if (::IsWindow(m_hWnd) && (::IsZoomed(m_hWnd) != FALSE) != wasZoomed) SwapMaxRestoreButtons();
    handled = TRUE;
    return result;
}

void WindowImplBase::SwapMaxRestoreButtons()
{
    const bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
    if (CControlUI* maxButton = m_pm.FindControl(L"maxbtn")) maxButton->SetVisible(!zoomed);
    if (CControlUI* restoreButton = m_pm.FindControl(L"restorebtn")) restoreButton->SetVisible(zoomed);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // Windows stretches no window of a per-monitor aware program: without this the window would
    // keep its start-up pixel size on a display of another scale.
    m_pmWnd.ApplyDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    return 0;
}

}  // namespace SkinUI
