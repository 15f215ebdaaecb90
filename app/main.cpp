// KPSetup: the online setup program of 凯普视频工坊.
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "KPCore/inner/DllHardening.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ScreenDpi.h"
#include "app/ExitCode.h"
#include "app/GdiplusRuntime.h"
#include "app/HardenedStart.h"
#include "app/KPMainFrame.h"
#include "app/RunLog.h"
#include "app/SilentInstall.h"
#include "app/SingleInstance.h"
#include "app/StartupCommandLine.h"
#include "app/StartupSequence.h"
#include "pages/InstallFolderRule.h"
#include "pages/InstallSettings.h"
#include "pages/WindowLook.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/ResourceWin.h"
#include "ui/win/WindowWnd.h"

namespace {

// What the steps share over the run.
struct Run {
    CommandLineOptions options;
    std::shared_ptr<CRunLog> logFile;
    LogSink log;
    std::unique_ptr<CSingleInstance> instance;
};

// kGoOn, or kExitBadCommandLine with the reason in the log.
int CheckCommandLine(const Run& run)
{
    const CommandLineOptions& options = run.options;
    if (options.problem == CommandLineProblem::SeveralFolders) {
        WriteLog(run.log, L"refused: more than one install folder on the command line");
        return kExitBadCommandLine;
    }
    if (options.problem == CommandLineProblem::GarbledFolder) {
        WriteLog(run.log, L"refused: the install folder is not valid UTF-8");
        return kExitBadCommandLine;
    }
    if (!options.directoryGiven) return kGoOn;
    const FolderRefusal refusal = CheckInstallFolder(options.directory);
    if (refusal != FolderRefusal::None) {
        WriteLog(run.log, L"refused: install folder \"" + options.directory + L"\": " + FolderRefusalText(refusal));
        return kExitBadCommandLine;
    }
    return kGoOn;
}

int ReadCommandLine(Run& run)
{
    const std::wstring line = ArgumentsOfCommandLine(GetCommandLineW());
    run.options = ParseCommandLine(line);
    run.logFile = CRunLog::Open(run.options.logPath);
    run.log = SinkOf(run.logFile);
    WriteRunHeader(run.log, line);
    WriteLog(run.log, std::wstring(L"log: ") + run.logFile->Path());
    if (run.options.silent) {
        // Nobody is there to answer a box about a missing disk or a crashed helper.
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
        WriteLog(run.log, L"silent install; the licence agreement is taken as accepted");
    }
    return CheckCommandLine(run);
}

int ClaimInstance(Run& run)
{
    run.instance = std::make_unique<CSingleInstance>();
    if (run.instance->IsFirst()) return kGoOn;
    if (run.options.silent) {
        WriteLog(run.log, L"another installer is running");
        return kExitAnotherInstaller;
    }
    const bool shown = BringRunningInstallerToFront();
    WriteLog(run.log, shown ? L"another installer is running: its window is brought to the front"
                            : L"another installer is running, without a window");
    return kExitInstalled;
}

int RunInstaller(Run& run)
{
    InstallSettings& settings = GetInstallSettings();
    if (run.options.directoryGiven) {
        settings.installDir = run.options.directory;
        EnsureInstallDirectory(settings.installDir);
    }
    WriteLog(run.log, L"install folder: " + settings.installDir +
                          (settings.desktopShortcut ? L"; desktop shortcut: yes" : L"; desktop shortcut: no"));
    if (run.options.silent) return RunSilentInstall(settings, RealInstallFlowServices(run.log), run.log);
    KPMainFrame::Create(nullptr, nullptr, true, kProductName, kInstallerWindowStyle, kInstallerWindowExStyle, true,
                        RealMainFrameServices(run.log));
    return kExitInstalled;
}

StartupSteps RealStartupSteps(HINSTANCE instance, Run& run)
{
    StartupSteps steps;
    steps.readCommandLine = [&run] { return ReadCommandLine(run); };
    steps.claimInstance = [&run] { return ClaimInstance(run); };
    steps.initializeCom = [&run] {
        const HRESULT result = CoInitialize(nullptr);
        if (FAILED(result)) WriteLog(run.log, L"COM could not be initialised: " + std::to_wstring(result));
        return static_cast<std::int32_t>(result);
    };
    steps.startGdiplus = [] { return static_cast<std::uintptr_t>(StartGdiplus()); };
    steps.setResourceInstance = [instance] { SkinUI::CWindowWnd::SetInstance(instance); };
    steps.measureDisplayDpi = [&run] {
        const int dpi = GetScreenDpi();
        SkinUI::CPaintManagerUI::SetProcessDpi(dpi);
        WriteLog(run.log,
                 L"display: " + std::to_wstring(dpi) + L" dpi, scale " + std::to_wstring(dpi * 100 / 96) + L" %");
    };
    steps.loadSkin = [instance] { SkinUI::LoadSkinFromResource(instance); };
    steps.run = [&run] { return RunInstaller(run); };
    steps.stopGdiplus = [](std::uintptr_t token) { StopGdiplus(static_cast<ULONG_PTR>(token)); };
    steps.uninitializeCom = [] { CoUninitialize(); };
    steps.reportExit = [&run](int code) { WriteLog(run.log, L"exit code " + std::to_wstring(code)); };
    return steps;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Before anything can load a DLL: nothing is to be taken from the folder the program was
    // started from. A Windows that cannot promise that is told so, and the program ends.
    if (!HardenProcess(FindSetDefaultDllDirectories(), ShowHardeningRefusal)) return kExitPackageFailed;
    Run run;
    return RunStartupSequence(RealStartupSteps(instance, run), kExitPackageFailed);
}
