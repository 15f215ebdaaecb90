#include "ui/core/ControlUI.h"

#include <algorithm>

#include "ui/core/PaintManagerUI.h"

namespace SkinUI {

namespace {

int NonNegative(int value) { return value < 0 ? 0 : value; }

// Controls are made on the window's thread only, so a plain counter suffices.
std::uint64_t g_nextSerial = 1;

}  // namespace

CControlUI::CControlUI() : m_serial(g_nextSerial++) {}

CControlUI::~CControlUI()
{
    if (m_manager) m_manager->ReapObjects(this);
}

void CControlUI::SetName(const std::wstring& name)
{
    if (name == m_name) return;
    const std::wstring old = m_name;
    m_name = name;
    if (m_manager) m_manager->OnControlRenamed(this, old);
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    m_manager = manager;
    m_parent = parent;
    if (init && manager) manager->InitControl(this);
}

void CControlUI::VisitSubtree(const std::function<void(CControlUI*)>& visit) { visit(this); }

bool CControlUI::IsAncestorOf(const CControlUI* other) const
{
    for (const CControlUI* c = other; c; c = c->m_parent) {
        if (c == this) return true;
    }
    return false;
}

void CControlUI::SetText(const std::wstring& text)
{
    if (text == m_text) return;
    m_text = text;
    Invalidate();
    if (m_manager && m_accName.empty()) m_manager->NotifyAccessible(this, AccEvent::NameChange);
}

void CControlUI::SetAccName(const std::wstring& name)
{
    if (name == m_accName) return;
    m_accName = name;
    if (m_manager) m_manager->NotifyAccessible(this, AccEvent::NameChange);
}

AccRole CControlUI::GetAccessibleRole() const
{
    return !m_accName.empty() && !GetBkImage().empty() ? AccRole::Graphic : AccRole::None;
}

std::wstring CControlUI::GetAccessibleName() const { return m_accName.empty() ? m_text : m_accName; }

unsigned CControlUI::GetAccessibleStates() const
{
    unsigned states = 0;
    if (!IsVisible()) states |= kAccInvisible;
    if (!IsEnabled()) states |= kAccUnavailable;
    if (WantsFocus() && IsVisible() && IsEnabled() && IsKeyboardEnabled()) states |= kAccFocusable;
    if (IsFocused()) states |= kAccFocused;
    return states;
}

// --- Geometry ---

int CControlUI::Scale(int value) const { return m_manager ? m_manager->ScaleValue(value) : value; }

UIRect CControlUI::ScaleMargins(const UIRect& margins) const
{
    return m_manager ? m_manager->ScaleMargins(margins) : margins;
}

void CControlUI::SetPos(const UIRect& rc)
{
    UIRect r = rc;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    m_updateNeeded = false;
    if (r == m_rcItem) return;
    Invalidate();
    m_rcItem = r;
    Invalidate();
}

void CControlUI::SetFloat(bool floating)
{
    if (floating == m_float) return;
    m_float = floating;
    NeedParentUpdate();
}

void CControlUI::SetFloatPercent(const UIFloatPercent& percent)
{
    m_floatPercent = percent;
    NeedParentUpdate();
}

UIPoint CControlUI::GetFixedXY() const { return m_manager ? m_manager->ScalePoint(m_fixedXY) : m_fixedXY; }

void CControlUI::SetFixedXY(UIPoint xy)
{
    m_fixedXY = xy;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const { return Scale(m_fixedSize.cx); }

void CControlUI::SetFixedWidth(int cx)
{
    m_fixedSize.cx = NonNegative(cx);
    NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const { return Scale(m_fixedSize.cy); }

void CControlUI::SetFixedHeight(int cy)
{
    m_fixedSize.cy = NonNegative(cy);
    NeedParentUpdate();
}

int CControlUI::GetMinWidth() const { return Scale(m_minSize.cx); }

void CControlUI::SetMinWidth(int cx)
{
    m_minSize.cx = NonNegative(cx);
    NeedParentUpdate();
}

int CControlUI::GetMaxWidth() const { return Scale(m_maxSize.cx); }

void CControlUI::SetMaxWidth(int cx)
{
    m_maxSize.cx = NonNegative(cx);
    NeedParentUpdate();
}

int CControlUI::GetMinHeight() const { return Scale(m_minSize.cy); }

void CControlUI::SetMinHeight(int cy)
{
    m_minSize.cy = NonNegative(cy);
    NeedParentUpdate();
}

int CControlUI::GetMaxHeight() const { return Scale(m_maxSize.cy); }

void CControlUI::SetMaxHeight(int cy)
{
    m_maxSize.cy = NonNegative(cy);
    NeedParentUpdate();
}

UIRect CControlUI::GetPadding() const { return ScaleMargins(m_padding); }

void CControlUI::SetPadding(const UIRect& padding)
{
    m_padding = padding;
    NeedParentUpdate();
}

UISize CControlUI::EstimateSize(UISize /*available*/) { return UISize{GetFixedWidth(), GetFixedHeight()}; }

// --- State ---

void CControlUI::SetVisible(bool visible)
{
    if (visible == m_visible) return;
    const bool wasVisible = IsVisible();
    if (wasVisible) Invalidate();  // the area it leaves must be repainted
    m_visible = visible;
    if (wasVisible && !IsVisible() && m_manager) m_manager->OnControlHidden(this);
    NeedParentUpdate();
    if (m_manager && wasVisible != IsVisible())
        m_manager->NotifyAccessible(this, IsVisible() ? AccEvent::Show : AccEvent::Hide);
}

void CControlUI::SetInternVisible(bool visible)
{
    if (visible == m_internVisible) return;
    const bool wasVisible = IsVisible();
    m_internVisible = visible;
    if (wasVisible && !IsVisible() && m_manager) m_manager->OnControlHidden(this);
}

void CControlUI::SetEnabled(bool enabled)
{
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled && m_manager) m_manager->OnControlDisabled(this);
    Invalidate();
    if (m_manager) m_manager->NotifyAccessible(this, AccEvent::StateChange);
}

void CControlUI::SetFocus()
{
    if (m_manager) m_manager->SetFocus(this);
}

// --- Look ---

void CControlUI::SetBkColor(UIColor color)
{
    m_bkColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(UIColor color)
{
    m_bkColor2 = color;
    Invalidate();
}

void CControlUI::SetBkColor3(UIColor color)
{
    m_bkColor3 = color;
    Invalidate();
}

void CControlUI::SetForeColor(UIColor color)
{
    m_foreColor = color;
    Invalidate();
}

void CControlUI::SetBorderColor(UIColor color)
{
    m_borderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(UIColor color)
{
    m_focusBorderColor = color;
    Invalidate();
}

UIRect CControlUI::GetBorderSize() const { return ScaleMargins(m_borderSize); }

void CControlUI::SetBorderSize(int size)
{
    size = NonNegative(size);
    SetBorderSize(UIRect{size, size, size, size});
}

void CControlUI::SetBorderSize(const UIRect& sides)
{
    m_borderSize =
        UIRect{NonNegative(sides.left), NonNegative(sides.top), NonNegative(sides.right), NonNegative(sides.bottom)};
    Invalidate();
}

UISize CControlUI::GetBorderRound() const { return m_manager ? m_manager->ScaleSize(m_borderRound) : m_borderRound; }

void CControlUI::SetBorderRound(UISize round)
{
    m_borderRound = round;
    Invalidate();
}

const TDrawInfo& CControlUI::GetBkImageInfo() const { return m_bkImage.Get(m_manager); }

const TDrawInfo& CControlUI::GetForeImageInfo() const { return m_foreImage.Get(m_manager); }

void CControlUI::SetBkImage(const std::wstring& image)
{
    m_bkImage.Set(image, m_manager);
    Invalidate();
}

void CControlUI::SetForeImage(const std::wstring& image)
{
    m_foreImage.Set(image, m_manager);
    Invalidate();
}

std::wstring CControlUI::GetVirtualWnd() const
{
    for (const CControlUI* c = this; c; c = c->m_parent) {
        if (!c->m_virtualWnd.empty()) return c->m_virtualWnd;
    }
    return std::wstring();
}

// --- Layout and painting requests ---

void CControlUI::NeedUpdate()
{
    m_updateNeeded = true;
    Invalidate();
    if (m_manager) m_manager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_parent) m_parent->NeedUpdate();
    else NeedUpdate();
    Invalidate();
}

void CControlUI::Invalidate()
{
    if (m_manager && IsVisible() && !m_rcItem.IsEmpty()) m_manager->Invalidate(m_rcItem);
}

bool CControlUI::SetTimer(unsigned timerId, unsigned elapseMs)
{
    return m_manager && m_manager->SetTimer(this, timerId, elapseMs);
}

void CControlUI::KillTimer(unsigned timerId)
{
    if (m_manager) m_manager->KillTimer(this, timerId);
}

// --- Input ---

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEventType::SetFocus:
        m_focused = true;
        Invalidate();
        if (m_manager) m_manager->SendNotify(this, L"setfocus");
        break;
    case UIEventType::KillFocus:
        m_focused = false;
        Invalidate();
        if (m_manager) m_manager->SendNotify(this, L"killfocus");
        break;
    case UIEventType::Timer:
        if (m_manager) m_manager->SendNotify(this, L"timer", event.wParam, event.lParam);
        break;
    case UIEventType::ScrollWheel:
        // A plain control does not scroll: the nearest container that can does.
        if (m_parent) m_parent->DoEvent(event);
        break;
    default: break;
    }
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CControlUI* CControlUI::FindControlAt(UIPoint pt)
{
    if (!IsVisible() || !m_mouseEnabled || !m_rcItem.Contains(pt)) return nullptr;
    return this;
}

CControlUI* CControlUI::FindSubControl(const std::wstring& name) { return name == m_name ? this : nullptr; }

}  // namespace SkinUI
