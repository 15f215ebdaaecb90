#include "ui/win/Monitors.h"

#include <cstdio>
#include <mutex>

#include "ui/core/WindowPlacement.h"

namespace SkinUI {
namespace {

const size_t kMaxMonitors = 63;

UIRect ToUIRect(const RECT& rc) { return UIRect{rc.left, rc.top, rc.right, rc.bottom}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* list = reinterpret_cast<std::vector<MonitorInfo>*>(data);
    if (list->size() >= kMaxMonitors) return FALSE;
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
    MonitorInfo m;
    m.handle = monitor;
    m.deviceName = info.szDevice;
    wchar_t name[32];
    std::swprintf(name, 32, L"\u663e\u793a\u5668 %d", static_cast<int>(list->size() + 1));
    m.displayName = name;
    m.monitor = info.rcMonitor;
    m.work = info.rcWork;
    m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    list->push_back(m);
    return TRUE;
}

std::vector<MonitorInfo>& FirstCopy()
{
    static std::vector<MonitorInfo> copy;
    return copy;
}

}  // namespace

std::vector<MonitorInfo> EnumerateMonitors()
{
    std::vector<MonitorInfo> list;
    ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&list));
    static std::once_flag once;
    std::call_once(once, [&list] { FirstCopy() = list; });
    return list;
}

const std::vector<MonitorInfo>& FirstMonitorEnumeration()
{
    if (FirstCopy().empty()) EnumerateMonitors();
    return FirstCopy();
}

void CenterWindowOnScreen(HWND hWnd, const RECT& bounds, POINT offset)
{
    if (!::IsWindow(hWnd)) return;
    RECT window = {};
    ::GetWindowRect(hWnd, &window);

    UIRect primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (const MonitorInfo& m : EnumerateMonitors())
        if (m.primary) primary = ToUIRect(m.monitor);

    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    const bool usableOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    RECT ownerRect = {};
    if (usableOwner) ::GetWindowRect(owner, &ownerRect);

    const UIRect reference = CenterReference(ToUIRect(bounds), usableOwner, ToUIRect(ownerRect), primary);
    const UIPoint p = CenterWindowPosition(reference, ToUIRect(bounds),
                                           UISize{window.right - window.left, window.bottom - window.top},
                                           UIPoint{offset.x, offset.y});
    ::SetWindowPos(hWnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace SkinUI
