#pragma once
#include <windows.h>

namespace SkinUI {

// A window's hook into the message loops: every message for the window (or one of its child
// windows) is offered to its filters before it is translated and dispatched. A filter that sets
// `handled` consumes the message.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

}  // namespace SkinUI
