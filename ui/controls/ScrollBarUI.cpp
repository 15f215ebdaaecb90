#include "ui/controls/ScrollBarUI.h"

#include <algorithm>

#include "ui/base/UIValues.h"
#include "ui/controls/ContainerUI.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

const int kDefaultThickness = 16;

// The image attributes a bar understands: each part in each state.
bool IsPartImageAttribute(const std::wstring& lowerName)
{
    static const wchar_t* const kParts[] = {L"button1", L"button2", L"thumb", L"rail", L"bk"};
    static const wchar_t* const kStates[] = {L"normalimage", L"hotimage", L"pushedimage", L"disabledimage"};
    for (const wchar_t* part : kParts) {
        for (const wchar_t* state : kStates) {
            if (lowerName == std::wstring(part) + state) return true;
        }
    }
    return false;
}

// Builds a rectangle along the bar's axis: `from`..`to` along it, the whole thickness across.
UIRect AlongAxis(const UIRect& bar, bool horizontal, long long from, long long to)
{
    if (horizontal) return UIRect{static_cast<int>(from), bar.top, static_cast<int>(to), bar.bottom};
    return UIRect{bar.left, static_cast<int>(from), bar.right, static_cast<int>(to)};
}

}  // namespace

TScrollBarParts ComputeScrollBarParts(const UIRect& bar, bool horizontal, int range, int pos, bool showButton1,
                                      bool showButton2)
{
    TScrollBarParts parts;
    const long long start = horizontal ? bar.left : bar.top;
    const long long end = horizontal ? bar.right : bar.bottom;
    const long long thickness = std::max(0, horizontal ? bar.Height() : bar.Width());
    const long long length = std::max<long long>(0, end - start);

    const long long button1 = showButton1 ? std::min(thickness, length / 2) : 0;
    const long long button2 = showButton2 ? std::min(thickness, length / 2) : 0;
    parts.button1 = AlongAxis(bar, horizontal, start, start + button1);
    parts.button2 = AlongAxis(bar, horizontal, end - button2, end);
    const long long trackStart = start + button1;
    const long long trackEnd = end - button2;
    parts.track = AlongAxis(bar, horizontal, trackStart, trackEnd);

    const long long track = trackEnd - trackStart;
    if (range <= 0 || track <= 0) {
        parts.thumb = UIRect{};
        return parts;
    }
    // The visible page is about the bar's own length; the thumb shows page / (page + range).
    const long long page = length;
    long long thumb = track * page / (page + range);
    thumb = std::max(thumb, std::min(thickness, track));
    const long long clampedPos = std::min<long long>(std::max(pos, 0), range);
    const long long offset = (track - thumb) * clampedPos / range;
    parts.thumb = AlongAxis(bar, horizontal, trackStart + offset, trackStart + offset + thumb);
    return parts;
}

CScrollBarUI::CScrollBarUI() { SetFixedWidth(kDefaultThickness); }

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (horizontal == m_horizontal) return;
    m_horizontal = horizontal;
    if (horizontal) {
        SetFixedHeight(kDefaultThickness);
        SetFixedWidth(0);
    } else {
        SetFixedWidth(kDefaultThickness);
        SetFixedHeight(0);
    }
}

void CScrollBarUI::SetScrollRange(int range)
{
    m_range = std::max(0, range);
    if (m_pos > m_range) m_pos = m_range;
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos, bool fromOwner)
{
    pos = std::min(std::max(pos, 0), m_range);
    if (pos == m_pos) return;
    m_pos = pos;
    Invalidate();
    if (m_owner && !fromOwner) m_owner->OnScrollPosChanged();
}

TScrollBarParts CScrollBarUI::GetParts() const
{
    return ComputeScrollBarParts(GetPos(), m_horizontal, m_range, m_pos, m_showButton1, m_showButton2);
}

const CImageSlot* CScrollBarUI::GetPartImage(const std::wstring& attributeName) const
{
    const auto it = m_images.find(AsciiLower(attributeName));
    return it == m_images.end() || it->second.IsEmpty() ? nullptr : &it->second;
}

const CAttributeTable& CScrollBarUI::Attributes()
{
    using C = CScrollBarUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        &CControlUI::Attributes(),
        {
            {L"hor", [](C& c, V v) { c.SetHorizontal(ParseBool(v)); }},
            {L"linesize", [](C& c, V v) { c.m_lineSize = std::max(1, ParseInt(v)); }},
            {L"range", [](C& c, V v) { c.SetScrollRange(ParseInt(v)); }},
            {L"value", [](C& c, V v) { c.SetScrollPos(ParseInt(v)); }},
            {L"showbutton1", [](C& c, V v) { c.m_showButton1 = ParseBool(v); }},
            {L"showbutton2", [](C& c, V v) { c.m_showButton2 = ParseBool(v); }},
        },
        // The images of the parts in each state: "button1normalimage", ..., "bkdisabledimage".
        [](C& c, V lowerName, V v) {
            if (!IsPartImageAttribute(lowerName)) return false;
            c.m_images[lowerName].Set(v, c.GetManager());
            c.Invalidate();
            return true;
        });
    return table;
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    if (!IsEnabled()) {
        CControlUI::DoEvent(event);
        return;
    }
    const TScrollBarParts parts = GetParts();
    switch (event.Type) {
    case UIEventType::ButtonDown:
    case UIEventType::DoubleClick: {
        const int page = m_horizontal ? parts.track.Width() : parts.track.Height();
        if (parts.button1.Contains(event.ptMouse)) SetScrollPos(m_pos - GetLineSize());
        else if (parts.button2.Contains(event.ptMouse)) SetScrollPos(m_pos + GetLineSize());
        else if (parts.thumb.Contains(event.ptMouse)) {
            m_dragging = true;
            m_dragStart = event.ptMouse;
            m_dragStartPos = m_pos;
        } else if (parts.track.Contains(event.ptMouse)) {
            const bool before = m_horizontal ? event.ptMouse.x < parts.thumb.left : event.ptMouse.y < parts.thumb.top;
            SetScrollPos(before ? m_pos - page : m_pos + page);
        }
        break;
    }
    case UIEventType::MouseMove:
        if (m_dragging) {
            const long long track = m_horizontal ? parts.track.Width() : parts.track.Height();
            const long long thumb = m_horizontal ? parts.thumb.Width() : parts.thumb.Height();
            const long long travel = track - thumb;
            const long long moved = m_horizontal ? event.ptMouse.x - m_dragStart.x : event.ptMouse.y - m_dragStart.y;
            if (travel > 0) SetScrollPos(static_cast<int>(m_dragStartPos + moved * m_range / travel));
        } else {
            const bool hot = parts.thumb.Contains(event.ptMouse);
            if (hot != m_thumbHot) {
                m_thumbHot = hot;
                Invalidate();
            }
        }
        break;
    case UIEventType::ButtonUp:
    case UIEventType::CaptureLost:
        m_dragging = false;
        Invalidate();
        break;
    case UIEventType::MouseLeave:
        m_thumbHot = false;
        Invalidate();
        break;
    default: CControlUI::DoEvent(event); break;
    }
}

}  // namespace SkinUI
