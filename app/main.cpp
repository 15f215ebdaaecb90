// KPSetup: the online setup program of 凯普视频工坊.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include "app/StartupCommandLine.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Read but not acted on: the wizard always runs with all its pages.
    const CommandLineOptions options = ReadStartupCommandLine(commandLine);
    (void)options;

    if (FAILED(CoInitialize(nullptr)))
        return 0;

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    (void)instance;

    Gdiplus::GdiplusShutdown(gdiplusToken);
    CoUninitialize();
    return 0;
}
