// Input routing of CPaintManagerUI: the window's mouse and keyboard input goes to the control
// under the mouse, the control that took the press, or the control with the focus; the hot,
// pressed and focused controls are tracked here and let go when they are hidden or disabled.
#include "ui/core/ControlUI.h"
#include "ui/core/FocusOrder.h"
#include "ui/core/FocusRing.h"
#include "ui/core/PaintManagerUI.h"

namespace SkinUI {

void CPaintManagerUI::OnControlHidden(CControlUI* control)
{
    BeginDispatch();
    if (m_pressed && control->IsAncestorOf(m_pressed)) {
        CControlUI* pressed = m_pressed;
        m_pressed = nullptr;
        if (m_host) m_host->ReleaseCapture();
        SendEvent(pressed, UIEventType::CaptureLost, m_mousePos);
    }
    if (m_hover && control->IsAncestorOf(m_hover)) {
        CControlUI* hover = m_hover;
        m_hover = nullptr;
        SendEvent(hover, UIEventType::MouseLeave, m_mousePos);
    }
    if (m_focus && control->IsAncestorOf(m_focus)) SetFocus(nullptr);
    EndDispatch();
}

void CPaintManagerUI::OnControlDisabled(CControlUI* control)
{
    BeginDispatch();
    if (m_pressed == control) {
        m_pressed = nullptr;
        if (m_host) m_host->ReleaseCapture();
        SendEvent(control, UIEventType::CaptureLost, m_mousePos);
    }
    if (m_focus == control) SetFocus(nullptr);
    EndDispatch();
}

bool CPaintManagerUI::IsPendingRelease(const CControlUI* control) const
{
    for (const CControlUI* released : m_delayedCleanup) {
        if (released->IsAncestorOf(control)) return true;
    }
    return false;
}

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (control == m_focus) return;
    if (control && (control->GetManager() != this || !control->IsVisible() || !control->IsEnabled() ||
                    IsPendingRelease(control))) {
        return;
    }
    BeginDispatch();
    CControlUI* old = m_focus;
    m_focus = nullptr;
    if (old) {
        InvalidateFocusRing(old);
        SendEvent(old, UIEventType::KillFocus, m_mousePos);
    }
    // The "killfocus" handler may have removed the new control, or moved the focus itself.
    if (control && !m_focus && !IsPendingRelease(control)) {
        m_focus = control;
        InvalidateFocusRing(control);
        SendEvent(control, UIEventType::SetFocus, m_mousePos);
        if (m_focus == control) NotifyAccessible(control, AccEvent::Focus);
    }
    EndDispatch();
}

void CPaintManagerUI::InvalidateFocusRing(const CControlUI* control)
{
    if (!control || !m_host) return;
    const TFocusRing ring = FocusRingFor(control->GetPos(), GetScale());
    if (!ring.outer.IsEmpty()) Invalidate(ring.outer);
}

bool CPaintManagerUI::FocusFirstTabStop(CControlUI* subtree)
{
    const std::vector<CControlUI*> stops = TabStops(subtree);
    if (stops.empty()) return false;
    SetFocus(stops.front());
    return m_focus == stops.front();
}

bool CPaintManagerUI::MoveFocus(bool backward)
{
    CControlUI* next = NextTabStop(TabStops(m_root), m_focus, backward);
    if (!next) return false;
    SetFocus(next);
    return true;
}

void CPaintManagerUI::SetFocusCues(bool show)
{
    if (show == m_focusCues) return;
    m_focusCues = show;
    if (m_focus) {
        InvalidateFocusRing(m_focus);
        m_focus->Invalidate();
    }
}

void CPaintManagerUI::NotifyAccessible(CControlUI* control, AccEvent event)
{
    if (m_host && !m_destroying && control && control->GetManager() == this) m_host->OnAccessibleEvent(control, event);
}

void CPaintManagerUI::UpdateHover(UIPoint pt)
{
    CControlUI* hit = FindControlAt(pt);
    // While a control holds the press, no other control lights up.
    if (m_pressed && hit != m_pressed) hit = nullptr;
    if (hit == m_hover) return;
    CControlUI* old = m_hover;
    m_hover = hit;
    if (m_host) m_host->ShowToolTip(std::wstring(), UIRect{});
    if (old) SendEvent(old, UIEventType::MouseLeave, pt);
    if (hit && m_hover == hit && !IsPendingRelease(hit)) SendEvent(hit, UIEventType::MouseEnter, pt);
}

