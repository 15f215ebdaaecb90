#include "ui/win/WindowWnd.h"

namespace SkinUI {

HINSTANCE CWindowWnd::s_instance = nullptr;
CWindowWnd::MessagePreTranslator CWindowWnd::s_preTranslator = nullptr;
CWindowWnd::ModalLoop* CWindowWnd::s_modalLoops = nullptr;

HINSTANCE CWindowWnd::GetInstance() { return s_instance ? s_instance : ::GetModuleHandleW(nullptr); }

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(GetInstance(), GetWindowClass(), &wc)) return true;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = GetWindowClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WindowProc;
    wc.hInstance = GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = GetWindowClass();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu)
{
    if (!RegisterWindowClass()) return nullptr;
    // WM_NCCREATE binds the object to the window (see WindowProc), so m_hWnd is set during creation.
    HWND created =
        ::CreateWindowExW(exStyle, GetWindowClass(), title, style, x, y, cx, cy, parent, menu, GetInstance(), this);
    return created ? m_hWnd : nullptr;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (::IsWindow(m_hWnd)) ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::DispatchOne(MSG& msg)
{
    if (s_preTranslator && s_preTranslator(&msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

UINT CWindowWnd::ShowModal()
{
    if (!::IsWindow(m_hWnd)) return 0;
    HWND self = m_hWnd;  // the object may be deleted by its final message inside the loop
    ModalLoop loop{self, ::GetWindow(self, GW_OWNER), 0, s_modalLoops};
    s_modalLoops = &loop;
    ::ShowWindow(self, SW_SHOWNORMAL);
    if (loop.owner) ::EnableWindow(loop.owner, FALSE);
    MSG msg = {};
    bool quit = false;
    while (::IsWindow(self)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        DispatchOne(msg);
    }
    // Loops end innermost first, but a loop left by WM_QUIT may still have inner ones listed.
    for (ModalLoop** link = &s_modalLoops; *link; link = &(*link)->outer) {
        if (*link == &loop) {
            *link = loop.outer;
            break;
        }
    }
    if (loop.owner) {
        ::EnableWindow(loop.owner, TRUE);
        ::SetFocus(loop.owner);
    }
    if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return loop.result;
}

CWindowWnd::ModalLoop* CWindowWnd::FindModalLoop(HWND window)
{
    for (ModalLoop* loop = s_modalLoops; loop; loop = loop->outer)
        if (loop->window == window) return loop;
    return nullptr;
}

HWND CWindowWnd::ModalWindowOver(HWND owner)
{
    for (ModalLoop* loop = s_modalLoops; loop; loop = loop->outer)
        if (loop->owner == owner && ::IsWindow(loop->window)) return loop->window;
    return nullptr;
}

void CWindowWnd::Close(UINT result)
{
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(result), 0);
}

void CWindowWnd::SetIcon(UINT resourceId)
{
    // The system's large icon size, each side rounded up to a multiple of 16.
    const int cx = (::GetSystemMetrics(SM_CXICON) + 15) / 16 * 16;
    const int cy = (::GetSystemMetrics(SM_CYICON) + 15) / 16 * 16;
    HICON big = static_cast<HICON>(
        ::LoadImageW(GetInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    HICON small = static_cast<HICON>(
        ::LoadImageW(GetInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (big) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc = {};
    if (!::GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&rc, style, ::GetMenu(m_hWnd) != nullptr, exStyle);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self) {
            const LRESULT result = ::CallWindowProcW(::DefWindowProcW, hWnd, message, wParam, lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            self->OnFinalMessage(hWnd);
            return result;
        }
    }
    if (!self) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    if (message == WM_CLOSE) {
        if (ModalLoop* loop = FindModalLoop(hWnd)) {
            loop->result = static_cast<UINT>(wParam);
            // The owner must be usable before this window is destroyed, or Windows activates some
            // other application's window in its place.
            HWND owner = loop->owner;
            if (owner) ::EnableWindow(owner, TRUE);
            const LRESULT result = self->HandleMessage(message, wParam, lParam);
            // A window that stays open keeps its owner disabled.
            if (owner && ::IsWindow(hWnd) && FindModalLoop(hWnd)) ::EnableWindow(owner, FALSE);
            return result;
        }
    }
    return self->HandleMessage(message, wParam, lParam);
}

}  // namespace SkinUI
