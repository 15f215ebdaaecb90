#include "ui/core/ControlTimers.h"

#include "ui/core/UIHost.h"

namespace SkinUI {

bool CControlTimers::Set(IUIHost* host, CControlUI* control, unsigned timerId, unsigned elapseMs)
{
    if (!control || !host) return false;
    for (const Timer& timer : m_timers) {
        if (timer.control == control && timer.localId == timerId) return host->SetTimer(timer.nativeId, elapseMs);
    }
    const unsigned nativeId = m_nextNativeId++;
    if (!host->SetTimer(nativeId, elapseMs)) return false;
    m_timers.push_back(Timer{control, timerId, nativeId});
    return true;
}

bool CControlTimers::Kill(IUIHost* host, CControlUI* control, unsigned timerId)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->control == control && it->localId == timerId) {
            if (host) host->KillTimer(it->nativeId);
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CControlTimers::KillAll(IUIHost* host, CControlUI* control)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control) {
            if (host) host->KillTimer(it->nativeId);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CControlTimers::RemoveAll(IUIHost* host)
{
    if (host) {
        for (const Timer& timer : m_timers) host->KillTimer(timer.nativeId);
    }
    m_timers.clear();
}

bool CControlTimers::Find(unsigned nativeId, CControlUI*& control, unsigned& timerId) const
{
    for (const Timer& timer : m_timers) {
        if (timer.nativeId == nativeId) {
            control = timer.control;
            timerId = timer.localId;
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
