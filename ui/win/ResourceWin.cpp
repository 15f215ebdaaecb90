#include "ui/win/ResourceWin.h"

#include <atomic>

#include "KPCore/inner/SystemFolders.h"
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
    CSkinResources::SetResourceFolder(GetModuleDir());  // not consulted while the archive is in memory
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
