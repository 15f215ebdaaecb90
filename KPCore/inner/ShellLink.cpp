#include "KPCore/inner/ShellLink.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "KPCore/inner/ComRef.h"
#include "KPCore/inner/PathText.h"

namespace {

// The short 8.3 form of a path, or the path unchanged when it has none (for instance when the
// file does not exist).
std::wstring ShortPathOr(const std::wstring& path)
{
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD written = GetShortPathNameW(path.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed) return path;
    return std::wstring(buffer.data(), written);
}

// Tells Explorer that an item appeared, so the Start menu shows it at once.
void NotifyCreated(const std::wstring& path)
{
    SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
}

std::wstring CommonProgramsFolder()
{
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PROGRAMS, &items)) || items == nullptr)
        return std::wstring();
    wchar_t buffer[kPathBufferChars] = {};
    const BOOL converted = SHGetPathFromIDListW(items, buffer);
    CoTaskMemFree(items);
    return converted ? std::wstring(buffer) : std::wstring();
}

}  // namespace

int CreateShellLink(const std::wstring& target, const std::wstring& workingDir, const std::wstring& description,
                    const std::wstring& iconPath, int iconIndex, const std::wstring& linkFile)
{
    ComRef<IShellLinkW> link;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW, link.ReceiveVoid());
    std::printf("CoCreateInstance(ShellLink) 0x%08lX\n", static_cast<unsigned long>(created));
    if (FAILED(created) || !link) {
        std::printf("ERRO 1\n");
        std::fflush(stdout);
        return 0;
    }
    std::fflush(stdout);

    // A shortcut without its target is useless; a missing tooltip, icon or working folder is not.
    if (FAILED(link->SetPath(target.c_str()))) return 0;
    link->SetDescription(description.c_str());
    link->SetIconLocation(ShortPathOr(iconPath).c_str(), iconIndex);
    link->SetWorkingDirectory(workingDir.c_str());

    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())) || !file) {
        std::printf("ERRO 2\n");
        std::fflush(stdout);
        return 0;
    }
    if (FAILED(file->Save(linkFile.c_str(), TRUE))) return 0;
    return 1;
}

bool CreateProgramShortcuts(const std::wstring& applicationPath, const std::wstring& uninstallerPath,
                            const std::wstring& workingDir, const std::wstring& productName,
                            const std::wstring& description)
{
    const std::wstring programs = CommonProgramsFolder();
    if (programs.empty()) return false;
    const ProgramShortcutPaths paths = PlanProgramShortcuts(programs, productName);
    if (!paths.complete) return false;

    if (!PathFileExistsW(paths.groupFolder.c_str())) {
        if (!CreateDirectoryW(paths.groupFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        NotifyCreated(paths.groupFolder);
    }
    const int application =
        CreateShellLink(applicationPath, workingDir, description, applicationPath, 0, paths.applicationLink);
    const int uninstaller =
        CreateShellLink(uninstallerPath, workingDir, description, uninstallerPath, 0, paths.uninstallerLink);
    NotifyCreated(paths.uninstallerLink);
    return application == 1 && uninstaller == 1;
}
