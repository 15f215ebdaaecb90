#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace SkinUI {

struct MonitorInfo {
    HMONITOR handle = nullptr;
    std::wstring deviceName;
    std::wstring displayName;  // "显示器 1", "显示器 2", ...
    RECT monitor = {};
    RECT work = {};
    bool primary = false;
};

// Up to 63 monitors. The first enumeration of the process is also kept as a process-wide copy.
std::vector<MonitorInfo> EnumerateMonitors();
const std::vector<MonitorInfo>& FirstMonitorEnumeration();

// Centres `hWnd` on its owner (left/right edges) and the primary monitor (top/bottom), or on the
// primary monitor; with a non-empty `bounds`, inside those bounds. No size, z-order or activation change.
void CenterWindowOnScreen(HWND hWnd, const RECT& bounds, POINT offset);

}  // namespace SkinUI
