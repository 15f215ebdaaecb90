#include "pages/KPObjectWnd.h"

#include <utility>

#include "ui/win/Monitors.h"

CKPObjectWnd::CKPObjectWnd(std::wstring skinFile, std::wstring className, SkinUI::TWindowHooks hooks)
    : WindowImplBase(std::move(hooks)), m_skinFile(std::move(skinFile)), m_className(std::move(className))
{
}

CKPObjectWnd::~CKPObjectWnd()
{
    if (m_deletedFlag) *m_deletedFlag = true;
}

bool CKPObjectWnd::CreateOwned(CKPObjectWnd* window, HWND parent, const wchar_t* title, DWORD style, DWORD exStyle)
{
    bool deleted = false;
    window->m_ownsItself = true;
    window->m_deletedFlag = &deleted;
    if (!window->Create(parent, title, style, exStyle)) {
        // A window that got as far as its first message has been destroyed, and the object with it.
        if (!deleted) delete window;
        return false;
    }
    window->m_deletedFlag = nullptr;
    return true;
}

void CKPObjectWnd::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    if (m_ownsItself) delete this;
}

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
