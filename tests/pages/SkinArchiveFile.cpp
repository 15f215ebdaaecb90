#include "pages/SkinArchiveFile.h"

#include <algorithm>

#include <minizip/unzip.h>

// Private copy of the decoder (static functions only), so it never clashes with the
// framework's own stb_image instance.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
#pragma GCC diagnostic pop

namespace skintest {

const char* SkinZipPath() { return KP_SKIN_ZIP; }

std::map<std::string, Bytes> ReadSkinArchive()
{
    std::map<std::string, Bytes> members;
    unzFile zip = unzOpen64(SkinZipPath());
    if (!zip) return members;
    bool ok = true;
    for (int more = unzGoToFirstFile(zip); ok && more == UNZ_OK; more = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        char name[512] = {};
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            ok = false;
            break;
        }
        Bytes data(static_cast<size_t>(info.uncompressed_size));
        int read = data.empty() ? 0 : unzReadCurrentFile(zip, data.data(), static_cast<unsigned>(data.size()));
        if (unzCloseCurrentFile(zip) != UNZ_OK || read != static_cast<int>(data.size())) ok = false;
        members[name] = std::move(data);
    }
    unzClose(zip);
    if (!ok) members.clear();
    return members;
}

bool PngSize(const Bytes& png, int& width, int& height)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 24 || !std::equal(kSignature, kSignature + 8, png.begin()) ||
        std::string(png.begin() + 12, png.begin() + 16) != "IHDR") {
        return false;
    }
    auto be32 = [&](size_t at) {
        return static_cast<int>((uint32_t(png[at]) << 24) | (uint32_t(png[at + 1]) << 16) |
                                (uint32_t(png[at + 2]) << 8) | uint32_t(png[at + 3]));
    };
    width = be32(16);
    height = be32(20);
    return true;
}

bool DecodeImage(const Bytes& bytes, Rgba& image)
{
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!pixels) return false;
    image.width = w;
    image.height = h;
    image.pixels.assign(pixels, pixels + static_cast<size_t>(w) * h * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace skintest
