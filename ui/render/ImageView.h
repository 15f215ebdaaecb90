#pragma once
#include <cstdint>
#include <cstring>

#include "ui/image/ImageInfo.h"
#include "ui/render/PixelMath.h"

// Read access to the premultiplied pixels of a decoded image.
namespace SkinUI {
namespace Render {

struct TImageView {
    const std::uint8_t* bytes = nullptr;  // B, G, R, A per pixel, premultiplied, rows top-down
    int width = 0;
    int height = 0;
    int strideBytes = 0;

    static TImageView Of(const TImageInfo& image)
    {
        TImageView view;
        std::size_t needed = static_cast<std::size_t>(image.width > 0 ? image.width : 0) *
                             static_cast<std::size_t>(image.height > 0 ? image.height : 0) * 4;
        if (image.width > 0 && image.height > 0 && image.pixels.size() >= needed) {
            view.bytes = image.pixels.data();
            view.width = image.width;
            view.height = image.height;
            view.strideBytes = image.width * 4;
        }
        return view;
    }

    bool IsEmpty() const { return bytes == nullptr || width <= 0 || height <= 0; }
    const std::uint8_t* Row(int y) const { return bytes + static_cast<std::ptrdiff_t>(y) * strideBytes; }
    // The bytes B, G, R, A of a little-endian machine (x86, every Windows target) read as one
    // 0xAARRGGBB value; memcpy keeps the read free of alignment and aliasing assumptions.
    Pixel At(int x, int y) const
    {
        Pixel p;
        std::memcpy(&p, Row(y) + static_cast<std::ptrdiff_t>(x) * 4, sizeof p);
        return p;
    }
};

}  // namespace Render
}  // namespace SkinUI
