#include "ui/image/PixelBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace SkinUI {

namespace {

std::uint8_t* Allocate(std::size_t size)
{
    // malloc(0) may return null; one byte keeps "allocated" and "null" distinct.
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
    if (!bytes) throw std::bad_alloc();
    return bytes;
}

}  // namespace

CPixelBuffer& CPixelBuffer::operator=(const CPixelBuffer& other)
{
    if (this != &other) assign(other.data(), other.data() + other.size());
    return *this;
}

// The source is left empty, its size with it: a size without bytes would be read as pixels.
CPixelBuffer& CPixelBuffer::operator=(CPixelBuffer&& other) noexcept
{
    if (this != &other) {
        m_bytes = std::move(other.m_bytes);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void CPixelBuffer::Adopt(std::uint8_t* bytes, std::size_t size)
{
    m_bytes.reset(bytes);
    m_size = bytes ? size : 0;
}

void CPixelBuffer::resize(std::size_t size)
{
    if (size == m_size) return;
    std::uint8_t* bytes = Allocate(size);
    const std::size_t kept = std::min(size, m_size);
    if (kept) std::memcpy(bytes, data(), kept);
    if (size > kept) std::memset(bytes + kept, 0, size - kept);
    Adopt(bytes, size);
}

void CPixelBuffer::assign(std::size_t size, std::uint8_t value)
{
    std::uint8_t* bytes = Allocate(size);
    if (size) std::memset(bytes, value, size);
    Adopt(bytes, size);
}

void CPixelBuffer::assign(const std::uint8_t* first, const std::uint8_t* last)
{
    const std::size_t size = static_cast<std::size_t>(last - first);
    std::uint8_t* bytes = Allocate(size);
    if (size) std::memcpy(bytes, first, size);
    Adopt(bytes, size);
}

bool CPixelBuffer::operator==(const CPixelBuffer& other) const
{
    return m_size == other.m_size && (m_size == 0 || std::memcmp(data(), other.data(), m_size) == 0);
}

}  // namespace SkinUI
