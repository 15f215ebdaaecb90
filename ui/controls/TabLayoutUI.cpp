#include "ui/controls/TabLayoutUI.h"

#include <algorithm>

#include "ui/base/UIValues.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

bool CTabLayoutUI::SelectItem(int index, bool triggerEvent)
{
    if (index < 0 || index >= GetCount() || index == m_curSel) return false;
    m_selectionFromMarkup = false;
    const int previous = m_curSel;
    m_curSel = index;
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
    NeedParentUpdate();
    if (triggerEvent && m_manager) {
        m_manager->SendNotify(this, L"tabselect", static_cast<std::uintptr_t>(index), previous);
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page, bool triggerEvent)
{
    return SelectItem(GetItemIndex(page), triggerEvent);
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    const int count = GetCount();
    index = std::min(std::max(index, 0), count);
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_selectionFromMarkup) {
        // `selectedid` named the page to show first: pages arrive in document order, and only
        // that one is shown, whatever their own visible attributes say.
        control->SetVisible(index == m_curSel);
    } else if (m_curSel >= index && m_curSel < count) {
        ++m_curSel;  // the selected page moved up
    } else if (m_curSel < 0 && control->IsOwnVisible()) {
        m_curSel = index;
    }
    return true;
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy)
{
    if (!GetItemAt(index)) return false;
    const bool wasSelected = index == m_curSel;
    CContainerUI::RemoveAt(index, doNotDestroy);
    m_selectionFromMarkup = false;
    if (index < m_curSel) {
        --m_curSel;
    } else if (wasSelected) {
        // The page after it (or the new last one) takes its place.
        m_curSel = -1;
        if (GetCount() > 0) SelectItem(std::min(index, GetCount() - 1));
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_curSel = -1;
    m_selectionFromMarkup = false;
    CContainerUI::RemoveAll();
}

const CAttributeTable& CTabLayoutUI::Attributes()
{
    using C = CTabLayoutUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(&CContainerUI::Attributes(),
                                          {
                                              {L"selectedid",
                                               [](C& c, V v) {
                                                   const int index = ParseInt(v);
                                                   // Before the pages exist the index is only remembered; they are
                                                   // added after the container's own attributes.
                                                   if (index >= 0 && index < c.GetCount()) {
                                                       c.SelectItem(index);
                                                   } else if (c.GetCount() == 0 && index >= 0) {
                                                       c.m_curSel = index;
                                                       c.m_selectionFromMarkup = true;
                                                   }
                                               }},
                                          });
    return table;
}

UISize CTabLayoutUI::LayoutChildren(const UIRect& rc)
{
    LayoutTab(rc, GetInset(), GetLayoutItems(), m_curSel);
    return UISize{};
}

}  // namespace SkinUI
