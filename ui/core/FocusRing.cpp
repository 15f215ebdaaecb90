#include "ui/core/FocusRing.h"

#include <algorithm>

namespace SkinUI {

namespace {

// Document units at the window's scale, rounded to the nearest pixel and never below one.
int AtScale(int units, int scalePercent) { return std::max(1, (units * scalePercent + 50) / 100); }

}  // namespace

TFocusRing FocusRingFor(const UIRect& control, int scalePercent)
{
    TFocusRing ring;
    if (control.IsEmpty()) return ring;
    if (scalePercent <= 0) scalePercent = 100;
    const int gap = AtScale(2, scalePercent);
    ring.width = AtScale(2, scalePercent);
    const int out = gap + ring.width;
    ring.outer = UIRect{control.left - out, control.top - out, control.right + out, control.bottom + out};
    // The skin rounds its buttons by 10 units; a small control (a check box, a title-bar icon)
    // gets a rounder ring, at most a half circle at its ends.
    const int shortSide = std::min(control.Width(), control.Height());
    const int radius = std::min(AtScale(10, scalePercent), shortSide / 2) + out;
    ring.ellipse = UISize{2 * radius, 2 * radius};
    return ring;
}

}  // namespace SkinUI
