#include "app/StartupSequence.h"

namespace {

int Ended(const StartupSteps& steps, int exitCode)
{
    steps.reportExit(exitCode);
    return exitCode;
}

}  // namespace

int RunStartupSequence(const StartupSteps& steps, int comFailureCode)
{
    int early = steps.readCommandLine();
    if (early != kGoOn) return Ended(steps, early);
    early = steps.claimInstance();
    if (early != kGoOn) return Ended(steps, early);
    if (steps.initializeCom() < 0) return Ended(steps, comFailureCode);
    const std::uintptr_t gdiplusToken = steps.startGdiplus();
    steps.setResourceInstance();
    steps.measureDisplayDpi();
    steps.loadSkin();
    const int exitCode = steps.run();
    steps.stopGdiplus(gdiplusToken);
    steps.uninitializeCom();
    return Ended(steps, exitCode);
}
