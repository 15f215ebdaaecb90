#pragma once
#include <cstdint>
#include <string>

#include "ui/base/UIGeometry.h"
#include "ui/core/AccessibleInfo.h"
#include "ui/core/UICursor.h"

// What the paint manager needs from the native window it serves. The window class implements it;
// tests use a recording fake. Everything here is a request: the manager never waits for an answer
// beyond the return values.
namespace SkinUI {

class CControlUI;

class IUIHost {
public:
    virtual ~IUIHost() = default;

    // A part of the client area must be repainted.
    virtual void Invalidate(const UIRect& rc) = 0;

    // Native window timers. `nativeId` is chosen by the paint manager and never collides with the
    // window's own timer ids (those are below 0x1000).
    virtual bool SetTimer(unsigned nativeId, unsigned elapseMs) = 0;
    virtual void KillTimer(unsigned nativeId) = 0;

    // Keeps mouse input coming to the window while the left button is held.
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;

    virtual void SetCursor(UICursor cursor) = 0;

    // Shows `text` as the tooltip of the area `rc`; an empty text hides the tooltip.
    virtual void ShowToolTip(const std::wstring& text, const UIRect& rc) = 0;

    // False while the window is disabled (a modal box runs over it).
    virtual bool IsWindowEnabled() const = 0;

    // Milliseconds since some fixed point; stamps notifications.
    virtual std::uint32_t GetTickCount() const = 0;

    // Something a screen reader should hear about happened to `control` (a control of this
    // window). A window without accessibility support ignores it.
    virtual void OnAccessibleEvent(CControlUI* /*control*/, AccEvent /*event*/) {}
};

}  // namespace SkinUI
