// The demo uninstaller of 凯普视频工坊: removes what the setup package and the installer made.
//
//   KPUnInstall.exe [/S]       from the application folder: asks first (unless /S, silent), then
//                              hands over to a copy of itself in the temporary folder and ends, so
//                              that its own file can be removed too
//   <copy> /remove=<folder> [/S]  the copy: removes the application folder's files and the folder,
//                              the desktop shortcut, the Start-menu group, the uninstall entry and
//                              the installer's status file and downloaded packages
// Exit code of the copy: 0 when everything is gone, 1 when something could not be removed.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>
#include <string>
#include <vector>

#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/SystemFolders.h"
#include "KPCore/inner/UninstallEntry.h"
#include "app/StatusFile.h"
#include "tools/demo/DemoProduct.h"

namespace {

constexpr wchar_t kRemoveSwitch[] = L"/remove=";
// The first uninstaller ends right after starting the copy, and a running application once it
// has been asked to close; their files stay locked until then.
constexpr int kUnlockWaitMs = 10000;

// Gone already counts as removed.
bool Gone(BOOL removed)
{
    const DWORD error = removed ? ERROR_SUCCESS : GetLastError();
    return removed || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool RemoveFile(const std::wstring& path) { return Gone(DeleteFileW(path.c_str())); }

bool RemoveFileWhenUnlocked(const std::wstring& path)
{
    for (int waited = 0;; waited += 100) {
        if (RemoveFile(path)) return true;
        if (waited >= kUnlockWaitMs) return false;
        Sleep(100);
    }
}

bool RemoveFolder(const std::wstring& path) { return Gone(RemoveDirectoryW(path.c_str())); }

// A package the installer downloaded: 32 hexadecimal digits + ".exe".
bool IsDownloadedPackage(const std::wstring& name)
{
    if (name.size() != 36 || name.compare(32, 4, L".exe") != 0) return false;
    for (size_t i = 0; i < 32; ++i)
        if (!std::iswxdigit(name[i])) return false;
    return true;
}

bool RemoveInstallerLeftovers()
{
    const std::wstring folder = GetRoamingDataDir();
    bool ok = RemoveFile(folder + L"\\APP.ini");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.exe").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (IsDownloadedPackage(found.cFileName)) ok = RemoveFile(folder + L"\\" + found.cFileName) && ok;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());  // kept when something else lives there
    return ok;
}

// Asks every running KPApp.exe to close, so that its file can be removed.
void CloseApplication()
{
    for (HWND window = FindWindowW(kDemoAppWindowClass, nullptr); window;
         window = FindWindowExW(nullptr, window, kDemoAppWindowClass, nullptr))
        PostMessageW(window, WM_CLOSE, 0, 0);
}

bool RemoveProduct(const std::wstring& appFolder)
{
    CloseApplication();
    bool ok = true;
    ok = RemoveFileWhenUnlocked(appFolder + kAppExeSuffix) && ok;
    ok = RemoveFile(DemoInstallLog(appFolder)) && ok;
    ok = RemoveFileWhenUnlocked(appFolder + kUninstallerExeSuffix) && ok;
    ok = RemoveFolder(appFolder) && ok;
    // The folder above was made for the product too; anything else in it keeps it.
    RemoveDirectoryW(DirectoryOfPath(appFolder).c_str());

    ok = RemoveFile(DemoDesktopShortcut()) && ok;
    const ProgramShortcutPaths group = PlanProgramShortcuts(GetSpecialFolder(CSIDL_COMMON_PROGRAMS), kProductName);
    ok = RemoveFile(group.applicationLink) && ok;
    ok = RemoveFile(group.uninstallerLink) && ok;
    ok = RemoveFolder(group.groupFolder) && ok;

    // The entry is in the registry view of the installer that made it: the 32-bit view for the
    // shipped 32-bit installer, the 64-bit view for a 64-bit build. Both are cleared, whatever
    // this uninstaller's own width.
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        const LONG entry = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, UninstallSubKey(false).c_str(), view, 0);
        ok = (entry == ERROR_SUCCESS || entry == ERROR_FILE_NOT_FOUND) && ok;
    }

    ok = RemoveInstallerLeftovers() && ok;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ok;
}

// Copies this program to the temporary folder and starts the copy on `appFolder`.
bool HandOver(const std::wstring& appFolder, bool silent)
{
    wchar_t self[MAX_PATH] = {};
    wchar_t temp[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || !GetTempPathW(MAX_PATH, temp)) return false;
    const std::wstring copy = std::wstring(temp) + L"KPUnInstall-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(self, copy.c_str(), FALSE)) return false;

    std::wstring commandLine = L"\"" + copy + L"\" " + kRemoveSwitch + L"\"" + appFolder + L"\"";
    if (silent) commandLine += L" /S";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Started from its shortcut, the uninstaller works in the application folder, which could
    // not be removed while a process works in it: the copy works in the temporary folder.
    if (!CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, temp, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    bool silent = false;
    std::wstring removeFolder;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == L"/S") silent = true;
        if (args[i].compare(0, wcslen(kRemoveSwitch), kRemoveSwitch) == 0)
            removeFolder = args[i].substr(wcslen(kRemoveSwitch));
    }

    if (removeFolder.empty()) {
        if (!silent &&
            MessageBoxW(nullptr, L"确定要卸载凯普视频工坊吗？", kProductName, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
        return HandOver(GetModuleDir(), silent) ? 0 : 1;
    }

    wchar_t temp[MAX_PATH] = {};
    if (GetTempPathW(MAX_PATH, temp)) SetCurrentDirectoryW(temp);
    const bool removed = RemoveProduct(removeFolder);
    // The copy itself goes when the system next starts.
    wchar_t self[MAX_PATH] = {};
    if (GetModuleFileNameW(nullptr, self, MAX_PATH)) MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!silent)
        MessageBoxW(nullptr, removed ? L"凯普视频工坊已卸载。" : L"凯普视频工坊已卸载，但有些文件未能删除。",
                    kProductName, MB_OK | (removed ? MB_ICONINFORMATION : MB_ICONWARNING));
    return removed ? 0 : 1;
}
