#include "ui/win/ResourceWin.h"

#include <atomic>

#include "ui/resources/ExeResource.h"
#include "ui/resources/ResourceIndex.h"
#include "ui/resources/SkinResources.h"

namespace SkinUI {
namespace {

std::atomic<HMODULE> g_resourceModule{nullptr};

// The folder of `module`'s file, without a trailing backslash; empty when Windows cannot say.
std::wstring ModuleFolder(HMODULE module)
{
    // Usually within MAX_PATH; a longer location gets a bigger buffer rather than a cut path.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
        if (length == 0) return std::wstring();
        if (length < size) {
            const std::wstring path(buffer.data(), length);
            const size_t slash = path.rfind(L'\\');
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
    }
    return std::wstring();
}

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
    // Loose skin files would lie beside the module; not consulted while the archive is in memory.
    CSkinResources::SetResourceFolder(ModuleFolder(module));
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
