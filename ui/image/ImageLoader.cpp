#include "ui/image/ImageLoader.h"

#include "ui/image/ImageDecoder.h"
#include "ui/resources/ExeResource.h"
#include "ui/resources/FileBytes.h"
#include "ui/resources/ResourceIndex.h"
#include "ui/resources/SkinResources.h"

namespace SkinUI {

bool ReadImageBytes(const std::wstring& name, const std::wstring& resType, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    if (name.empty()) {
        return false;
    }
    if (!resType.empty()) {
        return ReadExeResource(resType, name, bytes);
    }
    const std::wstring file = CResourceIndex::TranslateImage(name);
    std::wstring errorText;
    if (CSkinResources::ReadMember(file, bytes, errorText, kMaxImageFileBytes)) {
        return true;
    }
    // A skin read from a folder may name images outside it. A skin held in an archive never
    // does: a name it lacks (a DPI variant it does not ship, most often) would otherwise be read
    // from the current folder, which is usually the Downloads folder the program was started from.
    if (CSkinResources::GetResourceMode() != UILIB_FILE) {
        return false;
    }
    return ReadFileBytes(file, kMaxImageFileBytes, bytes) == FileReadResult::Ok;
}

std::shared_ptr<TImageInfo> LoadImageByName(const std::wstring& name, const std::wstring& resType, UIColor mask)
{
    std::vector<unsigned char> bytes;
    if (!ReadImageBytes(name, resType, bytes)) {
        return nullptr;
    }
    return DecodeImage(bytes.data(), bytes.size(), mask);
}

}  // namespace SkinUI
