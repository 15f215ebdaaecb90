#include "pages/InstallSettings.h"

#include <utility>

#include "KPCore/inner/ProductInfo.h"

InstallSettings::InstallSettings(std::wstring installDir) : installDir(std::move(installDir)) {}

std::wstring InstallSettings::GetAppFolder() const { return installDir + L"\\" + kDefaultInstallFolderName; }
