#pragma once
#include <cstddef>
#include <memory>

#include "ui/image/ImageInfo.h"

// Decoding image files (PNG, JPEG, BMP) into 32-bit premultiplied pixels.
// The skin's images are PNG; BMP and baseline JPEG are there for documents that name them. Other
// formats the underlying decoder knows are left out: the skin does not use them, and each one is
// more code that a damaged file could trip.
namespace SkinUI {

// Images wider or higher than this, or with more pixels than kMaxImagePixels, are refused before
// their pixels are decoded, so a forged header cannot make us allocate gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 16LL * 1024 * 1024;  // 64 MiB of BGRA

// Decodes `bytes`. When `mask` is not 0, every pixel whose RGB equals the mask's RGB becomes fully
// transparent (the mask's alpha byte is not compared). Returns null when the bytes are not an
// image this decoder knows, are damaged, or exceed the limits above.
std::shared_ptr<TImageInfo> DecodeImage(const unsigned char* bytes, size_t size, UIColor mask);

}  // namespace SkinUI
