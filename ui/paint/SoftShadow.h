#pragma once
#include "ui/base/UIGeometry.h"
#include "ui/render/Canvas.h"

// The computed drop shadow drawn around a window when no shadow image is given.
namespace SkinUI {
namespace Paint {

struct TSoftShadow {
    int size = 0;                // how far the shadow reaches beyond the window, in pixels
    int sharpness = 5;           // the higher, the faster it fades near the window's edge
    int darkness = 150;          // alpha (0-255) at the window's edge
    UIColor color = 0xFF000000;  // only the RGB part is used
};

// The shadow's alpha at `distance` pixels outside the window's edge: `darkness` at the edge,
// falling off as (1 - distance / size) ^ (1 + sharpness / 5), 0 at `size` and beyond.
int SoftShadowAlpha(const TSoftShadow& shadow, double distance);

// Fills the canvas (within its clip) with the shadow of a window occupying `window` (canvas
// pixels): full darkness under the window, fading outwards.
void DrawSoftShadow(Render::CCanvas& canvas, const UIRect& window, const TSoftShadow& shadow);

}  // namespace Paint
}  // namespace SkinUI
