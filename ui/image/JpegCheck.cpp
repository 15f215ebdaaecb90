#include "ui/image/JpegCheck.h"

namespace SkinUI {
namespace {

bool IsStandalone(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);  // TEM, RSTn, SOI
}

bool IsFrameMarker(unsigned char marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Mirrors how the decoder reads a DHT segment of `payload` bytes starting at `at`: table after
// table while bytes of the segment remain, each a class/id byte, 16 code counts and the symbols.
// Past the end of the file the decoder reads zeros, and so does this.
bool HuffmanTablesFit(const unsigned char* bytes, size_t size, size_t at, size_t payload)
{
    auto byteAt = [&](size_t k) -> size_t { return k < size ? bytes[k] : 0; };
    long long remaining = static_cast<long long>(payload);
    while (remaining > 0) {
        if (at >= size) {
            return true;
        }
        size_t symbols = 0;
        for (size_t k = 1; k <= 16; ++k) {
            symbols += byteAt(at + k);
        }
        if (symbols > 256) {
            return false;
        }
        at += 17 + symbols;
        remaining -= static_cast<long long>(17 + symbols);
    }
    return true;
}

}  // namespace

bool LooksLikeJpeg(const unsigned char* bytes, size_t size)
{
    return bytes && size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

bool IsJpegSafeToDecode(const unsigned char* bytes, size_t size)
{
    if (!LooksLikeJpeg(bytes, size)) {
        return false;
    }
    size_t i = 2;
    for (;;) {
        // Find the next marker: 0xFF, optional fill bytes 0xFF, then the marker code.
        while (i < size && bytes[i] != 0xFF) {
            ++i;  // stray bytes between segments; the decoder skips them the same way
        }
        while (i < size && bytes[i] == 0xFF) {
            ++i;
        }
        if (i >= size) {
            return true;
        }
        const unsigned char marker = bytes[i++];
        if (marker == 0xD9) {  // EOI
            return true;
        }
        if (IsStandalone(marker) || marker == 0x00) {
            continue;
        }
        if (size - i < 2) {
            return true;
        }
        const size_t length = (static_cast<size_t>(bytes[i]) << 8) | bytes[i + 1];
        if (length < 2) {
            return false;
        }
        if (marker == 0xC4 && !HuffmanTablesFit(bytes, size, i + 2, length - 2)) {
            return false;
        }
        if (IsFrameMarker(marker) && marker != 0xC0 && marker != 0xC1) {
            return false;
        }
        if (length > size - i) {
            return true;  // truncated inside a segment
        }
        i += length;
        if (marker == 0xDA) {
            // Entropy-coded data follows the scan header: skip to the next marker that is not a
            // stuffed 0xFF00 or a restart marker.
            while (i + 1 < size) {
                if (bytes[i] == 0xFF && bytes[i + 1] != 0x00 && !(bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7)) {
                    break;
                }
                ++i;
            }
        }
    }
}

}  // namespace SkinUI
