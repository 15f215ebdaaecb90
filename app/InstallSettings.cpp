#include "app/InstallSettings.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <mutex>

#include "KPCore/inner/DirectoryChain.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/SystemFolders.h"

namespace {

// A plain mutex with a constant initialiser: ready before any code of the program runs.
std::mutex g_settingsLock;

}  // namespace

InstallSettings::InstallSettings() : installDir(GetDefaultInstallDir())
{
    EnsureInstallDirectory(installDir);
}

std::wstring InstallSettings::GetAppFolder() const
{
    return installDir + L"\\" + kDefaultInstallFolderName;
}

InstallSettings& GetInstallSettings()
{
    std::lock_guard<std::mutex> guard(g_settingsLock);
    // The function-local static is built once (thread-safe in its own right) and destroyed by the
    // runtime when the process exits.
    static InstallSettings settings;
    return settings;
}

void EnsureInstallDirectory(const std::wstring& directory)
{
    if (directory.empty() || PathFileExistsW(directory.c_str())) return;
    CreateDirectoryChain(directory);
}
