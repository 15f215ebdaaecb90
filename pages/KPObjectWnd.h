#pragma once
#include <windows.h>

#include <string>

#include "pages/KpBase.h"
#include "ui/win/WindowImplBase.h"

// The base of the installer's windows: a skinned window built from the layout document named by
// the derived window, registered under its own class name, with the event link to the install
// flow as its second base.
class CKPObjectWnd : public SkinUI::WindowImplBase, public KpBase {
public:
    CKPObjectWnd(std::wstring skinFile, std::wstring className, SkinUI::TWindowHooks hooks = {});
    ~CKPObjectWnd() override;

    // Makes the native window of `window`, an object made with new that owns itself from here on:
    // it deletes itself once its native window is gone. Null when the window cannot be made; the
    // object is gone then too (deleted here, or already by the destruction of a window that got
    // as far as its first message).
    template <typename Window>
    static Window* CreateOwnedWindow(Window* window, HWND parent, const wchar_t* title, DWORD style, DWORD exStyle)
    {
        return CreateOwned(window, parent, title, style, exStyle) ? window : nullptr;
    }

    const wchar_t* GetWindowClass() const override { return m_className.c_str(); }
    std::wstring GetLayoutFile() const override { return m_skinFile; }
    // A WM_TIMER goes to OnTimer and then on to the paint manager, which owns the control timers.
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // Centres the window (on its visible owner's left and right edges and the primary monitor's top
    // and bottom, or on the primary monitor), or inside `bounds` when that is not empty.
    virtual void CenterWindow(const RECT& bounds = RECT{}, POINT offset = POINT{});
    // A window timer (set with ::SetTimer on this window) fired. Does nothing here.
    virtual LRESULT OnTimer(WPARAM timerId);

protected:
    // A window that owns itself is deleted here, after the framework's own cleanup.
    void OnFinalMessage(HWND hWnd) override;

    std::wstring m_skinFile;
    std::wstring m_className;

private:
    // True when the window exists; false when it could not be made and `window` is deleted.
    static bool CreateOwned(CKPObjectWnd* window, HWND parent, const wchar_t* title, DWORD style, DWORD exStyle);

    bool m_ownsItself = false;
    bool* m_deletedFlag = nullptr;  // tells CreateOwned whether a failed creation deleted the window
};
