// The yardstick for start-up time: the least a Win32 program does to put one per-pixel-alpha
// window of the main window's size on the screen (one colour, no skin, no layout, no text).
// Prints "first-frame-ms <n>" once UpdateLayeredWindow has returned.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "BenchClock.h"

int main()
{
    ::SetProcessDPIAware();
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    const int width = ::MulDiv(700, dpi, 96);
    const int height = ::MulDiv(420, dpi, 96);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"kp_minimal_layered";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(WS_EX_LAYERED, wc.lpszClassName, L"minimal", WS_POPUP, 100, 100, width, height,
                                    nullptr, nullptr, wc.hInstance, nullptr);

    HDC memory = ::CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::SelectObject(memory, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) pixels[i] = 0xFF1C1C1E;
    POINT position = {100, 100};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(window, nullptr, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    std::printf("first-frame-ms %.1f\n", MillisecondsSinceProcessStart());
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("peak-working-set-mb %.1f\n", counters.PeakWorkingSetSize / (1024.0 * 1024.0));
    std::fflush(stdout);
    return 0;
}
