#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The skin at the Windows edge: the archive held in the executable's resources, and images that
// name a resource type.
namespace SkinUI {

// The skin archive's resource: type "KPZIP_RES", id 113.
constexpr const wchar_t* kSkinResourceType = L"KPZIP_RES";
constexpr int kSkinResourceId = 113;

// Start-up skin loading: resource type UILIB_ZIPRESOURCE, the resource folder beside the executable,
// the archive opened from the module's "KPZIP_RES"/113 resource (when it is present and not
// empty), the optional "res.xml" resource index, and images with a "restype" read from `module`.
// Returns whether the archive is open. The resource data stays mapped with the module, so the
// archive stays usable after the resource handle is released.
bool LoadSkinFromResource(HINSTANCE module);

// The bytes of `module`'s resource of type `type` named `name` (a "#123" name is an id).
bool ReadModuleResource(HMODULE module, const std::wstring& type, const std::wstring& name,
                        std::vector<unsigned char>& bytes);

// Makes images with a "restype" attribute read from `module`'s resources.
void InstallExeResourceReader(HMODULE module);

}  // namespace SkinUI
