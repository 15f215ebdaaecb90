#include "ui/ImageDecoder.h"

#include <climits>

#include "ui/JpegCheck.h"

// The decoder is compiled into this file only, with internal linkage, so a test or tool that
// brings its own copy does not clash with ours. Its own dimension limit backs up the checks below.
#define STBI_MAX_DIMENSIONS 16384
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_STATIC
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
        width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<long long>(width) * height > kMaxImagePixels) {
        return nullptr;
    }
    stbi_uc* rgba = stbi_load_from_memory(bytes, length, &width, &height, &channels, 4);
    if (!rgba) {
        return nullptr;
    }
    auto image = std::make_shared<TImageInfo>();
    image->width = width;
    image->height = height;
    image->mask = mask;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    image->pixels.resize(count * 4);
    const std::uint8_t maskRed = static_cast<std::uint8_t>(mask >> 16);
    const std::uint8_t maskGreen = static_cast<std::uint8_t>(mask >> 8);
    const std::uint8_t maskBlue = static_cast<std::uint8_t>(mask);
    bool hasAlpha = false;
    for (size_t i = 0; i < count; ++i) {
        const stbi_uc* in = rgba + i * 4;
        std::uint8_t* out = image->pixels.data() + i * 4;
        std::uint8_t alpha = in[3];
        if (mask != 0 && in[0] == maskRed && in[1] == maskGreen && in[2] == maskBlue) {
            alpha = 0;
        }
        hasAlpha = hasAlpha || alpha != 255;
        out[0] = Premultiply(in[2], alpha);
        out[1] = Premultiply(in[1], alpha);
        out[2] = Premultiply(in[0], alpha);
        out[3] = alpha;
    }
    stbi_image_free(rgba);
    image->hasAlpha = hasAlpha;
    return image;
}

}  // namespace SkinUI
