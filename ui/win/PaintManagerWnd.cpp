#include "ui/win/PaintManagerWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "ui/core/ControlUI.h"
#include "ui/win/AccessibleObject.h"
#include "ui/win/ShadowUI.h"
#include "ui/win/ToolTip.h"
#include "ui/win/WindowWnd.h"

namespace SkinUI {

namespace {

std::vector<CPaintManagerWnd*>& Windows()
{
    static std::vector<CPaintManagerWnd*> windows;
    return windows;
}

UIRect Union(const UIRect& a, const UIRect& b)
{
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return UIRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
}

UIPoint PointOf(LPARAM lParam) { return UIPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LPCWSTR CursorResource(UICursor cursor)
{
    switch (cursor) {
    case UICursor::IBeam: return IDC_IBEAM;
    case UICursor::Wait: return IDC_WAIT;
    case UICursor::Cross: return IDC_CROSS;
    case UICursor::UpArrow: return IDC_UPARROW;
    case UICursor::Size: return IDC_SIZEALL;
    case UICursor::Icon: return IDC_ARROW;
    case UICursor::SizeNWSE: return IDC_SIZENWSE;
    case UICursor::SizeNESW: return IDC_SIZENESW;
    case UICursor::SizeWE: return IDC_SIZEWE;
    case UICursor::SizeNS: return IDC_SIZENS;
    case UICursor::SizeAll: return IDC_SIZEALL;
    case UICursor::No: return IDC_NO;
    case UICursor::Hand: return IDC_HAND;
    case UICursor::Arrow: break;
    }
    return IDC_ARROW;
}

}  // namespace

CPaintManagerWnd::CPaintManagerWnd(CPaintManagerUI& model, PaintObserver onFramePresented)
    : m_model(model), m_onFramePresented(std::move(onFramePresented)), m_shadow(std::make_unique<CShadowUI>(model))
{
}

CPaintManagerWnd::~CPaintManagerWnd()
{
    auto& windows = Windows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    if (m_model.GetHost() == this) m_model.SetHost(nullptr);
}

CPaintManagerWnd* CPaintManagerWnd::FromWindow(HWND hWnd)
{
    if (!hWnd) return nullptr;
    for (CPaintManagerWnd* window : Windows()) {
        if (window->m_hWnd == hWnd) return window;
    }
    return nullptr;
}

void CPaintManagerWnd::SetAccessibleDialog(const std::wstring& titleControl, const std::wstring& messageControl)
{
    m_accTitle = titleControl;
    m_accMessage = messageControl;
}

CControlUI* CPaintManagerWnd::FindLiveControl(const CControlUI* control, std::uint64_t serial) const
{
    CControlUI* found = nullptr;
    if (!control || !m_model.GetRoot()) return nullptr;
    // Pointers are compared before anything is read, so a freed control is never touched.
    m_model.GetRoot()->VisitSubtree([&](CControlUI* c) {
        if (c == control && c->GetSerial() == serial) found = c;
    });
    return found;
}

void CPaintManagerWnd::QueueDefaultAction(std::uint64_t serial)
{
    m_pendingActions.push_back(serial);
    if (m_hWnd) ::PostMessageW(m_hWnd, kMsgAccessibleAction, 0, 0);
}

void CPaintManagerWnd::OnAccessibleEvent(CControlUI* control, AccEvent event)
{
    RaiseAccessibleEvent(*this, control, event);
}

void CPaintManagerWnd::Init(HWND hWnd)
{
    m_hWnd = hWnd;
    m_model.SetHost(this);
    auto& windows = Windows();
    if (std::find(windows.begin(), windows.end(), this) == windows.end()) windows.push_back(this);
    CWindowWnd::SetMessagePreTranslator(&CPaintManagerWnd::TranslateMessage);
}

bool CPaintManagerWnd::AttachDialog(CControlUI* root)
{
    if (!root || !m_hWnd) return false;
    // The document's size at the scale the tree was parsed with.
    const UISize init = m_model.GetInitSize();
    if (init.cx > 0 && init.cy > 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, init.cx, init.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int before = m_model.GetScale();
    if (!m_model.AttachDialog(root)) return false;
    const int after = m_model.GetScale();
    if (after != before && !::IsZoomed(m_hWnd)) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        const int cx = ::MulDiv(rc.right - rc.left, after, before);
        const int cy = ::MulDiv(rc.bottom - rc.top, after, before);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_model.NeedUpdate();
    ::PostMessageW(m_hWnd, kMsgDpiApplied, 0, 0);
    return true;
}

void CPaintManagerWnd::ApplyDpi(int dpi, const RECT* suggested)
{
    if (!m_hWnd) return;
    const int before = m_model.GetScale();
    m_model.SetScale(CDPIScale::ScaleFromDpi(dpi));
    const int after = m_model.GetScale();
    if (suggested) {
        ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (after != before && !::IsZoomed(m_hWnd)) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, ::MulDiv(rc.right - rc.left, after, before),
                       ::MulDiv(rc.bottom - rc.top, after, before), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_model.NeedUpdate();
    Invalidate(ClientRect());
    if (m_shadow) m_shadow->OnScaleChanged();
}

void CPaintManagerWnd::SetLayered(bool layered)
{
    m_model.SetLayered(layered);
    if (!m_hWnd) return;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    const LONG_PTR wanted = layered ? (exStyle | WS_EX_LAYERED) : (exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (wanted != exStyle) ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, wanted);
    Invalidate(ClientRect());
}

// --- Message hooks ---

void CPaintManagerWnd::AddPreMessageFilter(IMessageFilterUI* filter)
{
    if (filter && std::find(m_preFilters.begin(), m_preFilters.end(), filter) == m_preFilters.end())
        m_preFilters.push_back(filter);
}

void CPaintManagerWnd::RemovePreMessageFilter(IMessageFilterUI* filter)
{
    m_preFilters.erase(std::remove(m_preFilters.begin(), m_preFilters.end(), filter), m_preFilters.end());
}

bool CPaintManagerWnd::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A copy: a filter may remove itself (its window closing) while it runs.
    const std::vector<IMessageFilterUI*> filters = m_preFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const LRESULT answer = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

bool CPaintManagerWnd::TranslateMessage(MSG* msg)
{
    if (!msg || !msg->hwnd) return false;
    const std::vector<CPaintManagerWnd*> windows = Windows();
    for (CPaintManagerWnd* window : windows) {
        const HWND own = window->m_hWnd;
        if (!own || (msg->hwnd != own && !::IsChild(own, msg->hwnd))) continue;
        LRESULT result = 0;
        return window->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
    }
    return false;
}

bool CPaintManagerWnd::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_PAINT: OnPaint(); return true;
    case WM_PRINTCLIENT: {
        RepaintAll();
        const UIRect client = ClientRect();
        ::BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, client.Width(), client.Height(), m_surface.GetDC(), 0, 0,
                 SRCCOPY);
        return true;
    }
    case WM_ERASEBKGND: result = 1; return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            m_model.NeedUpdate();
            Invalidate(ClientRect());
        }
        if (m_shadow) m_shadow->Update();
        return false;
    case WM_SHOWWINDOW:
        // The first frame goes out as soon as the messages already queued (the caller's own
        // set-up after a creation with WS_VISIBLE) are done, ahead of the low-priority WM_PAINT.
        if (wParam && !m_presented) ::PostMessageW(m_hWnd, kMsgFirstFrame, 0, 0);
        if (m_shadow) m_shadow->Update(wParam ? 1 : 0);
        return false;
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        if (m_shadow) m_shadow->Update();
        return false;
    case WM_ENABLE:
        // Buttons drop their hot, pushed and focused looks while the window is disabled.
        Invalidate(ClientRect());
        return false;
    case kMsgDpiApplied:
        m_model.NeedUpdate();
        Invalidate(ClientRect());
        return true;
    case kMsgFirstFrame:
        if (!m_presented) PaintNow();
        return true;
    case WM_GETOBJECT: result = AnswerGetObject(m_hWnd, wParam, lParam); return result != 0;
    case kMsgAccessibleAction: {
        const HWND hWnd = m_hWnd;
        const std::vector<std::uint64_t> serials = std::move(m_pendingActions);
        m_pendingActions.clear();
        for (std::uint64_t serial : serials) {
            CControlUI* target = nullptr;
            if (CControlUI* root = m_model.GetRoot()) {
                root->VisitSubtree([&](CControlUI* c) {
                    if (c->GetSerial() == serial) target = c;
                });
            }
            if (target) target->Activate();
            // The action may have closed the window and destroyed this object with it.
            if (FromWindow(hWnd) != this) break;
        }
        return true;
    }
    case WM_TIMER: return m_model.OnTimer(static_cast<unsigned>(wParam));
    case WM_MOUSEMOVE:
        TrackMouse();
        m_model.OnMouseMove(PointOf(lParam));
        return true;
    case WM_MOUSELEAVE:
        m_mouseTracking = false;
        if (m_toolTip) m_toolTip->Hide();
        m_model.OnMouseLeave();
        return true;
    case WM_MOUSEHOVER:
        m_mouseTracking = false;
        m_model.OnMouseHover(PointOf(lParam));
        return true;
    case WM_LBUTTONDOWN:
        if (::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
        if (m_toolTip) m_toolTip->Hide();
        m_model.OnLButtonDown(PointOf(lParam));
        return true;
    case WM_LBUTTONDBLCLK: m_model.OnLButtonDblClick(PointOf(lParam)); return true;
    case WM_LBUTTONUP: m_model.OnLButtonUp(PointOf(lParam)); return true;
    case WM_CAPTURECHANGED:
        // Losing the capture to someone else cancels a press; giving it up ourselves (the model
        // releases it before it delivers the button-up) does not.
        if (!m_releasingCapture && reinterpret_cast<HWND>(lParam) != m_hWnd) m_model.OnCaptureLost();
        return false;
    case WM_MOUSEWHEEL: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWnd, &pt);
        return m_model.OnMouseWheel(UIPoint{pt.x, pt.y}, GET_WHEEL_DELTA_WPARAM(wParam));
    }
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) return false;
        POINT pt = {};
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        if (!m_model.OnSetCursor(UIPoint{pt.x, pt.y})) return false;
        result = TRUE;
        return true;
    }
    case WM_KEYDOWN: return m_model.OnKeyDown(static_cast<unsigned>(wParam), ::GetKeyState(VK_SHIFT) < 0);
    case WM_CHAR: return m_model.OnChar(static_cast<unsigned>(wParam));
    case WM_SETFOCUS: m_model.OnWindowSetFocus(); return false;
    case WM_KILLFOCUS: m_model.OnWindowKillFocus(); return false;
    case WM_DESTROY:
        m_toolTip.reset();
        if (m_shadow) m_shadow->Destroy();
        return false;
    default: return false;
    }
}

