#include "ui/win/ToolTip.h"

#include <commctrl.h>

namespace SkinUI {

namespace {

// comctl32 from the system folder, initialised once; null when it cannot be loaded.
HMODULE CommonControls()
{
    static HMODULE module = [] {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return static_cast<HMODULE>(nullptr);
        const std::wstring path = std::wstring(folder, length) + L"\\comctl32.dll";
        // Its dependencies from the system folder only (LOAD_LIBRARY_SEARCH_SYSTEM32, which older
        // SDK headers do not name), never from the current folder or PATH.
        HMODULE loaded = ::LoadLibraryExW(path.c_str(), nullptr, 0x00000800);
        if (!loaded) return loaded;
        using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(loaded, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        if (init) init(&icc);
        return loaded;
    }();
    return module;
}

constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolInfo(HWND owner, const std::wstring& text, const RECT& rc)
{
    TTTOOLINFOW ti = {};
    // The size every version of the library accepts.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = kToolId;
    ti.rect = rc;
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    return ti;
}

}  // namespace

CToolTipWnd::CToolTipWnd(HWND owner) : m_owner(owner) {}

CToolTipWnd::~CToolTipWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CToolTipWnd::EnsureCreated()
{
    if (m_hWnd) return true;
    if (!CommonControls()) return false;
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_owner, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd) return false;
    ::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

void CToolTipWnd::Show(const std::wstring& text, const RECT& toolRect)
{
    if (!EnsureCreated()) return;
    m_text = text;
    TTTOOLINFOW ti = ToolInfo(m_owner, m_text, toolRect);
    if (!m_toolAdded) {
        m_toolAdded = ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
    } else {
        ::SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    // Below the cursor, clear of its arrow.
    ::SendMessageW(m_hWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y + 20));
    ::SendMessageW(m_hWnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    m_shown = true;
}

void CToolTipWnd::Hide()
{
    if (!m_hWnd || !m_shown) return;
    TTTOOLINFOW ti = ToolInfo(m_owner, m_text, RECT{});
    ::SendMessageW(m_hWnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    m_shown = false;
}

}  // namespace SkinUI
