#pragma once
#include <string>

#include "ui/base/UIGeometry.h"

// The image mini-language of bkimage, foreimage, normalimage and the other image attributes.
namespace SkinUI {

// One image attribute, parsed. Geometry that the markup writes in unscaled pixels (dest, source,
// corner, padding) is already multiplied by the window's scale.
struct TDrawInfo {
    std::wstring raw;        // the attribute value as written
    std::wstring file;       // `file` or `res`: image name inside the skin ("\" or "/" separators)
    std::wstring resType;    // `restype`: load from the executable's resources of this type
    UIRect dest;             // `dest`: where to draw inside the control
    bool hasDest = false;    // false: draw over the whole control
    UIRect source;           // `source`: part of the image to use
    bool hasSource = false;  // false: the whole image
    UIRect corner;           // `corner`: nine-grid margins that are not stretched
    UIColor mask = 0;        // `mask`: colour made transparent when decoding; 0 = none
    int fade = 255;          // `fade`: constant alpha, 0-255
    bool hole = false;       // `hole`: skip the nine-grid's centre cell
    bool xtiled = false;     // `xtiled`: tile horizontally instead of stretching
    bool ytiled = false;     // `ytiled`: tile vertically instead of stretching
    bool hsl = false;        // `hsl`: tint with the window's hue/saturation/lightness
    UISize size;             // `size`: draw size (not scaled)
    std::wstring align;      // `align`: placement of a sized image inside dest
    UIRect padding;          // `padding`: inset of a sized image

    bool IsEmpty() const { return file.empty(); }
};

// Parses an image attribute value.
//   - A value that does not start with key='value' is a bare file name (spaces and all), drawn
//     stretched over the control.
//   - Otherwise key='value' pairs separated by one or more spaces; a pair whose closing quote is
//     not followed by a space ends the list, and so does a malformed pair. Keys ignore ASCII
//     case; unknown keys are skipped. Double quotes are accepted like single ones.
// `scale` multiplies dest, source, corner and padding; results are rounded to the nearest
// integer, halves away from zero (10 at 1.25 is 13), and clamped to the int range. A scale that
// is not a positive finite number counts as 1.
TDrawInfo ParseImageAttribute(const std::wstring& value, double scale);

// Multiplies each side of `rc` by `scale`, rounding as ParseImageAttribute does.
UIRect ScaleRect(const UIRect& rc, double scale);

}  // namespace SkinUI
