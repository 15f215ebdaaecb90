#include "ui/core/NotifyPump.h"

#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

bool CNotifyPump::AddVirtualWnd(const std::wstring& name, CNotifyPump* object)
{
    if (!object || FindVirtualWnd(name)) return false;
    m_virtualWnds.emplace_back(name, object);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(const std::wstring& name)
{
    for (auto it = m_virtualWnds.begin(); it != m_virtualWnds.end(); ++it) {
        if (EqualsNoCase(it->first, name)) {
            m_virtualWnds.erase(it);
            return true;
        }
    }
    return false;
}

CNotifyPump* CNotifyPump::FindVirtualWnd(const std::wstring& name) const
{
    for (const auto& entry : m_virtualWnds)
        if (EqualsNoCase(entry.first, name)) return entry.second;
    return nullptr;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    if (!msg.sVirtualWnd.empty()) {
        if (CNotifyPump* object = FindVirtualWnd(msg.sVirtualWnd))
            if (object->LoopDispatch(msg)) return;
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    for (const Entry& entry : m_map) {
        if (entry.type != msg.sType) continue;
        if (entry.onMessage) entry.onMessage(msg);
        else entry.onParams(msg.wParam, msg.lParam);
        return true;
    }
    return false;
}

void CNotifyPump::MapNotify(const std::wstring& type, MessageHandler handler)
{
    m_map.push_back(Entry{type, std::move(handler), nullptr});
}

void CNotifyPump::MapNotifyParams(const std::wstring& type, ParamHandler handler)
{
    m_map.push_back(Entry{type, nullptr, std::move(handler)});
}

}  // namespace SkinUI
