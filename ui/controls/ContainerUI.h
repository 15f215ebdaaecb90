#pragma once
#include <string>
#include <vector>

#include "ui/core/ControlUI.h"
#include "ui/layout/ContainerLayout.h"

// A control that owns child controls: inset, gap between children, their alignment and optional
// scroll bars. A plain container gives every child its whole content area; the vertical,
// horizontal and tab layouts place them their own way (LayoutChildren).
namespace SkinUI {

class CScrollBarUI;

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    std::wstring GetClass() const override { return L"ContainerUI"; }

    // --- Children (owned) ---
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;  // -1 when not a child
    bool SetItemIndex(CControlUI* control, int index);
    virtual bool Add(CControlUI* control);
    // Inserts before position `index` (an index past the end appends).
    virtual bool AddAt(CControlUI* control, int index);
    // Removes and destroys the child, or only detaches it with `doNotDestroy`.
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();

    // --- Layout settings (setters in document units, getters in device pixels) ---
    UIRect GetInset() const { return ScaleMargins(m_inset); }
    void SetInset(const UIRect& inset);
    int GetChildPadding() const { return Scale(m_childPadding); }
    void SetChildPadding(int padding);
    int GetChildAlign() const { return m_childAlign; }  // kAlignLeft, kAlignCenter, kAlignRight
    void SetChildAlign(int align);
    int GetChildVAlign() const { return m_childVAlign; }  // kVAlignTop, kVAlignCenter, kVAlignBottom
    void SetChildVAlign(int align);
    bool IsMouseChildEnabled() const { return m_mouseChild; }
    void SetMouseChildEnabled(bool enabled) { m_mouseChild = enabled; }

    // --- Scrolling ---
    // Creates or removes the bars. A new bar takes the window's Default list "VScrollBar" or
    // "HScrollBar", then the container's vscrollbarstyle / hscrollbarstyle. A bar shows only while
    // the children need more room than the container has.
    void EnableScrollBar(bool vertical, bool horizontal);
    CScrollBarUI* GetVerticalScrollBar() const { return m_vbar; }
    CScrollBarUI* GetHorizontalScrollBar() const { return m_hbar; }
    UISize GetScrollPos() const;
    UISize GetScrollRange() const;
    // Clamped to the range; the children move at once.
    void SetScrollPos(UISize pos);
    int GetScrollStepSize() const { return Scale(m_scrollStepSize); }
    // A bar moved (dragged or clicked): the children follow.
    void OnScrollPosChanged();

    // --- CControlUI ---
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void VisitSubtree(const std::function<void(CControlUI*)>& visit) override;
    void SetVisible(bool visible) override;
    void SetInternVisible(bool visible) override;
    void SetPos(const UIRect& rc) override;
    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }
    void DoEvent(TEventUI& event) override;
    CControlUI* FindControlAt(UIPoint pt) override;
    CControlUI* FindSubControl(const std::wstring& name) override;

protected:
    // Places the children in `rc` (the item rectangle less the room of visible scroll bars, moved
    // by the scroll position) and returns the size they need.
    virtual UISize LayoutChildren(const UIRect& rc);
    LayoutParams GetLayoutParams() const;
    std::vector<ILayoutItem*> GetLayoutItems() const;

    std::vector<CControlUI*> m_items;

private:
    void ReleaseChild(CControlUI* control, bool doNotDestroy);
    UIRect GetContentRect() const;  // item rectangle less the visible scroll bars
    UISize LayoutAtScrollPos();
    // Shows or hides the bars for `needed`; true when one of them changed visibility.
    bool UpdateScrollBars(UISize needed);
    void PlaceScrollBars();
    void ApplyScrollBarDefaults(CScrollBarUI* bar);

    UIRect m_inset;
    int m_childPadding = 0;
    int m_childAlign = kAlignLeft;
    int m_childVAlign = kVAlignTop;
    bool m_mouseChild = true;
    int m_scrollStepSize = 30;
    CScrollBarUI* m_vbar = nullptr;
    CScrollBarUI* m_hbar = nullptr;
    std::wstring m_vbarStyle;
    std::wstring m_hbarStyle;
    bool m_barDefaultsApplied = false;
};

}  // namespace SkinUI
