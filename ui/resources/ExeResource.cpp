#include "ui/resources/ExeResource.h"

#include <atomic>

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

}  // namespace SkinUI
