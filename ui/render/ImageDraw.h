#pragma once
#include "ui/base/UIGeometry.h"
#include "ui/image/ImageAttribute.h"
#include "ui/image/ImageInfo.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageView.h"

// Drawing a control's image attribute (bkimage, foreimage, state images) into a canvas.
namespace SkinUI {
namespace Render {

// Draws `image` for a control occupying `control` (canvas pixels) as the parsed attribute `info`
// says. The geometry in `info` (dest, source, corner) is already multiplied by the window's scale
// `windowScalePercent`; `imageScale` is the image's own scale (2.0 for an "@2x" file).
//   - Destination: `dest` relative to the control's top-left corner, or the whole control.
//     Nothing is drawn outside the control.
//   - Source: `source` converted to image pixels like the corners (divided by window scale ÷
//     image scale, left/top rounded down, right/bottom up) and cut to the image, or the whole image.
//   - Nine-grid: `corner` margins stay unstretched (in window pixels they are the attribute's
//     values; in image pixels the converted ones, see MapCornersToImage). Margins wider than the
//     destination or the source are reduced in proportion. The edges stretch along their length
//     only, the centre both ways; `hole` leaves the centre cell out.
//   - `xtiled` / `ytiled`: the centre column / row repeats at the image's size in window pixels
//     (source length × window scale ÷ image scale) instead of stretching.
//   - `fade`: constant alpha over the whole image.
// An @2x image on a 200 % window, and any image whose cells already have the size they are drawn
// at, is copied pixel for pixel.
void DrawImage(CCanvas& canvas, const TImageView& image, const UIRect& control, const TDrawInfo& info,
               int windowScalePercent, double imageScale);
void DrawImage(CCanvas& canvas, const TImageInfo& image, const UIRect& control, const TDrawInfo& info,
               int windowScalePercent);

}  // namespace Render
}  // namespace SkinUI
