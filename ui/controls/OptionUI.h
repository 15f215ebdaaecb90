#pragma once
#include "ui/controls/ButtonUI.h"

// A button with a selected state: a check box on its own, a radio button within a group.
//
// A click first sends "click", then toggles an option without a group, or selects an option of a
// group. When an option of a group becomes selected, the other options of that group are
// deselected first, and they send nothing. "selectchanged" is sent when the state changes with
// notification requested, except for an option of a group that is only deselected. Nothing is
// sent while the option does not belong to a window.
namespace SkinUI {

class COptionUI : public CButtonUI {
public:
    std::wstring GetClass() const override { return L"OptionUI"; }

    bool IsSelected() const { return m_selected; }
    virtual void Selected(bool selected, bool triggerEvent = true);
    const std::wstring& GetGroup() const { return m_group; }
    void SetGroup(const std::wstring& group);
    std::wstring GetOptionGroupName() const override { return m_group; }

    TOptionTextColors GetOptionTextColors() const { return m_optionColors; }
    UIColor GetSelectedBkColor() const { return m_selectedBkColor; }
    int GetSelectedFont() const { return m_selectedFont; }

    unsigned GetButtonState() const override;
    ButtonImage ChooseStatusImage(const ImageAvailable& available = nullptr) const override;
    ButtonImage ChooseForeImage(const ImageAvailable& available = nullptr) const override;
    UIColor ChooseTextColor() const override;

    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }
    bool Activate() override;

    AccRole GetAccessibleRole() const override { return AccRole::CheckButton; }
    unsigned GetAccessibleStates() const override;
    std::wstring GetAccessibleDefaultAction() const override;

private:
    bool m_selected = false;
    std::wstring m_group;
    TOptionTextColors m_optionColors;
    UIColor m_selectedBkColor = 0;
    int m_selectedFont = -1;
};

}  // namespace SkinUI
