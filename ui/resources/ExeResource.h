#pragma once
#include <string>
#include <vector>

// Reading the executable's own resources (images with a resource type, a resource index kept as a
// resource). Only the Windows build can do that: it installs a reader at start-up
// (ui/win/ResourceWin.h). Without one nothing is found.
namespace SkinUI {

using ExeResourceReader = bool (*)(const std::wstring& resType, const std::wstring& name,
                                   std::vector<unsigned char>& bytes);
void SetExeResourceReader(ExeResourceReader reader);  // nullptr: find nothing
// The resource of type `resType` named `name`; false when there is none or it is empty.
bool ReadExeResource(const std::wstring& resType, const std::wstring& name, std::vector<unsigned char>& bytes);

}  // namespace SkinUI
