#include "app/KPObjectWnd.h"

#include <utility>

#include "ui/win/Monitors.h"

CKPObjectWnd::CKPObjectWnd(std::wstring skinFile, std::wstring className)
    : m_skinFile(std::move(skinFile)), m_className(std::move(className))
{
}

CKPObjectWnd::~CKPObjectWnd() = default;

LRESULT CKPObjectWnd::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (message == WM_TIMER) OnTimer(wParam);
    handled = FALSE;
    return 0;
}

void CKPObjectWnd::CenterWindow(const RECT& bounds, POINT offset)
{
    SkinUI::CenterWindowOnScreen(m_hWnd, bounds, offset);
}

LRESULT CKPObjectWnd::OnTimer(WPARAM) { return 0; }
