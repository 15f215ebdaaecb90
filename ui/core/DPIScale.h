#pragma once
#include "ui/base/UIGeometry.h"
#include "ui/core/WindowPlacement.h"  // MulDivRound: a * b / c rounded as the Windows MulDiv rounds

// The display scale of a window: an integer percentage, 100 at 96 DPI. Layout documents are written
// in unscaled pixels; every length read from them passes through one CDPIScale before it is used.
namespace SkinUI {

class CDPIScale {
public:
    enum Awareness { kUnaware = 0, kSystemAware = 1, kPerMonitorAware = 2 };

    CDPIScale() = default;
    explicit CDPIScale(int scalePercent) { SetScale(scalePercent); }

    // 96 -> 100, 120 -> 125, 144 -> 150, 192 -> 200 (rounded to nearest). A DPI of 0 or less
    // counts as 96.
    static int ScaleFromDpi(int dpi);

    int GetScale() const { return m_scale; }
    // A scale below 1 % is meaningless (it would collapse every length to 0); it counts as 100.
    void SetScale(int scalePercent) { m_scale = scalePercent > 0 ? scalePercent : 100; }
    Awareness GetAwareness() const { return m_awareness; }
    void SetAwareness(Awareness awareness) { m_awareness = awareness; }

    int Scale(int value) const { return MulDivRound(value, m_scale, 100); }
    UISize Scale(const UISize& size) const { return UISize{Scale(size.cx), Scale(size.cy)}; }
    UIPoint Scale(const UIPoint& point) const { return UIPoint{Scale(point.x), Scale(point.y)}; }
    // Left and top are scaled as positions, width and height as lengths, so that two rectangles
    // of the same size stay the same size after scaling (right = scaled left + scaled width).
    UIRect Scale(const UIRect& rc) const;
    // Each side scaled as a length: margins and insets (padding, inset, corner, textpadding).
    UIRect ScaleMargins(const UIRect& margins) const;

    // Back to document units: value * 100 / scale, rounded to nearest.
    int Unscale(int value) const { return MulDivRound(value, 100, m_scale); }
    UIRect Unscale(const UIRect& rc) const;

private:
    int m_scale = 100;
    Awareness m_awareness = kPerMonitorAware;
};

}  // namespace SkinUI
