#include "KPCore/inner/ScreenDpi.h"

#include <windows.h>

#include "KPCore/inner/DpiMath.h"

namespace {
constexpr int kDefaultDpi = 96;
}

int GetScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return kDefaultDpi;
    const int horizontal = GetDeviceCaps(screen, LOGPIXELSX);
    const int vertical = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // A zero DPI would scale the whole interface to nothing.
    if (horizontal <= 0 || vertical <= 0) return kDefaultDpi;
    return MeanDpi(horizontal, vertical);
}