void CPaintManagerUI::OnMouseMove(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    if (m_pressed) SendEvent(m_pressed, UIEventType::MouseMove, pt);
    UpdateHover(pt);
    if (!m_pressed && m_hover) SendEvent(m_hover, UIEventType::MouseMove, pt);
    EndDispatch();
}

void CPaintManagerUI::OnMouseLeave()
{
    BeginDispatch();
    if (m_host) m_host->ShowToolTip(std::wstring(), UIRect{});
    CControlUI* old = m_hover;
    m_hover = nullptr;
    if (old) SendEvent(old, UIEventType::MouseLeave, m_mousePos);
    EndDispatch();
}

void CPaintManagerUI::PressAt(UIPoint pt, UIEventType type)
{
    m_mousePos = pt;
    BeginDispatch();
    if (m_pressed) {
        // A press that never saw its release (the button went up outside the window).
        CControlUI* stale = m_pressed;
        m_pressed = nullptr;
        SendEvent(stale, UIEventType::CaptureLost, pt);
    }
    SetFocusCues(false);
    CControlUI* hit = FindControlAt(pt);
    if (hit) {
        const bool takesFocus = hit->WantsFocus() && hit->IsEnabled() && hit->IsKeyboardEnabled();
        SetFocus(takesFocus ? hit : nullptr);
        if (!IsPendingRelease(hit)) {
            m_pressed = hit;
            if (m_host) m_host->SetCapture();
            SendEvent(hit, type, pt);
        }
    }
    EndDispatch();
}

void CPaintManagerUI::OnLButtonDown(UIPoint pt) { PressAt(pt, UIEventType::ButtonDown); }

void CPaintManagerUI::OnLButtonDblClick(UIPoint pt) { PressAt(pt, UIEventType::DoubleClick); }

void CPaintManagerUI::OnLButtonUp(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    // The press is taken first: a window that reports our own release of the capture back as a
    // lost capture (Windows sends WM_CAPTURECHANGED at once) then finds nothing to cancel.
    CControlUI* pressed = m_pressed;
    m_pressed = nullptr;
    if (m_host) m_host->ReleaseCapture();
    if (pressed) SendEvent(pressed, UIEventType::ButtonUp, pt);
    UpdateHover(pt);
    EndDispatch();
}

void CPaintManagerUI::OnCaptureLost()
{
    BeginDispatch();
    CControlUI* pressed = m_pressed;
    m_pressed = nullptr;
    if (pressed) SendEvent(pressed, UIEventType::CaptureLost, m_mousePos);
    EndDispatch();
}

void CPaintManagerUI::OnMouseHover(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    CControlUI* hit = FindControlAt(pt);
    if (m_host) {
        if (hit && !hit->GetToolTip().empty()) m_host->ShowToolTip(hit->GetToolTip(), hit->GetPos());
        else m_host->ShowToolTip(std::wstring(), UIRect{});
    }
    if (hit) SendEvent(hit, UIEventType::MouseHover, pt);
    EndDispatch();
}

bool CPaintManagerUI::OnMouseWheel(UIPoint pt, int delta)
{
    CControlUI* hit = FindControlAt(pt);
    if (!hit) return false;
    BeginDispatch();
    SendEvent(hit, UIEventType::ScrollWheel, pt, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(delta)));
    EndDispatch();
    return true;
}

bool CPaintManagerUI::OnSetCursor(UIPoint pt)
{
    CControlUI* hit = FindControlAt(pt);
    if (!hit || !m_host) return false;
    m_host->SetCursor(hit->IsEnabled() ? hit->GetCursor() : UICursor::Arrow);
    return true;
}

bool CPaintManagerUI::OnKeyDown(unsigned virtualKey, bool shift)
{
    if (virtualKey == kKeyTab) {
        SetFocusCues(true);
        return MoveFocus(shift);
    }
    if (!m_focus) return false;
    SetFocusCues(true);
    BeginDispatch();
    SendEvent(m_focus, UIEventType::KeyDown, m_mousePos, 0, virtualKey);
    EndDispatch();
    return true;
}

bool CPaintManagerUI::OnChar(unsigned character)
{
    if (!m_focus) return false;
    BeginDispatch();
    SendEvent(m_focus, UIEventType::Char, m_mousePos, 0, character);
    EndDispatch();
    return true;
}

void CPaintManagerUI::OnWindowSetFocus()
{
    if (m_hasLayoutRect) Invalidate(m_layoutRect);
}

void CPaintManagerUI::OnWindowKillFocus() { OnCaptureLost(); }

}  // namespace SkinUI
