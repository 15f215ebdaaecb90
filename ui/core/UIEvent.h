#pragma once
#include <cstdint>

#include "ui/base/UIGeometry.h"

// Input and life-cycle events that the paint manager delivers to one control (CControlUI::Event).
// The window translates its messages into calls on the paint manager, which turns them into these.
namespace SkinUI {

class CControlUI;

enum class UIEventType {
    MouseMove,
    MouseEnter,   // the mouse came over the control (it becomes "hot")
    MouseLeave,   // the mouse left it
    MouseHover,   // the mouse rested on it for the tooltip delay
    ButtonDown,   // left button pressed on the control
    DoubleClick,  // left button pressed twice quickly; handled like a press by most controls
    ButtonUp,     // left button released; sent to the control that took the press
    CaptureLost,  // a press ended without a release (the window lost the mouse or the focus)
    ScrollWheel,  // wParam: the wheel delta (positive away from the user)
    KeyDown,      // chKey: the virtual-key code
    Char,         // chKey: the character typed
    SetFocus,
    KillFocus,
    Timer,  // wParam: the control's own timer id
};

// Virtual-key codes the controls react to (the values of the Windows VK_ constants).
enum : unsigned {
    kKeyReturn = 0x0D,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyTab = 0x09,
};

struct TEventUI {
    UIEventType Type = UIEventType::MouseMove;
    CControlUI* pSender = nullptr;
    std::uint32_t dwTimestamp = 0;
    UIPoint ptMouse;
    unsigned chKey = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

}  // namespace SkinUI
