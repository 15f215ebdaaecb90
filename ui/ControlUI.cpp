#include "ui/ControlUI.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "ui/PaintManagerUI.h"
#include "ui/UIValues.h"

namespace SkinUI {

using namespace std::string_view_literals;

namespace {

// Style lists may name other styles; a list that (directly or not) names itself would recurse
// forever, so nesting stops at this depth.
const int kMaxAttributeListDepth = 8;
thread_local int t_attributeListDepth = 0;

// "0.5" -> 0.5. Digits, one optional ".", more digits; anything else ends the number. Locale
// independent, unlike wcstod.
double ParseFraction(const std::wstring& text, size_t& pos)
{
    while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) negative = text[pos++] == L'-';
    double value = 0.0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') value = value * 10 + (text[pos++] - L'0');
    if (pos < text.size() && text[pos] == L'.') {
        ++pos;
        double unit = 0.1;
        while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
            value += (text[pos++] - L'0') * unit;
            unit /= 10;
        }
    }
    return negative ? -value : value;
}

// "l,t,r,b" of fractions (a relative float position).
UIFloatPercent ParseFloatPercent(const std::wstring& text)
{
    double parts[4] = {0, 0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 4 && pos <= text.size(); ++i) {
        parts[i] = ParseFraction(text, pos);
        pos = text.find(L',', pos);
        if (pos == std::wstring::npos) break;
        ++pos;
    }
    return UIFloatPercent{parts[0], parts[1], parts[2], parts[3]};
}

int NonNegative(int value) { return value < 0 ? 0 : value; }

}  // namespace

std::wstring LowerAttributeName(const std::wstring& name)
{
    std::wstring lower = name;
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

CControlUI::CControlUI() = default;

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
    m_borderSize = UIRect{NonNegative(sides.left), NonNegative(sides.top), NonNegative(sides.right),
                          NonNegative(sides.bottom)};
    Invalidate();
}

UISize CControlUI::GetBorderRound() const
{
    return m_manager ? m_manager->ScaleSize(m_borderRound) : m_borderRound;
}

void CControlUI::SetBorderRound(UISize round)
{
    m_borderRound = round;
    Invalidate();
}

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

// --- Markup ---

void CControlUI::SetAttribute(const std::wstring& rawName, const std::wstring& value)
{
    const std::wstring name = LowerAttributeName(rawName);
    if (name == L"name"sv) SetName(value);
    else if (name == L"pos"sv) {
        // left/top become the offset inside the parent, the extent the fixed size.
        const UIRect rc = ParseRect(value);
        SetFixedXY(UIPoint{rc.left, rc.top});
        SetFixedWidth(std::abs(rc.right - rc.left));
        SetFixedHeight(std::abs(rc.bottom - rc.top));
    } else if (name == L"float"sv) {
        if (value.find(L',') != std::wstring::npos) {
            SetFloat(true);
            SetFloatPercent(ParseFloatPercent(value));
        } else {
            SetFloat(ParseBool(value));
        }
    } else if (name == L"padding"sv) SetPadding(ParseRect(value));
    else if (name == L"width"sv) SetFixedWidth(ParseInt(value));
    else if (name == L"height"sv) SetFixedHeight(ParseInt(value));
    else if (name == L"minwidth"sv) SetMinWidth(ParseInt(value));
    else if (name == L"minheight"sv) SetMinHeight(ParseInt(value));
    else if (name == L"maxwidth"sv) SetMaxWidth(ParseInt(value));
    else if (name == L"maxheight"sv) SetMaxHeight(ParseInt(value));
    else if (name == L"text"sv) SetText(value);
    else if (name == L"tooltip"sv) SetToolTip(value);
    else if (name == L"userdata"sv) SetUserData(value);
    else if (name == L"visible"sv) SetVisible(ParseBool(value));
    else if (name == L"enabled"sv) SetEnabled(ParseBool(value));
    else if (name == L"mouse"sv) SetMouseEnabled(ParseBool(value));
    else if (name == L"keyboard"sv) SetKeyboardEnabled(ParseBool(value));
    else if (name == L"bkcolor"sv || name == L"bkcolor1"sv) SetBkColor(ParseColor(value));
    else if (name == L"bkcolor2"sv) SetBkColor2(ParseColor(value));
    else if (name == L"bkcolor3"sv) SetBkColor3(ParseColor(value));
    else if (name == L"forecolor"sv) SetForeColor(ParseColor(value));
    else if (name == L"bordercolor"sv) SetBorderColor(ParseColor(value));
    else if (name == L"focusbordercolor"sv) SetFocusBorderColor(ParseColor(value));
    else if (name == L"bordersize"sv) {
        if (value.find(L',') != std::wstring::npos) SetBorderSize(ParseRect(value));
        else SetBorderSize(ParseInt(value));
    } else if (name == L"leftbordersize"sv) {
        UIRect sides = m_borderSize;
        sides.left = ParseInt(value);
        SetBorderSize(sides);
    } else if (name == L"topbordersize"sv) {
        UIRect sides = m_borderSize;
        sides.top = ParseInt(value);
        SetBorderSize(sides);
    } else if (name == L"rightbordersize"sv) {
        UIRect sides = m_borderSize;
        sides.right = ParseInt(value);
        SetBorderSize(sides);
    } else if (name == L"bottombordersize"sv) {
        UIRect sides = m_borderSize;
        sides.bottom = ParseInt(value);
        SetBorderSize(sides);
    } else if (name == L"borderstyle"sv) m_borderStyle = ParseInt(value);
    else if (name == L"borderround"sv) SetBorderRound(ParseSize(value));
    else if (name == L"bkimage"sv) SetBkImage(value);
    else if (name == L"foreimage"sv) SetForeImage(value);
    else if (name == L"cursor"sv) SetCursor(ParseCursor(value));
    else if (name == L"virtualwnd"sv) SetVirtualWnd(value);
    else if (name == L"colorhsl"sv) m_colorHSL = ParseBool(value);
    else if (name == L"style"sv || name == L"innerstyle"sv) {
        if (m_manager) ApplyAttributeList(m_manager->GetStyle(value));
    }
}

void CControlUI::ApplyAttributeList(const std::wstring& list)
{
    if (list.empty() || t_attributeListDepth >= kMaxAttributeListDepth) return;
    ++t_attributeListDepth;
    for (const auto& attribute : ParseAttributeList(list)) SetAttribute(attribute.first, attribute.second);
    --t_attributeListDepth;
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
    default:
        break;
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
