// The markup attributes of every control: CControlUI's attribute table, SetAttribute and
// attribute lists.
#include <cstdlib>

#include "ui/base/UIValues.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

// Style lists may name other styles; a list that (directly or not) names itself would recurse
// forever, so nesting stops at this depth.
const int kMaxAttributeListDepth = 8;
thread_local int t_attributeListDepth = 0;

}  // namespace

const CAttributeTable& CControlUI::Attributes()
{
    using C = CControlUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        nullptr, {
                     {L"name", [](C& c, V v) { c.SetName(v); }},
                     {L"pos",
                      [](C& c, V v) {
                          // left/top become the offset inside the parent, the extent the fixed size.
                          const UIRect rc = ParseRect(v);
                          c.SetFixedXY(UIPoint{rc.left, rc.top});
                          c.SetFixedWidth(std::abs(rc.right - rc.left));
                          c.SetFixedHeight(std::abs(rc.bottom - rc.top));
                      }},
                     {L"float",
                      [](C& c, V v) {
                          if (v.find(L',') != std::wstring::npos) {
                              c.SetFloat(true);
                              c.SetFloatPercent(ParseFloatPercent(v));
                          } else {
                              c.SetFloat(ParseBool(v));
                          }
                      }},
                     {L"padding", [](C& c, V v) { c.SetPadding(ParseRect(v)); }},
                     {L"width", [](C& c, V v) { c.SetFixedWidth(ParseInt(v)); }},
                     {L"height", [](C& c, V v) { c.SetFixedHeight(ParseInt(v)); }},
                     {L"minwidth", [](C& c, V v) { c.SetMinWidth(ParseInt(v)); }},
                     {L"minheight", [](C& c, V v) { c.SetMinHeight(ParseInt(v)); }},
                     {L"maxwidth", [](C& c, V v) { c.SetMaxWidth(ParseInt(v)); }},
                     {L"maxheight", [](C& c, V v) { c.SetMaxHeight(ParseInt(v)); }},
                     {L"text", [](C& c, V v) { c.SetText(v); }},
                     {L"tooltip", [](C& c, V v) { c.SetToolTip(v); }},
                     {L"accname", [](C& c, V v) { c.SetAccName(v); }},
                     {L"userdata", [](C& c, V v) { c.SetUserData(v); }},
                     {L"visible", [](C& c, V v) { c.SetVisible(ParseBool(v)); }},
                     {L"enabled", [](C& c, V v) { c.SetEnabled(ParseBool(v)); }},
                     {L"mouse", [](C& c, V v) { c.SetMouseEnabled(ParseBool(v)); }},
                     {L"keyboard", [](C& c, V v) { c.SetKeyboardEnabled(ParseBool(v)); }},
                     {L"bkcolor", [](C& c, V v) { c.SetBkColor(ParseColor(v)); }},
                     {L"bkcolor1", [](C& c, V v) { c.SetBkColor(ParseColor(v)); }},
                     {L"bkcolor2", [](C& c, V v) { c.SetBkColor2(ParseColor(v)); }},
                     {L"bkcolor3", [](C& c, V v) { c.SetBkColor3(ParseColor(v)); }},
                     {L"forecolor", [](C& c, V v) { c.SetForeColor(ParseColor(v)); }},
                     {L"bordercolor", [](C& c, V v) { c.SetBorderColor(ParseColor(v)); }},
                     {L"focusbordercolor", [](C& c, V v) { c.SetFocusBorderColor(ParseColor(v)); }},
                     {L"bordersize",
                      [](C& c, V v) {
                          if (v.find(L',') != std::wstring::npos) c.SetBorderSize(ParseRect(v));
                          else c.SetBorderSize(ParseInt(v));
                      }},
                     {L"leftbordersize",
                      [](C& c, V v) {
                          UIRect sides = c.m_borderSize;
                          sides.left = ParseInt(v);
                          c.SetBorderSize(sides);
                      }},
                     {L"topbordersize",
                      [](C& c, V v) {
                          UIRect sides = c.m_borderSize;
                          sides.top = ParseInt(v);
                          c.SetBorderSize(sides);
                      }},
                     {L"rightbordersize",
                      [](C& c, V v) {
                          UIRect sides = c.m_borderSize;
                          sides.right = ParseInt(v);
                          c.SetBorderSize(sides);
                      }},
                     {L"bottombordersize",
                      [](C& c, V v) {
                          UIRect sides = c.m_borderSize;
                          sides.bottom = ParseInt(v);
                          c.SetBorderSize(sides);
                      }},
                     {L"borderstyle", [](C& c, V v) { c.m_borderStyle = ParseInt(v); }},
                     {L"borderround", [](C& c, V v) { c.SetBorderRound(ParseSize(v)); }},
                     {L"bkimage", [](C& c, V v) { c.SetBkImage(v); }},
                     {L"foreimage", [](C& c, V v) { c.SetForeImage(v); }},
                     {L"cursor", [](C& c, V v) { c.SetCursor(ParseCursor(v)); }},
                     {L"virtualwnd", [](C& c, V v) { c.SetVirtualWnd(v); }},
                     {L"colorhsl", [](C& c, V v) { c.m_colorHSL = ParseBool(v); }},
                     {L"style",
                      [](C& c, V v) {
                          if (c.m_manager) c.ApplyAttributeList(c.m_manager->GetStyle(v));
                      }},
                     {L"innerstyle",
                      [](C& c, V v) {
                          if (c.m_manager) c.ApplyAttributeList(c.m_manager->GetStyle(v));
                      }},
                 });
    return table;
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    GetAttributeTable().Apply(*this, AsciiLower(name), value);
}

void CControlUI::ApplyAttributeList(const std::wstring& list)
{
    if (list.empty() || t_attributeListDepth >= kMaxAttributeListDepth) return;
    ++t_attributeListDepth;
    for (const auto& attribute : ParseAttributeList(list)) SetAttribute(attribute.first, attribute.second);
    --t_attributeListDepth;
}

}  // namespace SkinUI
