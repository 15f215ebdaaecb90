#pragma once
#include "ui/controls/ContainerUI.h"

// Shows one child at a time: the selected page.
namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
public:
    std::wstring GetClass() const override { return L"TabLayoutUI"; }

    // The selected page; -1 while there is none. Until a page is selected explicitly (or by
    // `selectedid`), the first visible child added counts as selected.
    int GetCurSel() const { return m_curSel; }
    // Shows page `index` and hides every other one, then sends "tabselect" (wParam: the new
    // index, lParam: the previous one). An index outside the pages, or the page already
    // selected, changes nothing and returns false.
    bool SelectItem(int index, bool triggerEvent = true);
    bool SelectItem(CControlUI* page, bool triggerEvent = true);

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }

protected:
    UISize LayoutChildren(const UIRect& rc) override;

private:
    int m_curSel = -1;
    bool m_selectionFromMarkup = false;  // `selectedid` came before the pages
};

}  // namespace SkinUI
