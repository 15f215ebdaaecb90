#include "pages/InstallSettings.h"

#include <windows.h>
#include <shlwapi.h>

#include <mutex>

#include "KPCore/inner/DirectoryChain.h"
#include "KPCore/inner/SystemFolders.h"

namespace {

// A plain mutex with a constant initialiser: ready before any code of the program runs.
std::mutex g_settingsLock;

// The default folder, made sure to exist on disk.
std::wstring PreparedDefaultInstallDir()
{
    std::wstring directory = GetDefaultInstallDir();
    EnsureInstallDirectory(directory);
    return directory;
}

}  // namespace

InstallSettings& GetInstallSettings()
{
    std::lock_guard<std::mutex> guard(g_settingsLock);
    // The function-local static is built once (thread-safe in its own right) and destroyed by the
    // runtime when the process exits.
    static InstallSettings settings(PreparedDefaultInstallDir());
    return settings;
}

void EnsureInstallDirectory(const std::wstring& directory)
{
    if (directory.empty() || PathFileExistsW(directory.c_str())) return;
    CreateDirectoryChain(directory);
}
