#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/NotifyUI.h"

namespace SkinUI {

// Routes notifications to handler objects. A window registers one handler object per virtual-window
// name (the `virtualwnd` attribute of a layout subtree); a notification from inside that subtree goes
// to that object first, and to the window's own map when the object leaves it unhandled.
//
// Each object has a notification map: entries of a notification type and a handler taking either
// the whole notification or its two parameters. The first entry whose type matches handles it.
class CNotifyPump {
public:
    using MessageHandler = std::function<void(TNotifyUI&)>;
    using ParamHandler = std::function<void(std::uintptr_t wParam, std::intptr_t lParam)>;

    CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;
    virtual ~CNotifyPump() = default;

    // Registers `object` under `name` (compared without regard to case). False when the name is
    // taken or the object is null.
    bool AddVirtualWnd(const std::wstring& name, CNotifyPump* object);
    bool RemoveVirtualWnd(const std::wstring& name);
    CNotifyPump* FindVirtualWnd(const std::wstring& name) const;

    // The virtual-window object named by the notification, then this object's own map.
    void NotifyPump(TNotifyUI& msg);
    // This object's own map; true when an entry handled the notification.
    bool LoopDispatch(TNotifyUI& msg);

protected:
    void MapNotify(const std::wstring& type, MessageHandler handler);
    void MapNotifyParams(const std::wstring& type, ParamHandler handler);

private:
    struct Entry {
        std::wstring type;
        MessageHandler onMessage;
        ParamHandler onParams;
    };
    std::vector<Entry> m_map;
    std::vector<std::pair<std::wstring, CNotifyPump*>> m_virtualWnds;
};

}  // namespace SkinUI
