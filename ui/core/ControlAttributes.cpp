// The markup attributes of every control: CControlUI::SetAttribute and attribute lists.
#include <cstdlib>
#include <string_view>

#include "ui/base/UIValues.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

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

}  // namespace

void CControlUI::SetAttribute(const std::wstring& rawName, const std::wstring& value)
{
    const std::wstring name = AsciiLower(rawName);
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

}  // namespace SkinUI
