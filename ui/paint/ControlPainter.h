#pragma once
#include <functional>
#include <memory>

#include "ui/base/UIGeometry.h"
#include "ui/image/ImageAttribute.h"
#include "ui/image/ImageInfo.h"
#include "ui/render/Canvas.h"

// Draws a window's control tree into a canvas. The model classes stay free of drawing; this is
// the one place that knows how each class looks:
//   every control: background colour(s) within its borderround, bkimage, then (by class) its status
//   image, its fore image, its text, and last its border; a container then draws its visible
//   children clipped to its own rectangle.
// Buttons and options choose their state images and text colours by the rules of ButtonLook.h;
// the progress bar draws its fill over the covered part of the track.
namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

namespace Paint {

class ITextRenderer;

// The decoded image an attribute names, or null when it cannot be loaded (then nothing is drawn).
using ImageSource = std::function<std::shared_ptr<const TImageInfo>(const TDrawInfo& info)>;

// The skin's process-wide image cache.
ImageSource DefaultImageSource();

struct TPaintContext {
    Render::CCanvas& canvas;
    ITextRenderer* text = nullptr;  // null: no text is drawn
    ImageSource images;             // empty: DefaultImageSource()
};

// Draws `control` and its subtree where they meet the canvas's clip. Invisible controls and
// controls outside the clip draw nothing.
void PaintControl(CControlUI& control, const TPaintContext& context);

// Draws the keyboard focus ring of a control occupying `control` (ui/core/FocusRing.h) in a window
// at `scalePercent`.
void PaintFocusRing(Render::CCanvas& canvas, const UIRect& control, int scalePercent);

// Draws one image attribute for a control occupying `rc`; false when the attribute is empty or its
// image cannot be loaded.
bool PaintImage(const TPaintContext& context, const UIRect& rc, const TDrawInfo& info, int windowScale,
                double imageScale);

}  // namespace Paint
}  // namespace SkinUI
