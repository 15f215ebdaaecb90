#include "ui/controls/ContainerUI.h"

#include <algorithm>

#include "ui/base/UIValues.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {
// One notch of a mouse wheel.
const int kWheelDelta = 120;
}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    for (CControlUI* item : m_items) delete item;
    m_items.clear();
    delete m_vbar;
    delete m_hbar;
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(const CControlUI* control) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index)
{
    const int current = GetItemIndex(control);
    if (current < 0 || index < 0 || index >= GetCount()) return false;
    m_items.erase(m_items.begin() + current);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (!control || control == this || GetItemIndex(control) >= 0) return false;
    index = std::min(std::max(index, 0), GetCount());
    control->SetManager(m_manager, this, m_manager != nullptr);
    control->SetInternVisible(IsVisible());
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy)
{
    return RemoveAt(GetItemIndex(control), doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy)
{
    CControlUI* control = GetItemAt(index);
    if (!control) return false;
    control->Invalidate();
    m_items.erase(m_items.begin() + index);
    ReleaseChild(control, doNotDestroy);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll()
{
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items) ReleaseChild(item, false);
    NeedUpdate();
}

void CContainerUI::ReleaseChild(CControlUI* control, bool doNotDestroy)
{
    if (doNotDestroy) {
        // The caller keeps the control: it leaves this window entirely.
        if (m_manager) control->VisitSubtree([this](CControlUI* c) { m_manager->ReapObjects(c); });
        control->SetManager(nullptr, nullptr, false);
    } else if (m_manager) {
        m_manager->ReleaseControl(control);
    } else {
        delete control;
    }
}

void CContainerUI::SetInset(const UIRect& inset)
{
    m_inset = inset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding)
{
    m_childPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetChildAlign(int align)
{
    m_childAlign = align;
    NeedUpdate();
}

void CContainerUI::SetChildVAlign(int align)
{
    m_childVAlign = align;
    NeedUpdate();
}

// --- Scrolling ---

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal)
{
    if (vertical && !m_vbar) {
        m_vbar = new CScrollBarUI();
        m_vbar->SetOwner(this);
        m_vbar->SetVisible(false);
        m_vbar->SetManager(m_manager, this, false);
        if (m_manager) ApplyScrollBarDefaults(m_vbar);
    } else if (!vertical && m_vbar) {
        if (m_manager) m_manager->ReapObjects(m_vbar);
        delete m_vbar;
        m_vbar = nullptr;
    }
    if (horizontal && !m_hbar) {
        m_hbar = new CScrollBarUI();
        m_hbar->SetHorizontal(true);
        m_hbar->SetOwner(this);
        m_hbar->SetVisible(false);
        m_hbar->SetManager(m_manager, this, false);
        if (m_manager) ApplyScrollBarDefaults(m_hbar);
    } else if (!horizontal && m_hbar) {
        if (m_manager) m_manager->ReapObjects(m_hbar);
        delete m_hbar;
        m_hbar = nullptr;
    }
    NeedUpdate();
}

void CContainerUI::ApplyScrollBarDefaults(CScrollBarUI* bar)
{
    const bool horizontal = bar->IsHorizontal();
    bar->ApplyAttributeList(m_manager->GetDefaultAttributeList(horizontal ? L"HScrollBar" : L"VScrollBar"));
    bar->ApplyAttributeList(horizontal ? m_hbarStyle : m_vbarStyle);
    // The bar stays hidden until the content needs it, whatever the lists say.
    bar->SetVisible(false);
}

UISize CContainerUI::GetScrollPos() const
{
    return UISize{m_hbar ? m_hbar->GetScrollPos() : 0, m_vbar ? m_vbar->GetScrollPos() : 0};
}

UISize CContainerUI::GetScrollRange() const
{
    return UISize{m_hbar ? m_hbar->GetScrollRange() : 0, m_vbar ? m_vbar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(UISize pos)
{
    const UISize before = GetScrollPos();
    if (m_hbar) m_hbar->SetScrollPos(pos.cx, true);  // the bars clamp
    if (m_vbar) m_vbar->SetScrollPos(pos.cy, true);
    if (GetScrollPos() != before) OnScrollPosChanged();
}

void CContainerUI::OnScrollPosChanged()
{
    LayoutAtScrollPos();
    PlaceScrollBars();
    Invalidate();
}

UIRect CContainerUI::GetContentRect() const
{
    UIRect rc = m_rcItem;
    if (m_vbar && m_vbar->IsOwnVisible()) rc.right -= m_vbar->GetFixedWidth();
    if (m_hbar && m_hbar->IsOwnVisible()) rc.bottom -= m_hbar->GetFixedHeight();
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

UISize CContainerUI::LayoutAtScrollPos()
{
    UIRect rc = GetContentRect();
    const UISize scroll = GetScrollPos();
    rc.Offset(-scroll.cx, -scroll.cy);
    return LayoutChildren(rc);
}

bool CContainerUI::UpdateScrollBars(UISize needed)
{
    const UIRect content = GetContentRect().Deflated(GetInset());
    bool changed = false;
    auto update = [&changed](CScrollBarUI* bar, int need, int have) {
        if (!bar) return;
        const int range = std::max(0, need - have);
        bar->SetScrollRange(range);
        const bool show = range > 0;
        if (show != bar->IsOwnVisible()) {
            bar->SetVisible(show);
            changed = true;
        }
    };
    update(m_vbar, needed.cy, content.Height());
    update(m_hbar, needed.cx, content.Width());
    return changed;
}

void CContainerUI::PlaceScrollBars()
{
    const bool vbar = m_vbar && m_vbar->IsOwnVisible();
    const bool hbar = m_hbar && m_hbar->IsOwnVisible();
    if (vbar) {
        const int bottom = m_rcItem.bottom - (hbar ? m_hbar->GetFixedHeight() : 0);
        m_vbar->SetPos(UIRect{m_rcItem.right - m_vbar->GetFixedWidth(), m_rcItem.top, m_rcItem.right, bottom});
    }
    if (hbar) {
        const int right = m_rcItem.right - (vbar ? m_vbar->GetFixedWidth() : 0);
        m_hbar->SetPos(UIRect{m_rcItem.left, m_rcItem.bottom - m_hbar->GetFixedHeight(), right, m_rcItem.bottom});
    }
}

// --- CControlUI ---

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    const bool gotManager = manager && !m_manager;
    CControlUI::SetManager(manager, parent, init);
    for (CControlUI* item : m_items) item->SetManager(manager, this, init);
    if (m_vbar) m_vbar->SetManager(manager, this, false);
    if (m_hbar) m_hbar->SetManager(manager, this, false);
    if (gotManager && !m_barDefaultsApplied) {
        // Bars made before the container had a window get their window's defaults now.
        m_barDefaultsApplied = true;
        if (m_vbar) ApplyScrollBarDefaults(m_vbar);
        if (m_hbar) ApplyScrollBarDefaults(m_hbar);
    }
}

void CContainerUI::VisitSubtree(const std::function<void(CControlUI*)>& visit)
{
    visit(this);
    // A copy: the visitor may not change the children, but it must not invalidate the loop
    // either if it does.
    const std::vector<CControlUI*> items = m_items;
    for (CControlUI* item : items) item->VisitSubtree(visit);
    if (m_vbar) m_vbar->VisitSubtree(visit);
    if (m_hbar) m_hbar->VisitSubtree(visit);
}

void CContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetPos(const UIRect& rc)
{
    CControlUI::SetPos(rc);
    UISize needed = LayoutAtScrollPos();
    // Showing or hiding a bar changes the room of the children: lay them out once more. Two
    // rounds settle it (a bar shown for lack of room never makes the content smaller).
    for (int round = 0; round < 2 && UpdateScrollBars(needed); ++round) needed = LayoutAtScrollPos();
    PlaceScrollBars();
}

UISize CContainerUI::LayoutChildren(const UIRect& rc)
{
    const UIRect content = rc.Deflated(GetInset());
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            PlaceFloat(*item, rc);
            continue;
        }
        item->SetPos(content.Deflated(item->GetPadding()));
    }
    return UISize{};
}

LayoutParams CContainerUI::GetLayoutParams() const
{
    LayoutParams params;
    params.inset = GetInset();
    params.childPadding = GetChildPadding();
    params.childAlign = m_childAlign;
    params.childVAlign = m_childVAlign;
    return params;
}

std::vector<ILayoutItem*> CContainerUI::GetLayoutItems() const
{
    return std::vector<ILayoutItem*>(m_items.begin(), m_items.end());
}

const CAttributeTable& CContainerUI::Attributes()
{
    using C = CContainerUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        &CControlUI::Attributes(),
        {
            {L"inset", [](C& c, V v) { c.SetInset(ParseRect(v)); }},
            {L"childpadding", [](C& c, V v) { c.SetChildPadding(ParseInt(v)); }},
            {L"childalign",
             [](C& c, V v) {
                 if (EqualsNoCase(v, L"center")) c.SetChildAlign(kAlignCenter);
                 else if (EqualsNoCase(v, L"right")) c.SetChildAlign(kAlignRight);
                 else c.SetChildAlign(kAlignLeft);
             }},
            {L"childvalign",
             [](C& c, V v) {
                 if (EqualsNoCase(v, L"vcenter") || EqualsNoCase(v, L"center")) c.SetChildVAlign(kVAlignCenter);
                 else if (EqualsNoCase(v, L"bottom")) c.SetChildVAlign(kVAlignBottom);
                 else c.SetChildVAlign(kVAlignTop);
             }},
            {L"mousechild", [](C& c, V v) { c.SetMouseChildEnabled(ParseBool(v)); }},
            {L"vscrollbar", [](C& c, V v) { c.EnableScrollBar(ParseBool(v), c.m_hbar != nullptr); }},
            {L"hscrollbar", [](C& c, V v) { c.EnableScrollBar(c.m_vbar != nullptr, ParseBool(v)); }},
            {L"vscrollbarstyle",
             [](C& c, V v) {
                 c.m_vbarStyle = v;
                 if (c.m_vbar && c.m_manager) c.ApplyScrollBarDefaults(c.m_vbar);
             }},
            {L"hscrollbarstyle",
             [](C& c, V v) {
                 c.m_hbarStyle = v;
                 if (c.m_hbar && c.m_manager) c.ApplyScrollBarDefaults(c.m_hbar);
             }},
            {L"scrollstepsize", [](C& c, V v) { c.m_scrollStepSize = std::max(1, ParseInt(v)); }},
        });
    return table;
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEventType::ScrollWheel) {
        const bool canScroll = (m_vbar && m_vbar->IsOwnVisible()) || (m_hbar && m_hbar->IsOwnVisible());
        if (!canScroll) {
            CControlUI::DoEvent(event);  // passes the wheel to the parent
            return;
        }
        // Away from the user scrolls up (or left), one step per notch.
        const int delta = static_cast<int>(static_cast<std::intptr_t>(event.wParam));
        const int steps = delta / kWheelDelta != 0 ? delta / kWheelDelta : (delta > 0 ? 1 : -1);
        UISize pos = GetScrollPos();
        if (m_vbar && m_vbar->IsOwnVisible()) pos.cy -= steps * GetScrollStepSize();
        else pos.cx -= steps * GetScrollStepSize();
        SetScrollPos(pos);
        return;
    }
    CControlUI::DoEvent(event);
}

CControlUI* CContainerUI::FindControlAt(UIPoint pt)
{
    if (!IsVisible() || !m_rcItem.Contains(pt)) return nullptr;
    for (CScrollBarUI* bar : {m_vbar, m_hbar}) {
        if (bar && bar->IsVisible()) {
            if (CControlUI* hit = bar->FindControlAt(pt)) return hit;
        }
    }
    if (m_mouseChild) {
        // Later children are drawn over earlier ones, so they are asked first.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (CControlUI* hit = (*it)->FindControlAt(pt)) return hit;
        }
    }
    return IsMouseEnabled() ? this : nullptr;
}

CControlUI* CContainerUI::FindSubControl(const std::wstring& name)
{
    if (CControlUI* self = CControlUI::FindSubControl(name)) return self;
    for (CControlUI* item : m_items) {
        if (CControlUI* found = item->FindSubControl(name)) return found;
    }
    return nullptr;
}

}  // namespace SkinUI
