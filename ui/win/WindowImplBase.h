#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/builder/DialogBuilder.h"
#include "ui/core/NotifyPump.h"
#include "ui/core/NotifyUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/MessageFilterUI.h"
#include "ui/win/PaintManagerWnd.h"
#include "ui/win/WindowHooks.h"
#include "ui/win/WindowWnd.h"

// The base of every skinned window: a borderless native window whose content is built from a
// layout document, drawn by its paint manager, movable by its caption strip, and whose control
// notifications are routed to page handlers by virtual-window name.
namespace SkinUI {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    explicit WindowImplBase(TWindowHooks hooks = {});
    ~WindowImplBase() override;

    // --- What a derived window describes ---
    virtual void ReservedHook() {}  // does nothing; kept for derived windows
    // Called once the layout is built and attached; derived windows bind their controls here.
    virtual void InitWindow() {}
    // Default click handling: "closebtn" closes with 1, "minbtn", "maxbtn" and "restorebtn" send
    // the matching system command; other names are ignored.
    virtual void OnClick(TNotifyUI& msg);
    // True when a press on `control` may drag the window: the control and all its ancestors are
    // plain controls, labels, texts or layouts.
    virtual bool IsCaptionControl(CControlUI* control);
    virtual std::wstring GetLayoutType() const { return std::wstring(); }
    virtual std::wstring GetLayoutFile() const = 0;
    virtual const wchar_t* GetPaintManagerName() const { return nullptr; }
    // Asked for Enter and Escape before they reach the controls; true consumes the key.
    virtual bool OnDefaultKey(unsigned virtualKey) { return virtualKey == VK_ESCAPE; }

    // --- Message handlers: each may set `handled`; an unhandled message goes on ---
    virtual LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseHover(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnChar(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // WM_DPICHANGED: the new DPI in the low word of wParam, the suggested window rectangle at lParam.
    virtual LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // Messages no handler above took; leaves them unhandled.
    virtual LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The current window style without WS_CAPTION.
    virtual LONG GetStyle();

    // --- INotifyUI, IMessageFilterUI, IDialogBuilderCallback ---
    void Notify(TNotifyUI& msg) override;
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    CControlUI* CreateControl(const std::wstring& tagName) override { return nullptr; }

    // A window that cannot build its layout normally tells the user and ends the process with
    // exit code 1 (a window built at start-up cannot run without its layout). With soft failure
    // the creation fails instead: Create returns null and the window is destroyed at once. A
    // window given TWindowHooks::onLayoutFailure calls that instead of the box and the exit.
    void SetSoftLayoutFailure(bool soft) { m_softLayoutFailure = soft; }
    // The text of the box shown before the process ends: "加载资源文件失败：" + document name.
    static std::wstring LayoutFailureText(const std::wstring& layoutFile);

    CPaintManagerUI& GetPaintManager() { return m_pm; }
    CPaintManagerWnd& GetPaintManagerWnd() { return m_pmWnd; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    CPaintManagerUI m_pm;
    CPaintManagerWnd m_pmWnd;

private:
    void SwapMaxRestoreButtons();

    std::function<void(const std::wstring& layoutFile)> m_onLayoutFailure;
    bool m_softLayoutFailure = false;
};

// Class names (lower case) of the controls that drag the window when pressed in the caption strip.
bool IsCaptionClass(const std::wstring& className);

}  // namespace SkinUI
