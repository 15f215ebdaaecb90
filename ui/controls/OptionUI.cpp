#include "ui/controls/OptionUI.h"

#include <string_view>

#include "ui/base/UIValues.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

using namespace std::string_view_literals;

void COptionUI::Selected(bool selected, bool triggerEvent)
{
    if (selected == m_selected) return;
    if (selected && !m_group.empty() && m_manager) {
        for (CControlUI* member : m_manager->GetOptionGroup(m_group)) {
            auto* other = dynamic_cast<COptionUI*>(member);
            if (other && other != this) other->Selected(false, triggerEvent);
        }
    }
    m_selected = selected;
    Invalidate();
    if (!triggerEvent || !m_manager) return;
    if (!m_group.empty() && !selected) return;  // deselected because another one was chosen
    m_manager->SendNotify(this, L"selectchanged");
}

void COptionUI::SetGroup(const std::wstring& group)
{
    if (group == m_group) return;
    if (m_manager && !m_group.empty()) m_manager->RemoveOptionGroup(m_group, this);
    m_group = group;
    if (m_manager && !m_group.empty()) m_manager->AddOptionGroup(m_group, this);
    // Joining a group that already has a selected member: only one may stay selected.
    if (m_selected) {
        m_selected = false;
        Selected(true, false);
    }
}

unsigned COptionUI::GetButtonState() const
{
    return CButtonUI::GetButtonState() | (m_selected ? kStateSelected : 0u);
}

ButtonImage COptionUI::ChooseStatusImage(const ImageAvailable& available) const
{
    return ChooseOptionStatusImage(m_selected, GetDrawnState(), available ? available : DefaultAvailability());
}

ButtonImage COptionUI::ChooseForeImage(const ImageAvailable& available) const
{
    return ChooseOptionForeImage(m_selected, GetDrawnState(), available ? available : DefaultAvailability());
}

UIColor COptionUI::ChooseTextColor() const
{
    const TWindowSettings defaults;
    const TWindowSettings& window = m_manager ? m_manager->GetWindowSettings() : defaults;
    return ChooseOptionTextColor(m_selected, GetDrawnState(), GetTextColors(), m_optionColors,
                                 window.defaultFontColor, window.disabledFontColor);
}

void COptionUI::SetAttribute(const std::wstring& rawName, const std::wstring& value)
{
    const std::wstring name = AsciiLower(rawName);
    // The initial state of the markup is no user action: it notifies nobody.
    if (name == L"selected"sv) Selected(ParseBool(value), false);
    else if (name == L"group"sv) SetGroup(value);
    else if (name == L"selectedimage"sv) SetImage(ButtonImage::SelectedNormal, value);
    else if (name == L"selectedhotimage"sv) SetImage(ButtonImage::SelectedHot, value);
    else if (name == L"selectedpushedimage"sv) SetImage(ButtonImage::SelectedPushed, value);
    else if (name == L"selecteddisableimage"sv || name == L"selecteddisabledimage"sv) {
        SetImage(ButtonImage::SelectedDisabled, value);
    } else if (name == L"selectedforeimage"sv) SetImage(ButtonImage::SelectedFore, value);
    else if (name == L"selectedtextcolor"sv) m_optionColors.selected = ParseColor(value);
    else if (name == L"selectedhottextcolor"sv) m_optionColors.selectedHot = ParseColor(value);
    else if (name == L"selectedpushedtextcolor"sv) m_optionColors.selectedPushed = ParseColor(value);
    else if (name == L"selectedbkcolor"sv) m_selectedBkColor = ParseColor(value);
    else if (name == L"selectedfont"sv) m_selectedFont = ParseInt(value);
    else CButtonUI::SetAttribute(rawName, value);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;  // "click" first
    if (m_group.empty()) Selected(!m_selected);
    else Selected(true);
    return true;
}

}  // namespace SkinUI
