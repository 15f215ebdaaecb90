#pragma once
#include <vector>

// The timers that the controls of one window run on the window's native timers. Each control
// numbers its own timers; the table hands every (control, id) pair a native id of its own, from
// kFirstControlTimerId upwards, so they never collide with the window's own timers.
namespace SkinUI {

class CControlUI;
class IUIHost;

// The first native timer id handed to a control; the window's own timers stay below.
constexpr unsigned kFirstControlTimerId = 0x1000;

class CControlTimers {
public:
    // Starts timer `timerId` of `control` on `host`; setting an existing one again restarts it.
    bool Set(IUIHost* host, CControlUI* control, unsigned timerId, unsigned elapseMs);
    // False when `control` has no such timer.
    bool Kill(IUIHost* host, CControlUI* control, unsigned timerId);
    void KillAll(IUIHost* host, CControlUI* control);
    void RemoveAll(IUIHost* host);
    // The control and its own id behind native timer `nativeId`; false for a timer not handed out.
    bool Find(unsigned nativeId, CControlUI*& control, unsigned& timerId) const;

private:
    struct Timer {
        CControlUI* control;
        unsigned localId;
        unsigned nativeId;
    };
    std::vector<Timer> m_timers;
    unsigned m_nextNativeId = kFirstControlTimerId;
};

}  // namespace SkinUI
