#pragma once
#include <windows.h>

#include <string>

// The native tooltip of a skinned window. The common controls library is loaded at run time from
// the system folder (the program imports no library that is not a known system DLL); without it
// no tooltip is shown.
namespace SkinUI {

class CToolTipWnd {
public:
    explicit CToolTipWnd(HWND owner);
    ~CToolTipWnd();
    CToolTipWnd(const CToolTipWnd&) = delete;
    CToolTipWnd& operator=(const CToolTipWnd&) = delete;

    // Shows `text` for the control occupying `toolRect` (client coordinates of the owner), below
    // the mouse cursor.
    void Show(const std::wstring& text, const RECT& toolRect);
    void Hide();

    HWND GetHWND() const { return m_hWnd; }
    const std::wstring& GetText() const { return m_text; }
    bool IsShown() const { return m_shown; }

private:
    bool EnsureCreated();

    HWND m_owner = nullptr;
    HWND m_hWnd = nullptr;
    bool m_toolAdded = false;
    bool m_shown = false;
    std::wstring m_text;
};

}  // namespace SkinUI
