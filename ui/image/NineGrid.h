#pragma once
#include "ui/base/UIGeometry.h"

namespace SkinUI {

// Nine-grid corners are written in the markup in unscaled pixels and multiplied by the window's
// scale when parsed. Before slicing an image they are converted to that image's own pixels by
// dividing by (globalScalePercent / 100) / imageScale, rounding the left and top widths down and
// the right and bottom widths up. So an "@2x" image on a 200 % screen is sliced with the markup's
// values doubled, and a plain image on the same screen with the values as written.
// A scale that is not positive counts as 100 % (or 1.0).
UIRect MapCornersToImage(const UIRect& scaledCorners, int globalScalePercent, double imageScale);

}  // namespace SkinUI
