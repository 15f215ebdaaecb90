#include "ui/image/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace SkinUI;

namespace {

CPixelBuffer Of(std::initializer_list<std::uint8_t> bytes)
{
    CPixelBuffer buffer;
    buffer.assign(bytes.begin(), bytes.end());
    return buffer;
}

}  // namespace

TEST(PixelBuffer, ResizeKeepsTheBytesThatFitAndZeroesTheNewOnes)
{
    CPixelBuffer buffer = Of({1, 2, 3});
    buffer.resize(5);
    EXPECT_EQ(buffer, Of({1, 2, 3, 0, 0}));
    buffer.resize(2);
    EXPECT_EQ(buffer, Of({1, 2}));
    buffer.resize(0);
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer, CPixelBuffer());
}

TEST(PixelBuffer, CopiesAreIndependentAndMovesEmptyTheSource)
{
    CPixelBuffer original = Of({9, 8, 7, 6});
    CPixelBuffer copy = original;
    copy[0] = 1;
    EXPECT_EQ(original[0], 9);
    EXPECT_NE(copy, original);

    CPixelBuffer assigned;
    assigned = original;
    EXPECT_EQ(assigned, original);
    assigned = assigned;  // self-assignment keeps the bytes
    EXPECT_EQ(assigned, original);

    CPixelBuffer moved = std::move(original);
    EXPECT_EQ(moved, Of({9, 8, 7, 6}));
    EXPECT_TRUE(original.empty());  // NOLINT: a moved-from buffer is empty
}

TEST(PixelBuffer, AdoptsAMallocBlockWithoutCopying)
{
    auto* block = static_cast<std::uint8_t*>(std::malloc(4));
    std::memcpy(block, "\x01\x02\x03\x04", 4);
    CPixelBuffer buffer;
    buffer.Adopt(block, 4);
    EXPECT_EQ(buffer.data(), block);
    EXPECT_EQ(buffer, Of({1, 2, 3, 4}));
    buffer.assign(3, 0xAB);  // frees the adopted block (the sanitizer build would report a leak)
    EXPECT_EQ(buffer, Of({0xAB, 0xAB, 0xAB}));
    buffer.Adopt(nullptr, 10);
    EXPECT_EQ(buffer.size(), 0u);
}
