#include "ui/image/ImageDecoder.h"

#include <climits>
#include <cstdlib>

#include "ui/image/JpegCheck.h"

// The decoder is compiled into this file only, with internal linkage, so a test or tool that
// brings its own copy does not clash with ours. Its own dimension limit backs up the checks below.
#define STBI_MAX_DIMENSIONS 16384
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_STATIC
// The decoded block is handed to CPixelBuffer, which frees it with free().
#define STBI_MALLOC(size) std::malloc(size)
#define STBI_REALLOC(p, size) std::realloc(p, size)
#define STBI_FREE(p) std::free(p)
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include "stb_image.h"
#pragma GCC diagnostic pop

namespace SkinUI {
namespace {

std::uint8_t Premultiply(std::uint8_t colour, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

}  // namespace

std::shared_ptr<TImageInfo> DecodeImage(const unsigned char* bytes, size_t size, UIColor mask)
{
    if (!bytes || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return nullptr;
    }
    // The decoder trusts a JPEG's Huffman tables and has known faults in progressive decoding.
    if (LooksLikeJpeg(bytes, size) && !IsJpegSafeToDecode(bytes, size)) {
        return nullptr;
    }
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels) || width <= 0 || height <= 0 ||
        width > kMaxImageSide || height > kMaxImageSide || static_cast<long long>(width) * height > kMaxImagePixels) {
        return nullptr;
    }
    auto image = std::make_shared<TImageInfo>();
    stbi_uc* rgba = stbi_load_from_memory(bytes, length, &width, &height, &channels, 4);
    if (!rgba) {
        return nullptr;
    }
    image->width = width;
    image->height = height;
    image->mask = mask;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    // Converted where the decoder left it: each pixel is read whole before it is rewritten.
    image->pixels.Adopt(rgba, count * 4);
    const std::uint8_t maskRed = static_cast<std::uint8_t>(mask >> 16);
    const std::uint8_t maskGreen = static_cast<std::uint8_t>(mask >> 8);
    const std::uint8_t maskBlue = static_cast<std::uint8_t>(mask);
    bool hasAlpha = false;
    std::uint8_t* pixel = image->pixels.data();
    for (size_t i = 0; i < count; ++i, pixel += 4) {
        const std::uint8_t red = pixel[0];
        const std::uint8_t green = pixel[1];
        const std::uint8_t blue = pixel[2];
        std::uint8_t alpha = pixel[3];
        if (mask != 0 && red == maskRed && green == maskGreen && blue == maskBlue) {
            alpha = 0;
        }
        hasAlpha = hasAlpha || alpha != 255;
        pixel[0] = Premultiply(blue, alpha);
        pixel[1] = Premultiply(green, alpha);
        pixel[2] = Premultiply(red, alpha);
        pixel[3] = alpha;
    }
    image->hasAlpha = hasAlpha;
    return image;
}

}  // namespace SkinUI
