// The demo setup package of 凯普视频工坊: what the vendor's server hands the installer.
//
// Started by the installer with "-instdir=<folder> -dsc=<true|false>", it puts KPApp.exe and
// KPUnInstall.exe (carried as resources) into <folder>\KPCapture, makes a desktop shortcut when
// told to, records what it was given in install.log, and finally writes "active" = "1" into the
// installer's status file, which the installer is polling. It shows no window: the installer's
// progress page is the user's view of it.
//
// Exit codes: 0 installed; 1 something could not be written (the status file is then left alone,
// so the installer never shows a completion that did not happen); 2 a command line it cannot read.
//
// For tests of how the installer follows a package, the environment variable KPDEMO_PACKAGE_MODE
// (which the installer passes on) makes it misbehave or hand over as real packages do:
//   fail      exits with 3 after a moment, installing nothing and never writing "1"
//   handover  starts a copy of itself with the same command line and exits with 0 at once; the
//             copy waits 4 s (longer than the installer waits for "1" once everything has ended),
//             then installs as usual
//   claim     writes "active" = "1" after a moment and exits with 0, installing nothing (as
//             another process of the user could write it)
#include <windows.h>
#include <objbase.h>

#include <string>

#include "KPCore/inner/DirectoryChain.h"
#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ShellLink.h"
#include "app/StatusFile.h"
#include "tools/demo/DemoProduct.h"
#include "tools/demo/PackageArgs.h"

namespace {

// The steps take a moment each, as a real installation would, so the installer's progress page
// has something to follow.
constexpr DWORD kStepPauseMs = 500;
constexpr wchar_t kModeVariable[] = L"KPDEMO_PACKAGE_MODE";
constexpr wchar_t kHandedOver[] = L"handed-over";
constexpr DWORD kHandoverWaitMs = 4000;

std::wstring Mode()
{
    wchar_t mode[32] = {};
    const DWORD length = GetEnvironmentVariableW(kModeVariable, mode, 32);
    return length > 0 && length < 32 ? std::wstring(mode) : std::wstring();
}

// Starts this program again with `commandLine`, as a package that hands over to a second stage.
bool HandOver(const std::wstring& commandLine)
{
    wchar_t self[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || !SetEnvironmentVariableW(kModeVariable, kHandedOver))
        return false;
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Install(const PackageArgs& args, const std::wstring& commandLine)
{
    const std::wstring appFolder = DemoAppFolder(args.installDir);
    if (CreateDirectoryChain(appFolder) != 0) return false;
    Sleep(kStepPauseMs);

    const std::string log = "command line: " + DemoUtf8(commandLine) + "\r\ninstdir: " + DemoUtf8(args.installDir) +
                            "\r\ndsc: " + (args.desktopShortcut ? "true" : "false") + "\r\n";
    if (!DemoWriteFile(DemoInstallLog(appFolder), log)) return false;

    const std::wstring application = appFolder + kAppExeSuffix;
    const std::string applicationBytes = DemoPayload(kPayloadApplication);
    if (applicationBytes.empty() || !DemoWriteFile(application, applicationBytes)) return false;
    Sleep(kStepPauseMs);
    const std::string uninstallerBytes = DemoPayload(kPayloadUninstaller);
    if (uninstallerBytes.empty() || !DemoWriteFile(appFolder + kUninstallerExeSuffix, uninstallerBytes)) return false;
    Sleep(kStepPauseMs);

    if (args.desktopShortcut && !CreateShellLink(application, appFolder, ShortcutDescription(kProductName, appFolder),
                                                 application, 0, DemoDesktopShortcut()))
        return false;
    Sleep(kStepPauseMs);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The raw line: the folder is taken verbatim, so it must not go through an argument splitter.
    const std::wstring commandLine = GetCommandLineW();
    const std::optional<PackageArgs> args = ParsePackageArgs(ParametersOf(commandLine));
    if (!args) return 2;
    const std::wstring mode = Mode();
    if (mode == L"fail") {
        Sleep(kStepPauseMs);
        return 3;
    }
    if (mode == L"handover") return HandOver(commandLine) ? 0 : 1;
    if (mode == L"claim") {
        // Reports completion with nothing installed, as any other process of the user could.
        Sleep(kStepPauseMs);
        return WritePrivateProfileStringW(kStatusSection, kActiveKey, L"1", GetStatusFilePath().c_str()) ? 0 : 1;
    }
    if (mode == kHandedOver) Sleep(kHandoverWaitMs);

    CoInitialize(nullptr);
    const bool installed = Install(*args, commandLine);
    CoUninitialize();
    if (!installed) return 1;

    // The installer finds this file the same way (the roaming KPCapture folder, APP.ini) and ends
    // its progress at 100 % when it reads "1".
    return WritePrivateProfileStringW(kStatusSection, kActiveKey, L"1", GetStatusFilePath().c_str()) ? 0 : 1;
}
