#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/PaintManagerUI.h"
#include "ui/core/UIHost.h"
#include "ui/win/DibSurface.h"
#include "ui/win/GdiTextRenderer.h"
#include "ui/win/MessageFilterUI.h"
#include "ui/win/ShadowUI.h"

// The window side of a paint manager: it serves the model (CPaintManagerUI) as its IUIHost,
// turns the window's messages into the model's input calls, and paints.
//
// Painting: the whole client area lives in one 32-bit premultiplied DIB section that is kept
// between frames. An invalidated rectangle is collected; at WM_PAINT only the collected part is
// cleared and redrawn from the control tree, then a layered window gets it with
// UpdateLayeredWindowIndirect (the dirty part only) and any other window with a BitBlt.
namespace SkinUI {

class CShadowUI;
class CToolTipWnd;

// Private message posted once a control tree is attached and scaled: the layout is stale.
constexpr UINT kMsgDpiApplied = WM_USER + 2;
// Private message posted when the window is shown before its first frame was drawn.
constexpr UINT kMsgFirstFrame = WM_USER + 3;
// Private message posted when a screen reader asked for a control's default action.
constexpr UINT kMsgAccessibleAction = WM_USER + 4;

class CPaintManagerWnd : public IUIHost {
public:
    // Called after every frame presented: the window and the part redrawn.
    using PaintObserver = std::function<void(HWND, const UIRect& dirty)>;

    explicit CPaintManagerWnd(CPaintManagerUI& model, PaintObserver onFramePresented = {});
    ~CPaintManagerWnd() override;
    CPaintManagerWnd(const CPaintManagerWnd&) = delete;
    CPaintManagerWnd& operator=(const CPaintManagerWnd&) = delete;

    // Binds to the window: the model's host, and the process-wide message pre-translation.
    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWnd; }
    CPaintManagerUI& Model() { return m_model; }
    // The paint manager serving `hWnd`, or null (never one, or it closed).
    static CPaintManagerWnd* FromWindow(HWND hWnd);

    // --- Accessibility (ui/win/AccessibleObject.h) ---
    // Makes the window read as a dialog whose name is the text of the control `titleControl` and
    // whose description is the text of `messageControl`.
    void SetAccessibleDialog(const std::wstring& titleControl, const std::wstring& messageControl);
    const std::wstring& GetAccessibleTitle() const { return m_accTitle; }
    const std::wstring& GetAccessibleMessage() const { return m_accMessage; }
    // `control` when it is still in this window's tree with the identity `serial`, else null.
    CControlUI* FindLiveControl(const CControlUI* control, std::uint64_t serial) const;
    // Activates the control with `serial` from the message loop, if it is still there then.
    void QueueDefaultAction(std::uint64_t serial);

    // Sizes the window to the document's `size`, gives the tree to the model (which applies the
    // process DPI), resizes the window about its top-left corner by new scale / old scale unless it
    // is maximised, and posts kMsgDpiApplied.
    bool AttachDialog(CControlUI* root);

    // The window has moved to a display of `dpi`, or the display's scale changed (WM_DPICHANGED):
    // the model takes the new scale (layout, fonts and image variants follow), the window takes
    // `suggested` (screen coordinates; null keeps its place and scales its size about the
    // top-left corner), and the window and its shadow are drawn afresh.
    void ApplyDpi(int dpi, const RECT* suggested);

    // Per-pixel-alpha window (WS_EX_LAYERED, drawn with UpdateLayeredWindow).
    void SetLayered(bool layered);
    bool IsLayered() const { return m_model.IsLayered(); }
    // The drop shadow of this window (one per paint manager).
    CShadowUI* GetShadow() { return m_shadow.get(); }

    // --- Message hooks ---
    void AddPreMessageFilter(IMessageFilterUI* filter);
    void RemovePreMessageFilter(IMessageFilterUI* filter);
    // The filters' turn for a message of this window before it is dispatched.
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Painting, mouse, keyboard, focus and control timers; true when the message was consumed.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The pre-translation of every message loop (see CWindowWnd::SetMessagePreTranslator).
    static bool TranslateMessage(MSG* msg);

    // --- Painting ---
    // Redraws what is invalid now, without waiting for WM_PAINT.
    void PaintNow();
    // The surface as last presented (tests read pixels back from it).
    const Render::CCanvas& GetSurface() const { return m_surface.Canvas(); }
    // Redraws the whole client area into the surface and reports the time it took (benchmarks).
    std::chrono::nanoseconds RepaintAll();

    // --- IUIHost ---
    void Invalidate(const UIRect& rc) override;
    bool SetTimer(unsigned nativeId, unsigned elapseMs) override;
    void KillTimer(unsigned nativeId) override;
    void SetCapture() override;
    void ReleaseCapture() override;
    void SetCursor(UICursor cursor) override;
    void ShowToolTip(const std::wstring& text, const UIRect& rc) override;
    bool IsWindowEnabled() const override;
    std::uint32_t GetTickCount() const override;
    void OnAccessibleEvent(CControlUI* control, AccEvent event) override;

private:
    UIRect ClientRect() const;
    void OnPaint();
    // Lays the tree out if needed and redraws `dirty` into the surface.
    void Render(UIRect dirty);
    void Present(const UIRect& dirty, HDC paintDC);
    void TrackMouse();

    CPaintManagerUI& m_model;
    PaintObserver m_onFramePresented;
    HWND m_hWnd = nullptr;
    CDibSurface m_surface;
    CGdiTextRenderer m_text;
    UIRect m_dirty;
    bool m_mouseTracking = false;
    bool m_releasingCapture = false;
    bool m_presented = false;  // a frame has reached the screen
    std::vector<IMessageFilterUI*> m_preFilters;
    std::unique_ptr<CShadowUI> m_shadow;
    std::unique_ptr<CToolTipWnd> m_toolTip;
    std::wstring m_accTitle;
    std::wstring m_accMessage;
    std::vector<std::uint64_t> m_pendingActions;
};

}  // namespace SkinUI
