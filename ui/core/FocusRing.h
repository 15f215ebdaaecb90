#pragma once
#include "ui/base/UIGeometry.h"

// Where the keyboard focus ring of a control is drawn: a rounded outline just outside the
// control, a little apart from it so that it never hides the control's own edge, its gap, width
// and corners growing with the display scale so that it reads the same at every scale.
namespace SkinUI {

// The accent blue of the skin, lightened so that the ring keeps a clear contrast with the dark
// page backgrounds it is drawn on.
constexpr UIColor kFocusRingColor = 0xFF6CB6FF;

struct TFocusRing {
    UIRect outer;    // the ring's outer edge, in device pixels
    int width = 0;   // thickness of the outline, in device pixels
    UISize ellipse;  // corner ellipse of the outer edge (markup's borderround form)
};

// The ring around a control occupying `control` (device pixels) in a window at `scalePercent`.
// An empty control has no ring (an empty outer rectangle).
TFocusRing FocusRingFor(const UIRect& control, int scalePercent);

}  // namespace SkinUI
