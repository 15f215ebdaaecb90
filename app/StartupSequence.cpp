#include "app/StartupSequence.h"

int RunStartupSequence(const StartupSteps& steps)
{
    steps.readCommandLine();
    if (steps.initializeCom() < 0) return 0;
    const std::uintptr_t gdiplusToken = steps.startGdiplus();
    steps.setResourceInstance();
    steps.measureDisplayDpi();
    steps.loadSkin();
    steps.runMainWindow();
    steps.stopGdiplus(gdiplusToken);
    steps.uninitializeCom();
    return 0;
}
