#include "ui/controls/OptionUI.h"

#include "ui/base/UIValues.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

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
    if (m_manager) m_manager->NotifyAccessible(this, AccEvent::StateChange);
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

unsigned COptionUI::GetAccessibleStates() const
{
    return CButtonUI::GetAccessibleStates() | (m_selected ? kAccChecked : 0u);
}

std::wstring COptionUI::GetAccessibleDefaultAction() const { return m_selected ? L"取消勾选" : L"勾选"; }

unsigned COptionUI::GetButtonState() const { return CButtonUI::GetButtonState() | (m_selected ? kStateSelected : 0u); }

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
    return ChooseOptionTextColor(m_selected, GetDrawnState(), GetTextColors(), m_optionColors, window.defaultFontColor,
                                 window.disabledFontColor);
}

const CAttributeTable& COptionUI::Attributes()
{
    using C = COptionUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        &CButtonUI::Attributes(),
        {
            // The initial state of the markup is no user action: it notifies nobody.
            {L"selected", [](C& c, V v) { c.Selected(ParseBool(v), false); }},
            {L"group", [](C& c, V v) { c.SetGroup(v); }},
            {L"selectedimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedNormal, v); }},
            {L"selectedhotimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedHot, v); }},
            {L"selectedpushedimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedPushed, v); }},
            {L"selecteddisableimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedDisabled, v); }},
            {L"selecteddisabledimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedDisabled, v); }},
            {L"selectedforeimage", [](C& c, V v) { c.SetImage(ButtonImage::SelectedFore, v); }},
            {L"selectedtextcolor", [](C& c, V v) { c.m_optionColors.selected = ParseColor(v); }},
            {L"selectedhottextcolor", [](C& c, V v) { c.m_optionColors.selectedHot = ParseColor(v); }},
            {L"selectedpushedtextcolor", [](C& c, V v) { c.m_optionColors.selectedPushed = ParseColor(v); }},
            {L"selectedbkcolor", [](C& c, V v) { c.m_selectedBkColor = ParseColor(v); }},
            {L"selectedfont", [](C& c, V v) { c.m_selectedFont = ParseInt(v); }},
        });
    return table;
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;  // "click" first
    if (m_group.empty()) Selected(!m_selected);
    else Selected(true);
    return true;
}

}  // namespace SkinUI
