#pragma once
#include "ui/controls/LabelUI.h"

// A progress bar: the track (bkimage) over the whole control and the fill (foreimage) over the
// part that min, max and value cover.
namespace SkinUI {

struct TProgressRange {
    int min = 0;
    int max = 100;
    int value = 0;
};

// A range fit for drawing: max is raised to min + 1 when min >= max, the value kept within both.
TProgressRange MakeProgressRangeSane(int min, int max, int value);

// The covered part of `length` pixels: (value - min) * length / (max - min) in single precision,
// truncated, after the range was made sane.
int ProgressFilledLength(int min, int max, int value, int length);

// Where the fill is drawn inside a control of `size` (device pixels, relative to its top-left
// corner): from the left edge with the filled width and the full height, or for a vertical bar
// from the bottom edge with the filled height and the full width.
UIRect ProgressFillRect(UISize size, bool horizontal, int min, int max, int value);

// The same rectangle in document units, MulDiv(x, 100, scale) per coordinate: image rectangles are
// multiplied by the window's scale once more when drawn.
UIRect UnscaleProgressRect(const UIRect& rc, int scalePercent);

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    std::wstring GetClass() const override { return L"ProgressUI"; }

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    int GetMinValue() const { return m_min; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_max; }
    void SetMaxValue(int max);
    int GetValue() const { return m_value; }
    // A value outside min..max is ignored: the bar keeps the one it had.
    void SetValue(int value);
    // True (the default): the fore image is stretched into the filled part; false: the filled part
    // is cut from the image.
    bool IsStretchForeImage() const { return m_stretchFore; }
    void SetStretchForeImage(bool stretch);

    // The fill rectangle of the current value, relative to the control, in document units (what
    // the drawing passes as the fore image's dest, and as its source when it does not stretch).
    UIRect GetForeImageRect() const;

    AccRole GetAccessibleRole() const override { return AccRole::ProgressBar; }
    // The share of the range covered, as a whole percentage ("42%").
    std::wstring GetAccessibleValue() const override;

    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }

private:
    bool m_horizontal = true;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    bool m_stretchFore = true;
};

}  // namespace SkinUI
