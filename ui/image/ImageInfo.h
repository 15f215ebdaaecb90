#pragma once
#include <cstdint>

#include "ui/base/UIGeometry.h"
#include "ui/image/PixelBuffer.h"

namespace SkinUI {

// A decoded image, ready to be drawn.
struct TImageInfo {
    int width = 0;
    int height = 0;
    // width * height pixels, rows top to bottom, 4 bytes each in memory order B, G, R, A with the
    // colour premultiplied by alpha (what AlphaBlend and a 32-bit DIB section expect).
    CPixelBuffer pixels;
    bool hasAlpha = false;  // some pixel is not fully opaque (after the mask was applied)
    double scale = 1.0;     // the image's own DPI scale: 2.0 for an "@2x" variant, 1.0 for a plain image
    UIColor mask = 0;       // the mask colour applied when decoding (0: none)
};

}  // namespace SkinUI
