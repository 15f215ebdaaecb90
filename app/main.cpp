// KPSetup: the online setup program of 凯普视频工坊.
#include <windows.h>
#include <objbase.h>

#include "KPCore/inner/DllHardening.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ScreenDpi.h"
#include "app/GdiplusRuntime.h"
#include "app/HardenedStart.h"
#include "app/KPMainFrame.h"
#include "app/StartupCommandLine.h"
#include "app/StartupSequence.h"
#include "pages/WindowLook.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/ResourceWin.h"
#include "ui/win/WindowWnd.h"

namespace {

StartupSteps RealStartupSteps(HINSTANCE instance, const char* commandLine)
{
    StartupSteps steps;
    steps.readCommandLine = [commandLine] {
        // Read but not acted on: the wizard always runs with all its pages and takes the install
        // folder from the install settings.
        const CommandLineOptions options = ReadStartupCommandLine(commandLine);
        (void)options;
    };
    steps.initializeCom = [] { return static_cast<std::int32_t>(CoInitialize(nullptr)); };
    steps.startGdiplus = [] { return static_cast<std::uintptr_t>(StartGdiplus()); };
    steps.setResourceInstance = [instance] { SkinUI::CWindowWnd::SetInstance(instance); };
    steps.measureDisplayDpi = [] { SkinUI::CPaintManagerUI::SetProcessDpi(GetScreenDpi()); };
    steps.loadSkin = [instance] { SkinUI::LoadSkinFromResource(instance); };
    steps.runMainWindow = [] {
        KPMainFrame::Create(nullptr, nullptr, true, kProductName, kInstallerWindowStyle, kInstallerWindowExStyle, true,
                            RealMainFrameServices());
    };
    steps.stopGdiplus = [](std::uintptr_t token) { StopGdiplus(static_cast<ULONG_PTR>(token)); };
    steps.uninitializeCom = [] { CoUninitialize(); };
    return steps;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Before anything can load a DLL: nothing is to be taken from the folder the program was
    // started from. A Windows that cannot promise that is told so, and the program ends.
    if (!HardenProcess(FindSetDefaultDllDirectories(), ShowHardeningRefusal)) return 1;
    return RunStartupSequence(RealStartupSteps(instance, commandLine));
}
