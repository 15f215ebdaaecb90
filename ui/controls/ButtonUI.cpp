#include "ui/controls/ButtonUI.h"

#include "ui/base/UIValues.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/ControlRef.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

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
    unsigned state = GetButtonState();
    // The focused look is a keyboard cue, like the ring: a press with the mouse, dragged off the
    // button or not, leaves the focus here but must not leave the look.
    if (m_manager && !m_manager->ShowsFocusCues()) state &= ~kStateFocused;
    return DrawnButtonState(state, m_manager ? m_manager->IsWindowEnabled() : true);
}

bool CButtonUI::HasStateImages() const
{
    for (ButtonImage which : {ButtonImage::Normal, ButtonImage::Hot, ButtonImage::Pushed, ButtonImage::Focused}) {
        if (!GetImageSlot(which).IsEmpty()) return true;
    }
    return false;
}

AccRole CButtonUI::GetAccessibleRole() const
{
    // A button drawn as bare text (the agreement, "custom install") reads as a link.
    return HasStateImages() || GetText().empty() ? AccRole::PushButton : AccRole::Link;
}

std::wstring CButtonUI::GetAccessibleDefaultAction() const
{
    return GetAccessibleRole() == AccRole::Link ? L"跳转" : L"按下";
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

const CAttributeTable& CButtonUI::Attributes()
{
    using C = CButtonUI;
    using V = const std::wstring&;
    // Every attribute of its own changes how the button looks, so each one redraws it.
    static const TAttributeTable<C> table(&CLabelUI::Attributes(), {
                                                                       {L"normalimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::Normal, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"hotimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::Hot, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"pushedimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::Pushed, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"focusedimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::Focused, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"disabledimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::Disabled, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"hotforeimage",
                                                                        [](C& c, V v) {
                                                                            c.SetImage(ButtonImage::HotFore, v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"hottextcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_colors.hot = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"pushedtextcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_colors.pushed = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"focusedtextcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_colors.focused = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"hotbkcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_hotBkColor = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"pushedbkcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_pushedBkColor = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"disabledbkcolor",
                                                                        [](C& c, V v) {
                                                                            c.m_disabledBkColor = ParseColor(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"hotfont",
                                                                        [](C& c, V v) {
                                                                            c.m_hotFont = ParseInt(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"pushedfont",
                                                                        [](C& c, V v) {
                                                                            c.m_pushedFont = ParseInt(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"focuedfont",
                                                                        [](C& c, V v) {
                                                                            c.m_focusedFont = ParseInt(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"focusedfont",
                                                                        [](C& c, V v) {
                                                                            c.m_focusedFont = ParseInt(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"bindtabindex",
                                                                        [](C& c, V v) {
                                                                            c.m_bindTabIndex = ParseInt(v);
                                                                            c.Invalidate();
                                                                        }},
                                                                       {L"bindtablayoutname",
                                                                        [](C& c, V v) {
                                                                            c.m_bindTabLayoutName = v;
                                                                            c.Invalidate();
                                                                        }},
                                                                   });
    return table;
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
    case UIEventType::CaptureLost: SetStateBits(kStatePushed | kStateCaptured, false); return;
    case UIEventType::MouseEnter:
        if (IsEnabled()) SetStateBits(kStateHot, true);
        return;
    case UIEventType::MouseLeave: SetStateBits(kStateHot, false); return;
    default: CLabelUI::DoEvent(event); return;
    }
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (!m_manager) return true;
    m_manager->SendNotify(this, L"click");
    if (!m_bindTabLayoutName.empty()) {
        if (const auto tab = BindControl<CTabLayoutUI>(*m_manager, m_bindTabLayoutName))
            tab->SelectItem(m_bindTabIndex);
    }
    return true;
}

}  // namespace SkinUI
