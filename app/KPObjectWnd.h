#pragma once
#include <string>

#include "app/KpBase.h"
#include "ui/win/WindowImplBase.h"

// The base of the installer's windows: a skinned window built from the layout document named by
// the derived window, registered under its own class name, with the event link to the install
// flow as its second base.
class CKPObjectWnd : public SkinUI::WindowImplBase, public KpBase {
public:
    CKPObjectWnd(std::wstring skinFile, std::wstring className);
    ~CKPObjectWnd() override;

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
    std::wstring m_skinFile;
    std::wstring m_className;
};
