#include "ui/controls/ButtonUI.h"

#include <string_view>

#include "ui/base/UIValues.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

using namespace std::string_view_literals;

CButtonUI::CButtonUI() { SetTextStyle(kTextSingleLine | kTextVCenter | kTextCenter); }

unsigned CButtonUI::GetButtonState() const
{
    unsigned state = m_state;
    if (IsFocused()) state |= kStateFocused;
    if (!IsEnabled()) state |= kStateDisabled;
    return state;
}

unsigned CButtonUI::GetDrawnState() const
{
    return DrawnButtonState(GetButtonState(), m_manager ? m_manager->IsWindowEnabled() : true);
}

const CImageSlot& CButtonUI::GetImageSlot(ButtonImage which) const
{
    if (which == ButtonImage::Fore) return GetForeImageSlot();
    return m_images[static_cast<int>(which)];
}

void CButtonUI::SetImage(ButtonImage which, const std::wstring& value)
{
    if (which == ButtonImage::Fore) {
        SetForeImage(value);
        return;
    }
    m_images[static_cast<int>(which)].Set(value, m_manager);
    Invalidate();
}

ImageAvailable CButtonUI::DefaultAvailability() const
{
    return [this](ButtonImage which) { return which != ButtonImage::None && !GetImageSlot(which).IsEmpty(); };
}

ButtonImage CButtonUI::ChooseStatusImage(const ImageAvailable& available) const
{
    return ChooseButtonStatusImage(GetDrawnState(), available ? available : DefaultAvailability());
}

ButtonImage CButtonUI::ChooseForeImage(const ImageAvailable& available) const
{
    return ChooseButtonForeImage(GetDrawnState(), available ? available : DefaultAvailability());
}

UIColor CButtonUI::ChooseTextColor() const
{
    const TWindowSettings defaults;
    const TWindowSettings& window = m_manager ? m_manager->GetWindowSettings() : defaults;
    return ChooseButtonTextColor(GetDrawnState(), GetTextColors(), window.defaultFontColor, window.disabledFontColor);
}

TButtonTextColors CButtonUI::GetTextColors() const
{
    TButtonTextColors colors = m_colors;
    colors.normal = GetTextColor();
    colors.disabled = GetDisabledTextColor();
    return colors;
}

void CButtonUI::SetStateBits(unsigned bits, bool on)
{
    const unsigned state = on ? (m_state | bits) : (m_state & ~bits);
    if (state == m_state) return;
    m_state = state;
    Invalidate();
}

void CButtonUI::SetEnabled(bool enabled)
{
    // A button disabled while pressed or hot forgets it: it must not click on the release.
    if (!enabled) SetStateBits(kStateHot | kStatePushed | kStateCaptured, false);
    CLabelUI::SetEnabled(enabled);
}

void CButtonUI::SetAttribute(const std::wstring& rawName, const std::wstring& value)
{
    const std::wstring name = AsciiLower(rawName);
    if (name == L"normalimage"sv) SetImage(ButtonImage::Normal, value);
    else if (name == L"hotimage"sv) SetImage(ButtonImage::Hot, value);
    else if (name == L"pushedimage"sv) SetImage(ButtonImage::Pushed, value);
    else if (name == L"focusedimage"sv) SetImage(ButtonImage::Focused, value);
    else if (name == L"disabledimage"sv) SetImage(ButtonImage::Disabled, value);
    else if (name == L"hotforeimage"sv) SetImage(ButtonImage::HotFore, value);
    else if (name == L"hottextcolor"sv) m_colors.hot = ParseColor(value);
    else if (name == L"pushedtextcolor"sv) m_colors.pushed = ParseColor(value);
    else if (name == L"focusedtextcolor"sv) m_colors.focused = ParseColor(value);
    else if (name == L"hotbkcolor"sv) m_hotBkColor = ParseColor(value);
    else if (name == L"pushedbkcolor"sv) m_pushedBkColor = ParseColor(value);
    else if (name == L"disabledbkcolor"sv) m_disabledBkColor = ParseColor(value);
    else if (name == L"hotfont"sv) m_hotFont = ParseInt(value);
    else if (name == L"pushedfont"sv) m_pushedFont = ParseInt(value);
    else if (name == L"focuedfont"sv || name == L"focusedfont"sv) m_focusedFont = ParseInt(value);
    else if (name == L"bindtabindex"sv) m_bindTabIndex = ParseInt(value);
    else if (name == L"bindtablayoutname"sv) m_bindTabLayoutName = value;
    else {
        CLabelUI::SetAttribute(rawName, value);
        return;
    }
    Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEventType::KeyDown:
        if (IsKeyboardEnabled() && (event.chKey == kKeySpace || event.chKey == kKeyReturn)) Activate();
        return;
    case UIEventType::ButtonDown:
    case UIEventType::DoubleClick:
        if (IsVisible() && IsEnabled() && GetPos().Contains(event.ptMouse)) {
            SetStateBits(kStatePushed | kStateCaptured, true);
        }
        return;
    case UIEventType::MouseMove:
        if (m_state & kStateCaptured) SetStateBits(kStatePushed, GetPos().Contains(event.ptMouse));
        return;
    case UIEventType::ButtonUp:
        if (m_state & kStateCaptured) {
            SetStateBits(kStatePushed | kStateCaptured, false);
            if (GetPos().Contains(event.ptMouse)) Activate();
        }
        return;
    case UIEventType::CaptureLost:
        SetStateBits(kStatePushed | kStateCaptured, false);
        return;
    case UIEventType::MouseEnter:
        if (IsEnabled()) SetStateBits(kStateHot, true);
        return;
    case UIEventType::MouseLeave:
        SetStateBits(kStateHot, false);
        return;
    default:
        CLabelUI::DoEvent(event);
        return;
    }
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (!m_manager) return true;
    m_manager->SendNotify(this, L"click");
    if (!m_bindTabLayoutName.empty()) {
        if (auto* tab = dynamic_cast<CTabLayoutUI*>(m_manager->FindControl(m_bindTabLayoutName))) {
            tab->SelectItem(m_bindTabIndex);
        }
    }
    return true;
}

}  // namespace SkinUI
