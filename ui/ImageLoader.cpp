#include "ui/ImageLoader.h"

#include <atomic>

#include "ui/FileBytes.h"
#include "ui/ImageDecoder.h"
#include "ui/ResourceIndex.h"
#include "ui/SkinResources.h"

namespace SkinUI {
namespace {

std::atomic<ExeResourceReader> g_exeResourceReader{nullptr};

}  // namespace

void SetExeResourceReader(ExeResourceReader reader) { g_exeResourceReader = reader; }

bool ReadExeResource(const std::wstring& resType, const std::wstring& name, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    const ExeResourceReader reader = g_exeResourceReader;
    return reader && reader(resType, name, bytes) && !bytes.empty();
}

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
