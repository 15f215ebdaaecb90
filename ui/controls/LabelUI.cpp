#include "ui/controls/LabelUI.h"

#include <string_view>

#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

using namespace std::string_view_literals;

CLabelUI::CLabelUI() = default;

void CLabelUI::SetTextStyle(unsigned style)
{
    m_textStyle = style;
    Invalidate();
}

void CLabelUI::SetFont(int id)
{
    m_font = id;
    Invalidate();
}

void CLabelUI::SetTextColor(UIColor color)
{
    m_textColor = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(UIColor color)
{
    m_disabledTextColor = color;
    Invalidate();
}

void CLabelUI::SetTextPadding(const UIRect& padding)
{
    m_textPadding = padding;
    Invalidate();
}

void CLabelUI::SetAttribute(const std::wstring& rawName, const std::wstring& value)
{
    const std::wstring name = AsciiLower(rawName);
    if (name == L"align"sv) {
        unsigned style = m_textStyle & ~kTextHorizontalMask;
        if (EqualsNoCase(value, L"center")) style |= kTextCenter;
        else if (EqualsNoCase(value, L"right")) style |= kTextRight;
        SetTextStyle(style);
    } else if (name == L"valign"sv) {
        unsigned style = m_textStyle & ~kTextVerticalMask;
        if (EqualsNoCase(value, L"vcenter") || EqualsNoCase(value, L"center")) style |= kTextVCenter;
        else if (EqualsNoCase(value, L"bottom")) style |= kTextBottom;
        SetTextStyle(style);
    } else if (name == L"endellipsis"sv) {
        SetTextStyle(ParseBool(value) ? (m_textStyle | kTextEndEllipsis) : (m_textStyle & ~kTextEndEllipsis));
    } else if (name == L"wordbreak"sv) {
        // Wrapping needs several lines; without it the text is one line.
        if (ParseBool(value)) SetTextStyle((m_textStyle & ~kTextSingleLine) | kTextWordBreak | kTextEditControl);
        else SetTextStyle((m_textStyle & ~(kTextWordBreak | kTextEditControl)) | kTextSingleLine);
    } else if (name == L"noprefix"sv) {
        SetTextStyle(ParseBool(value) ? (m_textStyle | kTextNoPrefix) : (m_textStyle & ~kTextNoPrefix));
    } else if (name == L"font"sv) SetFont(ParseInt(value));
    else if (name == L"textcolor"sv) SetTextColor(ParseColor(value));
    else if (name == L"disabledtextcolor"sv) SetDisabledTextColor(ParseColor(value));
    else if (name == L"textpadding"sv) SetTextPadding(ParseRect(value));
    else if (name == L"showhtml"sv) m_showHtml = ParseBool(value);
    else CControlUI::SetAttribute(rawName, value);
}

UIColor ChooseLabelTextColor(bool enabled, std::optional<UIColor> textColor, std::optional<UIColor> disabledTextColor,
                             UIColor windowDefault, UIColor windowDisabled)
{
    if (!enabled) return disabledTextColor.value_or(windowDisabled);
    return textColor.value_or(windowDefault);
}

}  // namespace SkinUI
