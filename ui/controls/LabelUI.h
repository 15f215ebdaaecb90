#pragma once
#include <optional>

#include "ui/base/TextStyle.h"
#include "ui/core/ControlUI.h"

// A single text: alignment, font, colours, inner padding, ellipsis and wrapping.
namespace SkinUI {

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    std::wstring GetClass() const override { return L"LabelUI"; }
    // A label with a text reads as static text; one without follows the plain control's rule.
    AccRole GetAccessibleRole() const override
    {
        return GetText().empty() ? CControlUI::GetAccessibleRole() : AccRole::StaticText;
    }

    // kText* flags (ui/base/TextStyle.h); a label is one line, vertically centred, left aligned.
    unsigned GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(unsigned style);
    int GetFont() const { return m_font; }  // -1: the window's default font
    void SetFont(int id);
    // Unset colours fall back to the window's default and disabled text colours when drawn.
    std::optional<UIColor> GetTextColor() const { return m_textColor; }
    void SetTextColor(UIColor color);
    std::optional<UIColor> GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(UIColor color);
    // Inner margin of the text, in device pixels (set in document units).
    UIRect GetTextPadding() const { return ScaleMargins(m_textPadding); }
    void SetTextPadding(const UIRect& padding);
    bool IsShowHtml() const { return m_showHtml; }

    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }

private:
    unsigned m_textStyle = kTextVCenter | kTextSingleLine;
    int m_font = -1;
    std::optional<UIColor> m_textColor;
    std::optional<UIColor> m_disabledTextColor;
    UIRect m_textPadding;
    bool m_showHtml = false;
};

// The colour a label's text is drawn in: its own colour, or the window's, depending on whether it
// is enabled.
UIColor ChooseLabelTextColor(bool enabled, std::optional<UIColor> textColor, std::optional<UIColor> disabledTextColor,
                             UIColor windowDefault, UIColor windowDisabled);

}  // namespace SkinUI
