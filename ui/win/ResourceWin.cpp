#include "ui/win/ResourceWin.h"

#include <atomic>

#include "ui/ImageLoader.h"
#include "ui/ResourceIndex.h"
#include "ui/SkinResources.h"

namespace SkinUI {
namespace {

std::atomic<HMODULE> g_resourceModule{nullptr};

bool ReadFromResourceModule(const std::wstring& type, const std::wstring& name, std::vector<unsigned char>& bytes)
{
    return ReadModuleResource(g_resourceModule, type, name, bytes);
}

}  // namespace

std::wstring GetModuleFolder(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool ReadModuleResource(HMODULE module, const std::wstring& type, const std::wstring& name,
                        std::vector<unsigned char>& bytes)
{
    bytes.clear();
    HRSRC info = FindResourceW(module, name.c_str(), type.c_str());
    if (!info) {
        return false;
    }
    HGLOBAL handle = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (data && size > 0) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes.assign(first, first + size);
    }
    if (handle) {
        FreeResource(handle);
    }
    return !bytes.empty();
}

void InstallExeResourceReader(HMODULE module)
{
    g_resourceModule = module;
    SetExeResourceReader(&ReadFromResourceModule);
}

bool LoadSkinFromResource(HINSTANCE module)
{
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    CSkinResources::SetResourceFolder(GetModuleFolder(module));
    InstallExeResourceReader(module);

    bool opened = false;
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(kSkinResourceId), kSkinResourceType);
    HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
    if (handle) {
        const DWORD size = SizeofResource(module, info);
        if (size > 0) {
            if (const void* data = LockResource(handle)) {
                // Not copied: a module's resource stays mapped as long as the module is loaded.
                opened = CSkinResources::OpenResourceArchive(data, size);
            }
        }
    }
    CResourceIndex::Load(L"res.xml");
    if (handle) {
        FreeResource(handle);
    }
    return opened;
}

}  // namespace SkinUI
