#pragma once
#include <windows.h>

#include "pages/KpBase.h"
#include "pages/PageServices.h"
#include "ui/core/ControlRef.h"
#include "ui/core/NotifyPump.h"
#include "ui/core/PaintManagerUI.h"

// What the four wizard pages share. A page owns no window: it is the notification handler that the
// main window registers for the page's container, and its KpBase part sends the page's events to
// the main window.
//
// The pattern of every page: Init binds the controls by name; a click is told apart by the
// sender's identity (never by its name); the minimise button minimises the main window; the close
// button asks before it closes.
class CKPInstallPage : public SkinUI::CNotifyPump, public KpBase {
public:
    // `services` must outlive the page (the main window owns both).
    CKPInstallPage(SkinUI::CPaintManagerUI* paintManager, const PageServices& services);
    ~CKPInstallPage() override;

    // Finds the page's controls; the main window calls it once its layout is built.
    virtual void Init() = 0;

    // Passes EVENT_POST_TO_UI on to the owner (the main window) with the same argument and
    // reserved value; ignores every other code.
    void OnEvent(int code, int argument, int reserved) override;

protected:
    // The control named `name` when it is a T, else empty.
    template <typename T>
    SkinUI::ControlRef<T> Bind(const wchar_t* name) const
    {
        return SkinUI::BindControl<T>(*m_paintManager, name);
    }

    // True when `msg` came from the control that `handle` refers to.
    template <typename T>
    static bool IsFrom(const SkinUI::TNotifyUI& msg, const SkinUI::ControlRef<T>& handle)
    {
        return handle && msg.pSender == handle.get();
    }

    // The main window (null while the paint manager serves no window).
    HWND GetWindow() const;
    // Minimises the main window (a synchronous system command).
    void Minimize() const;
    // Dims the window, asks "确定关闭？" and removes the dimming again. Returns the answer: 1 for
    // "确定", 2 for "取消", 0 for the box's close button.
    int AskToClose() const;
    // Asks, and on "确定" closes the main window.
    void ConfirmClose() const;
    // Posts WM_CLOSE to the main window.
    void PostClose() const;

    SkinUI::CPaintManagerUI* m_paintManager;
    const PageServices& m_services;
};
