#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/image/ImageInfo.h"

// Finding an image's file by the name an image attribute gives, and decoding it.
namespace SkinUI {

// The bytes of an image file:
//   - with a resource type, the executable's resource of that type named `name`;
//   - otherwise `name` translated through the resource index and read from the skin; only a skin
//     read from a folder (UILIB_FILE) goes on, when it has no such file, to the translated name
//     as a file path of its own (relative to the current directory). A skin held in an archive
//     gives its own members and nothing else.
bool ReadImageBytes(const std::wstring& name, const std::wstring& resType, std::vector<unsigned char>& bytes);

// ReadImageBytes and DecodeImage; null when the image cannot be found or decoded.
std::shared_ptr<TImageInfo> LoadImageByName(const std::wstring& name, const std::wstring& resType, UIColor mask);

}  // namespace SkinUI
