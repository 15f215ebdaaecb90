#include "ui/controls/ProgressUI.h"

#include <algorithm>
#include <limits>

#include "ui/base/UIValues.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/DPIScale.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

TProgressRange MakeProgressRangeSane(int min, int max, int value)
{
    TProgressRange range{min, max, value};
    if (range.min >= range.max) {
        // min + 1 cannot be represented when min is the largest int: move min down instead.
        if (range.min == std::numeric_limits<int>::max()) range.min = range.max - 1;
        else range.max = range.min + 1;
    }
    range.value = std::min(std::max(range.value, range.min), range.max);
    return range;
}

int ProgressFilledLength(int min, int max, int value, int length)
{
    const TProgressRange r = MakeProgressRangeSane(min, max, value);
    // The differences are taken in 64 bits: max - min of an extreme range does not fit an int.
    const float covered = static_cast<float>(static_cast<long long>(r.value) - r.min);
    const float span = static_cast<float>(static_cast<long long>(r.max) - r.min);
    const float filled = covered * static_cast<float>(length) / span;
    return static_cast<int>(filled);
}

UIRect ProgressFillRect(UISize size, bool horizontal, int min, int max, int value)
{
    if (horizontal) return UIRect{0, 0, ProgressFilledLength(min, max, value, size.cx), size.cy};
    const int filled = ProgressFilledLength(min, max, value, size.cy);
    return UIRect{0, size.cy - filled, size.cx, size.cy};
}

UIRect UnscaleProgressRect(const UIRect& rc, int scalePercent) { return CDPIScale(scalePercent).Unscale(rc); }

CProgressUI::CProgressUI() { SetTextStyle(kTextSingleLine | kTextVCenter | kTextCenter); }

void CProgressUI::SetHorizontal(bool horizontal)
{
    m_horizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min)
{
    m_min = min;
    Invalidate();
}

void CProgressUI::SetMaxValue(int max)
{
    m_max = max;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    if (value == m_value || value < m_min || value > m_max) return;
    m_value = value;
    Invalidate();
    if (m_manager) m_manager->NotifyAccessible(this, AccEvent::ValueChange);
}

std::wstring CProgressUI::GetAccessibleValue() const
{
    const TProgressRange range = MakeProgressRangeSane(m_min, m_max, m_value);
    const long long percent = (static_cast<long long>(range.value) - range.min) * 100 / (range.max - range.min);
    return std::to_wstring(percent) + L"%";
}

void CProgressUI::SetStretchForeImage(bool stretch)
{
    m_stretchFore = stretch;
    Invalidate();
}

UIRect CProgressUI::GetForeImageRect() const
{
    const UIRect& pos = GetPos();
    const UIRect fill = ProgressFillRect(UISize{pos.Width(), pos.Height()}, m_horizontal, m_min, m_max, m_value);
    return UnscaleProgressRect(fill, m_manager ? m_manager->GetScale() : 100);
}

const CAttributeTable& CProgressUI::Attributes()
{
    using C = CProgressUI;
    using V = const std::wstring&;
    static const TAttributeTable<C> table(
        &CLabelUI::Attributes(), {
                                     {L"hor", [](C& c, V v) { c.SetHorizontal(ParseBool(v)); }},
                                     {L"min", [](C& c, V v) { c.SetMinValue(ParseInt(v)); }},
                                     {L"max", [](C& c, V v) { c.SetMaxValue(ParseInt(v)); }},
                                     // The markup's value is taken as written, whatever order min, max and value come
                                     // in; the drawing keeps it within the range.
                                     {L"value",
                                      [](C& c, V v) {
                                          c.m_value = ParseInt(v);
                                          c.Invalidate();
                                      }},
                                     {L"isstretchfore", [](C& c, V v) { c.SetStretchForeImage(ParseBool(v)); }},
                                 });
    return table;
}

}  // namespace SkinUI
