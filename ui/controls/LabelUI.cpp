#include "ui/controls/LabelUI.h"

#include "ui/base/UIValues.h"
#include "ui/core/AttributeTable.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

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

const CAttributeTable& CLabelUI::Attributes()
{
    using C = CLabelUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        &CControlUI::Attributes(),
        {
            {L"align",
             [](C& c, V v) {
                 unsigned style = c.m_textStyle & ~kTextHorizontalMask;
                 if (EqualsNoCase(v, L"center")) style |= kTextCenter;
                 else if (EqualsNoCase(v, L"right")) style |= kTextRight;
                 c.SetTextStyle(style);
             }},
            {L"valign",
             [](C& c, V v) {
                 unsigned style = c.m_textStyle & ~kTextVerticalMask;
                 if (EqualsNoCase(v, L"vcenter") || EqualsNoCase(v, L"center")) style |= kTextVCenter;
                 else if (EqualsNoCase(v, L"bottom")) style |= kTextBottom;
                 c.SetTextStyle(style);
             }},
            {L"endellipsis",
             [](C& c, V v) {
                 c.SetTextStyle(ParseBool(v) ? (c.m_textStyle | kTextEndEllipsis)
                                             : (c.m_textStyle & ~kTextEndEllipsis));
             }},
            {L"wordbreak",
             [](C& c, V v) {
                 // Wrapping needs several lines; without it the text is one line.
                 if (ParseBool(v))
                     c.SetTextStyle((c.m_textStyle & ~kTextSingleLine) | kTextWordBreak | kTextEditControl);
                 else c.SetTextStyle((c.m_textStyle & ~(kTextWordBreak | kTextEditControl)) | kTextSingleLine);
             }},
            {L"noprefix",
             [](C& c, V v) {
                 c.SetTextStyle(ParseBool(v) ? (c.m_textStyle | kTextNoPrefix) : (c.m_textStyle & ~kTextNoPrefix));
             }},
            {L"font", [](C& c, V v) { c.SetFont(ParseInt(v)); }},
            {L"textcolor", [](C& c, V v) { c.SetTextColor(ParseColor(v)); }},
            {L"disabledtextcolor", [](C& c, V v) { c.SetDisabledTextColor(ParseColor(v)); }},
            {L"textpadding", [](C& c, V v) { c.SetTextPadding(ParseRect(v)); }},
            {L"showhtml", [](C& c, V v) { c.m_showHtml = ParseBool(v); }},
        });
    return table;
}

UIColor ChooseLabelTextColor(bool enabled, std::optional<UIColor> textColor, std::optional<UIColor> disabledTextColor,
                             UIColor windowDefault, UIColor windowDisabled)
{
    if (!enabled) return disabledTextColor.value_or(windowDisabled);
    return textColor.value_or(windowDefault);
}

}  // namespace SkinUI
