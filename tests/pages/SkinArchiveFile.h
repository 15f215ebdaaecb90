#pragma once
// Reads the built skin archive (skin.zip) for the skin tests: every member's name and bytes, and
// decoded images. Independent of the framework's own archive code, so a fault there cannot hide
// a fault in the archive.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace skintest {

using Bytes = std::vector<unsigned char>;

// Path of the archive that the build made (set by tests/pages/CMakeLists.txt).
const char* SkinZipPath();

// All members of the archive by their names as stored ("Install uninstall/x.png"). Empty when
// the archive cannot be opened or a member cannot be read completely.
std::map<std::string, Bytes> ReadSkinArchive();

// Width and height from a PNG header; false when the bytes are not a PNG.
bool PngSize(const Bytes& png, int& width, int& height);

// An image decoded to straight-alpha RGBA, four bytes a pixel, rows top to bottom.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
    const unsigned char* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};
bool DecodeImage(const Bytes& bytes, Rgba& image);

}  // namespace skintest