// --- Painting (the rest is in PaintManagerWndPaint.cpp) ---

void CPaintManagerWnd::OnPaint()
{
    PAINTSTRUCT ps = {};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    UIRect dirty = Union(m_dirty, UIRect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    m_dirty = UIRect{};
    const bool whole = m_model.IsUpdateNeeded() || !m_model.IsFirstLayoutDone() ||
                       m_surface.Width() != ClientRect().Width() || m_surface.Height() != ClientRect().Height();
    if (whole) dirty = ClientRect();
    Render(dirty);
    Present(dirty, dc);
    ::EndPaint(m_hWnd, &ps);
}

// --- IUIHost ---

void CPaintManagerWnd::Invalidate(const UIRect& rc)
{
    UIRect part;
    if (!m_hWnd || !part.Intersect(rc, ClientRect())) return;
    m_dirty = Union(m_dirty, part);
    RECT r = {part.left, part.top, part.right, part.bottom};
    ::InvalidateRect(m_hWnd, &r, FALSE);
}

bool CPaintManagerWnd::SetTimer(unsigned nativeId, unsigned elapseMs)
{
    return m_hWnd && ::SetTimer(m_hWnd, nativeId, elapseMs, nullptr) != 0;
}

void CPaintManagerWnd::KillTimer(unsigned nativeId)
{
    if (m_hWnd) ::KillTimer(m_hWnd, nativeId);
}

void CPaintManagerWnd::SetCapture()
{
    if (m_hWnd) ::SetCapture(m_hWnd);
}

void CPaintManagerWnd::ReleaseCapture()
{
    if (!m_hWnd || ::GetCapture() != m_hWnd) return;
    m_releasingCapture = true;
    ::ReleaseCapture();
    m_releasingCapture = false;
}

void CPaintManagerWnd::SetCursor(UICursor cursor) { ::SetCursor(::LoadCursorW(nullptr, CursorResource(cursor))); }

void CPaintManagerWnd::ShowToolTip(const std::wstring& text, const UIRect& rc)
{
    if (!m_hWnd) return;
    if (text.empty()) {
        if (m_toolTip) m_toolTip->Hide();
        return;
    }
    if (!m_toolTip) m_toolTip = std::make_unique<CToolTipWnd>(m_hWnd);
    m_toolTip->Show(text, RECT{rc.left, rc.top, rc.right, rc.bottom});
}

bool CPaintManagerWnd::IsWindowEnabled() const { return !m_hWnd || ::IsWindowEnabled(m_hWnd); }

std::uint32_t CPaintManagerWnd::GetTickCount() const { return ::GetTickCount(); }

void CPaintManagerWnd::TrackMouse()
{
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE | TME_HOVER;
    tme.hwndTrack = m_hWnd;
    tme.dwHoverTime = static_cast<DWORD>(m_model.GetWindowSettings().tooltipHoverTime);
    if (::TrackMouseEvent(&tme)) m_mouseTracking = true;
}

}  // namespace SkinUI
