#pragma once
#include <cstddef>

// A structural check of JPEG files, run before they reach the image decoder.
namespace SkinUI {

bool LooksLikeJpeg(const unsigned char* bytes, size_t size);  // starts with the SOI marker FF D8

// Walks the file's markers and refuses what the decoder does not handle safely:
//   - a Huffman table (DHT) whose code counts add up to more than 256 symbols, which would make
//     the decoder write past its tables;
//   - a progressive or other non-baseline frame (anything but SOF0 and SOF1).
// Files that are merely truncated pass: the decoder stops at the end of the data by itself.
bool IsJpegSafeToDecode(const unsigned char* bytes, size_t size);

}  // namespace SkinUI
