#pragma once
#include <cstdint>
#include <string>

#include "ui/base/UIGeometry.h"

// Notifications: how a control tells the window's code about a user action ("click",
// "selectchanged", "timer", ...). The paint manager hands each one to its notifiers.
namespace SkinUI {

class CControlUI;

struct TNotifyUI {
    std::wstring sType;        // "click", "selectchanged", "windowinit", ...
    std::wstring sVirtualWnd;  // virtualwnd of the sender or of its nearest ancestor that has one
    CControlUI* pSender = nullptr;
    std::uint32_t dwTimestamp = 0;  // milliseconds, from the window's clock
    UIPoint ptMouse;                // last mouse position in the window's client area
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace SkinUI
