#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

// The bytes of a decoded image. Unlike a vector it can take over a block the decoder allocated
// with malloc, so a large image is converted where it was decoded instead of being copied into a
// second, freshly zeroed block of the same size: that halves the memory a page background needs
// while it is decoded, and the time spent touching new pages.
namespace SkinUI {

class CPixelBuffer {
public:
    CPixelBuffer() = default;
    CPixelBuffer(const CPixelBuffer& other) { assign(other.data(), other.data() + other.size()); }
    CPixelBuffer& operator=(const CPixelBuffer& other);
    CPixelBuffer(CPixelBuffer&& other) noexcept { *this = std::move(other); }
    CPixelBuffer& operator=(CPixelBuffer&& other) noexcept;

    // Takes ownership of `bytes` (from malloc, freed with free); `size` bytes are valid.
    void Adopt(std::uint8_t* bytes, std::size_t size);

    std::uint8_t* data() { return m_bytes.get(); }
    const std::uint8_t* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::uint8_t& operator[](std::size_t i) { return m_bytes.get()[i]; }
    const std::uint8_t& operator[](std::size_t i) const { return m_bytes.get()[i]; }

    // As std::vector: bytes kept up to the new size, new bytes zero.
    void resize(std::size_t size);
    void assign(std::size_t size, std::uint8_t value);
    void assign(const std::uint8_t* first, const std::uint8_t* last);

    bool operator==(const CPixelBuffer& other) const;
    bool operator!=(const CPixelBuffer& other) const { return !(*this == other); }

private:
    struct FreeDeleter {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, FreeDeleter> m_bytes;
    std::size_t m_size = 0;
};

}  // namespace SkinUI
