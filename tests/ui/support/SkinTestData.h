#pragma once
// Builders for the skin tests: ZIP archives made in memory (so a test can also make them lie),
// small images, and temporary folders.
#include <zlib.h>

// The image writer for test images, private to the test program that includes this header.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include "stb_image_write.h"
#pragma GCC diagnostic pop

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace SkinTest {

using Bytes = std::vector<unsigned char>;

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A member of a test archive. The recorded sizes and checksum are the true ones unless overridden.
struct ZipMember {
    std::string name;  // UTF-8, stored as given (use "/" as a real archive does)
    Bytes data;
    bool deflate = true;
    long long claimedSize = -1;        // uncompressed size written to both headers
    long long claimedPackedSize = -1;  // compressed size written to both headers
    long long claimedCrc = -1;
    bool flaggedEncrypted = false;  // sets the "encrypted" flag; the data stays as it is
};

inline Bytes RawDeflate(const Bytes& data)
{
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

class ZipBuilder {
public:
    ZipBuilder& Add(const std::string& name, const Bytes& data, bool deflate = true)
    {
        ZipMember m;
        m.name = name;
        m.data = data;
        m.deflate = deflate;
        m_members.push_back(m);
        return *this;
    }
    ZipBuilder& Add(const std::string& name, const std::string& text, bool deflate = true)
    {
        return Add(name, ToBytes(text), deflate);
    }
    ZipBuilder& Add(const ZipMember& member)
    {
        m_members.push_back(member);
        return *this;
    }

    Bytes Build() const
    {
        Bytes out;
        Bytes central;
        for (const ZipMember& m : m_members) {
            const Bytes packed = m.deflate ? RawDeflate(m.data) : m.data;
            const std::uint32_t crc = static_cast<std::uint32_t>(
                m.claimedCrc >= 0 ? m.claimedCrc : crc32(0, m.data.data(), static_cast<uInt>(m.data.size())));
            const std::uint32_t size = static_cast<std::uint32_t>(m.claimedSize >= 0 ? m.claimedSize : m.data.size());
            const std::uint32_t packedSize =
                static_cast<std::uint32_t>(m.claimedPackedSize >= 0 ? m.claimedPackedSize : packed.size());
            const std::uint16_t flags =
                static_cast<std::uint16_t>((NeedsUtf8Flag(m.name) ? 0x800 : 0) | (m.flaggedEncrypted ? 1 : 0));
            const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
            // local header
            Put32(out, 0x04034b50);
            Put16(out, 20);
            Put16(out, flags);
            Put16(out, m.deflate ? 8 : 0);
            Put16(out, 0);     // time
            Put16(out, 0x21);  // date 1980-01-01
            Put32(out, crc);
            Put32(out, packedSize);
            Put32(out, size);
            Put16(out, static_cast<std::uint16_t>(m.name.size()));
            Put16(out, 0);
            out.insert(out.end(), m.name.begin(), m.name.end());
            out.insert(out.end(), packed.begin(), packed.end());
            // central directory entry
            Put32(central, 0x02014b50);
            Put16(central, 20);
            Put16(central, 20);
            Put16(central, flags);
            Put16(central, m.deflate ? 8 : 0);
            Put16(central, 0);
            Put16(central, 0x21);
            Put32(central, crc);
            Put32(central, packedSize);
            Put32(central, size);
            Put16(central, static_cast<std::uint16_t>(m.name.size()));
            Put16(central, 0);
            Put16(central, 0);
            Put16(central, 0);
            Put16(central, 0);
            Put32(central, 0);
            Put32(central, offset);
            central.insert(central.end(), m.name.begin(), m.name.end());
        }
        const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
        out.insert(out.end(), central.begin(), central.end());
        Put32(out, 0x06054b50);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, static_cast<std::uint16_t>(m_members.size()));
        Put16(out, static_cast<std::uint16_t>(m_members.size()));
        Put32(out, static_cast<std::uint32_t>(central.size()));
        Put32(out, centralOffset);
        Put16(out, 0);
        return out;
    }

private:
    static bool NeedsUtf8Flag(const std::string& s)
    {
        for (unsigned char c : s) {
            if (c >= 0x80) return true;
        }
        return false;
    }
    static void Put16(Bytes& b, std::uint16_t v)
    {
        b.push_back(static_cast<unsigned char>(v));
        b.push_back(static_cast<unsigned char>(v >> 8));
    }
    static void Put32(Bytes& b, std::uint32_t v)
    {
        Put16(b, static_cast<std::uint16_t>(v));
        Put16(b, static_cast<std::uint16_t>(v >> 16));
    }

    std::vector<ZipMember> m_members;
};

// Pixels given as 0xAARRGGBB, row by row, encoded as PNG (RGBA) or JPEG (RGB).
inline void AppendToBytes(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

inline std::vector<unsigned char> ToRgba(const std::vector<std::uint32_t>& argb, int channels)
{
    std::vector<unsigned char> raw;
    for (std::uint32_t p : argb) {
        raw.push_back(static_cast<unsigned char>(p >> 16));
        raw.push_back(static_cast<unsigned char>(p >> 8));
        raw.push_back(static_cast<unsigned char>(p));
        if (channels == 4) raw.push_back(static_cast<unsigned char>(p >> 24));
    }
    return raw;
}

inline Bytes MakePng(int width, int height, const std::vector<std::uint32_t>& argb)
{
    const auto raw = ToRgba(argb, 4);
    Bytes out;
    stbi_write_png_to_func(AppendToBytes, &out, width, height, 4, raw.data(), width * 4);
    return out;
}

inline Bytes SolidPng(int width, int height, std::uint32_t argb)
{
    return MakePng(width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, argb));
}

inline Bytes MakeJpeg(int width, int height, const std::vector<std::uint32_t>& argb)
{
    const auto raw = ToRgba(argb, 3);
    Bytes out;
    stbi_write_jpg_to_func(AppendToBytes, &out, width, height, 3, raw.data(), 95);
    return out;
}

// An uncompressed 32-bit BMP (bottom-up rows, B G R A per pixel) of `width` x `height` whose pixel
// (x, y) is colour(x, y) as 0xAARRGGBB.
template <typename Colour>
Bytes MakeBmp32(int width, int height, Colour colour)
{
    Bytes out;
    auto put16 = [&](std::uint32_t v) {
        out.push_back(v & 0xFF);
        out.push_back((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(width * height * 4);
    // BITMAPV4 header, so the alpha channel is declared by its mask.
    out.push_back('B');
    out.push_back('M');
    put32(14 + 108 + pixelBytes);
    put32(0);
    put32(14 + 108);
    put32(108);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(32);
    put32(3);  // BI_BITFIELDS
    put32(pixelBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0x00FF0000);  // red mask
    put32(0x0000FF00);
    put32(0x000000FF);
    put32(0xFF000000);  // alpha mask
    put32(0x73524742);  // 'sRGB'
    for (int i = 0; i < 48; ++i) out.push_back(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            put32(static_cast<std::uint32_t>(colour(x, y)));
        }
    }
    return out;
}

inline Bytes SolidBmp(int width, int height, std::uint32_t argb)
{
    return MakeBmp32(width, height, [argb](int, int) { return argb; });
}

// A folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag)
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() / ("kpskin-" + tag + "-" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }
    std::wstring WPath() const { return m_path.wstring(); }

    // Writes `data` to the relative path `name` (folders created as needed).
    std::filesystem::path Write(const std::filesystem::path& name, const Bytes& data) const
    {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        return file;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace SkinTest
