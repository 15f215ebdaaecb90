#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/base/UIGeometry.h"
#include "ui/core/ControlTimers.h"
#include "ui/core/DPIScale.h"
#include "ui/core/NotifyUI.h"
#include "ui/core/UIEvent.h"
#include "ui/core/UIHost.h"
#include "ui/core/UIResourceTable.h"
#include "ui/core/WindowSettings.h"
#include "ui/image/ImageSlot.h"

// The model side of one window: it owns the control tree, knows the controls by name, keeps the
// window's fonts, defaults, styles and images, its display scale and settings, sends notifications
// to the window's notifiers, routes mouse, keyboard and timer input to controls, and tracks focus,
// the hot control and the pressed control.
//
// The members are implemented in three files: the tree, scale, resources and notifications
// (PaintManagerUI.cpp), input, focus and hover routing (PaintManagerInput.cpp), and the skin
// facade (PaintManagerSkin.cpp); control timers are kept by CControlTimers.
//
// Everything that needs the real window (repainting, native timers, mouse capture, the cursor,
// tooltips, the clock) goes through IUIHost, which the window implements; the window in turn calls
// the input entry points (OnMouseMove, OnLButtonDown, OnKeyDown, OnTimer, ...) from its messages.
namespace SkinUI {

class CControlUI;

// A font ready to be created: the face and flags as declared, the size as a GDI character height
// (negative: the height of the characters without internal leading) at the window's scale.
struct TFontInfo {
    std::wstring face;  // empty: the face of the system's default GUI font
    int height = 0;     // -(declared size * scale); 0: the default GUI font's height
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

class CPaintManagerUI : public IImageScaleSource {
public:
    // How the display-scale variant of an image is found: the file to draw for `file` at
    // `scalePercent`, and that file's own scale in `imageScale`.
    using ImageVariantResolver = std::function<std::wstring(const std::wstring& file, const std::wstring& resType,
                                                            UIColor mask, int scalePercent, double& imageScale)>;

    // Without a resolver the variants are looked up in the skin's image cache.
    explicit CPaintManagerUI(ImageVariantResolver resolveVariant = {});
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // --- The window ---
    void SetHost(IUIHost* host) { m_host = host; }
    IUIHost* GetHost() const { return m_host; }
    bool IsWindowEnabled() const;

    // --- The control tree ---
    // Takes ownership of `root` (the previous tree is destroyed), attaches every control to this
    // window, re-applies the process DPI and schedules the first layout. Returns false for null.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_root; }
    // Registers a control that just joined this window: its name and its option group.
    void InitControl(CControlUI* control);
    // Forgets a control that leaves the window or is destroyed: its name, group membership,
    // timers, and any focus, hot or pressed state it held.
    void ReapObjects(CControlUI* control);
    // Destroys a control removed from the tree; during event or notification dispatch the
    // deletion waits until the dispatch is over, so the control whose handler removed it (or
    // removed itself) is never deleted under its own feet.
    void ReleaseControl(CControlUI* control);
    // The control registered under `name` (exact, case-sensitive; the first one registered when
    // a name repeats), or null.
    CControlUI* FindControl(const std::wstring& name) const;
    // The control under `pt`, or null.
    CControlUI* FindControlAt(UIPoint pt) const;
    // Called by CControlUI::SetName for a control of this window.
    void OnControlRenamed(CControlUI* control, const std::wstring& oldName);
    // Called when a control is hidden: focus, hot and pressed state inside it are dropped.
    void OnControlHidden(CControlUI* control);
    // Called when a control is disabled: the same, except that it keeps nothing pressed.
    void OnControlDisabled(CControlUI* control);

    // --- Option groups ---
    void AddOptionGroup(const std::wstring& group, CControlUI* option);
    void RemoveOptionGroup(const std::wstring& group, CControlUI* option);
    // The options of `group` in the order they joined; empty when the group is unknown.
    std::vector<CControlUI*> GetOptionGroup(const std::wstring& group) const;

    // --- Layout and painting ---
    void NeedUpdate() { m_updateNeeded = true; }
    bool IsUpdateNeeded() const { return m_updateNeeded; }
    // Lays the tree out in `client` when something changed or the client area is new, and sends
    // "windowinit" once, after the first layout. The window calls it before painting.
    void UpdateLayout(const UIRect& client);
    bool IsFirstLayoutDone() const { return m_initSent; }
    void Invalidate(const UIRect& rc);

    // --- Display scale ---
    // The process DPI (set once at start-up from the screen) and the global scale factor
    // MulDiv(dpi, 100, 96) / 100 derived from it.
    static void SetProcessDpi(int dpi);
    static int GetProcessDpi();
    static double GetGlobalScale();
    // This window's scale in percent; a new manager starts at the process DPI's scale.
    int GetScale() const override { return m_dpi.GetScale(); }
    const CDPIScale& GetDPIObj() const { return m_dpi; }
    // Sets the window's scale; scaled assets are rebuilt and the tree laid out again.
    void SetScale(int scalePercent);
    // Sets the scale from the process DPI; returns the previous scale so that the window can
    // resize itself by new / old.
    int ApplyProcessDpi();
    // The one place document units become device pixels (see CDPIScale).
    int ScaleValue(int value) const { return m_dpi.Scale(value); }
    UISize ScaleSize(const UISize& size) const { return m_dpi.Scale(size); }
    UIPoint ScalePoint(const UIPoint& point) const { return m_dpi.Scale(point); }
    UIRect ScaleRect(const UIRect& rc) const { return m_dpi.Scale(rc); }
    UIRect ScaleMargins(const UIRect& margins) const { return m_dpi.ScaleMargins(margins); }
    int UnscaleValue(int value) const { return m_dpi.Unscale(value); }
    UIRect UnscaleRect(const UIRect& rc) const { return m_dpi.Unscale(rc); }

    // --- Window settings (from the Window element) ---
    const TWindowSettings& GetWindowSettings() const { return m_settings; }
    TWindowSettings& GetWindowSettings() { return m_settings; }
    bool SetWindowAttribute(const std::wstring& name, const std::wstring& value);
    UISize GetInitSize() const { return ScaleSize(m_settings.initSize); }        // device pixels
    UIRect GetCaptionRect() const { return ScaleMargins(m_settings.caption); }   // device pixels
    UISize GetRoundCorner() const { return ScaleSize(m_settings.roundCorner); }  // device pixels
    UIRect GetSizeBox() const { return ScaleMargins(m_settings.sizeBox); }       // device pixels
    UISize GetMinInfo() const { return ScaleSize(m_settings.minInfo); }          // device pixels
    UISize GetMaxInfo() const { return ScaleSize(m_settings.maxInfo); }          // device pixels
    bool IsLayered() const { return m_settings.layered; }
    void SetLayered(bool layered) { m_settings.layered = layered; }

    // --- Fonts, defaults, styles, images ---
    void AddFont(int id, const TFontDecl& font, bool shared = false);
    void SetDefaultFont(const TFontDecl& font, bool shared = false);
    // Font `id` of this window, else of the shared table, else the default font.
    TFontInfo GetFontInfo(int id) const;
    TFontInfo GetDefaultFontInfo() const;
    void AddDefaultAttributeList(const std::wstring& className, const std::wstring& list, bool shared = false);
    // This window's list for the class, else the shared one, else "".
    std::wstring GetDefaultAttributeList(const std::wstring& className) const;
    void AddStyle(const std::wstring& name, const std::wstring& list, bool shared = false);
    std::wstring GetStyle(const std::wstring& name) const;
    // Declares and preloads an image; false when it cannot be loaded (it stays declared).
    bool AddImage(const TImageDecl& image, bool shared = false);
    const TImageDecl* GetImageDecl(const std::wstring& name) const;
    void AddFontFile(const std::wstring& path);
    const CUIResourceTable& GetResources() const { return m_resources; }
    static CUIResourceTable& GetSharedResources();
    // Forgets every shared declaration (tests; the end of the process).
    static void RemoveAllShared();

    // The name of the image file to draw for `file` at this window's scale (the sharpest variant
    // that exists) and that image's own scale.
    std::wstring ResolveImageVariant(const std::wstring& file, const std::wstring& resType, UIColor mask,
                                     double& imageScale) const override;

    // --- Notifications ---
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Completes `msg` (virtual window of the sender, time, mouse position unless set) and hands
    // it to every notifier in the order they were added.
    void SendNotify(TNotifyUI& msg);
    void SendNotify(CControlUI* sender, const std::wstring& type, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    // --- Timers ---
    // A timer of `control` with its own id; setting an existing one again restarts it.
    bool SetTimer(CControlUI* control, unsigned timerId, unsigned elapseMs);
    bool KillTimer(CControlUI* control, unsigned timerId);
    void KillTimers(CControlUI* control);
    void RemoveAllTimers();
    // A native timer of the window fired. True when it belonged to a control (which then sends
    // its "timer" notification).
    bool OnTimer(unsigned nativeId);

    // --- Focus and input state ---
    CControlUI* GetFocus() const { return m_focus; }
    // Moves the keyboard focus; "killfocus" goes to the old control, then "setfocus" to the new.
    // A control that is not visible, not enabled or not of this window does not take it.
    void SetFocus(CControlUI* control);
    // Gives the focus to the first tab stop inside `subtree` (ui/core/FocusOrder.h); false when
    // it has none.
    bool FocusFirstTabStop(CControlUI* subtree);
    // Tab: the focus moves to the next tab stop of the window (the previous one `backward`).
    bool MoveFocus(bool backward);
    // Whether the focused control shows its focus ring and focused look. They appear once the
    // keyboard is used in the window and go again with a mouse press, so a click never leaves a
    // ring behind.
    bool ShowsFocusCues() const { return m_focusCues; }
    void SetFocusCues(bool show);
    // Passes an accessibility event of one of this window's controls on to the window.
    void NotifyAccessible(CControlUI* control, AccEvent event);
    CControlUI* GetHotControl() const { return m_hover; }
    CControlUI* GetPressedControl() const { return m_pressed; }
    UIPoint GetMousePos() const { return m_mousePos; }

    // --- Input entry points (client coordinates, device pixels) ---
    void OnMouseMove(UIPoint pt);
    void OnMouseLeave();  // the mouse left the window
    void OnLButtonDown(UIPoint pt);
    void OnLButtonDblClick(UIPoint pt);
    void OnLButtonUp(UIPoint pt);
    void OnCaptureLost();           // the window lost the mouse capture
    void OnMouseHover(UIPoint pt);  // the mouse rested: show the tooltip of the control there
    bool OnMouseWheel(UIPoint pt, int delta);
    bool OnSetCursor(UIPoint pt);  // asks the host for the cursor of the control at pt
    // Tab (with `shift`: Shift+Tab) moves the focus; any other key goes to the focused control
    // (false when none has the focus). Either shows the focus cues.
    bool OnKeyDown(unsigned virtualKey, bool shift = false);
    bool OnChar(unsigned character);
    void OnWindowSetFocus();
    void OnWindowKillFocus();  // a press in progress is cancelled

    // --- Skin resources (process-wide; forwarded to CSkinResources) ---
    static void SetResourceMode(int mode);
    static int GetResourceMode();
    static void SetResourceFolder(const std::wstring& path);
    static std::wstring GetResourceFolder();
    static std::wstring GetResourceZipName();
    static bool IsResourceZipCached();
    static bool OpenResourceArchive(const void* buffer, std::size_t length,
                                    const std::string& password = std::string());
    static bool OpenResourceArchiveFile(const std::wstring& name, bool cached);

private:
    // Runs an event or a notification; controls released meanwhile are deleted when the
    // outermost dispatch ends.
    void Dispatch(CControlUI* control, TEventUI& event);
    void BeginDispatch() { ++m_dispatchDepth; }
    void EndDispatch();
    void SendEvent(CControlUI* control, UIEventType type, UIPoint pt, std::uintptr_t wParam = 0, unsigned key = 0);
    void PressAt(UIPoint pt, UIEventType type);
    void UpdateHover(UIPoint pt);
    // Drops `control`'s entry for `name`, handing the name to another control that carries it.
    void ForgetName(CControlUI* control, const std::wstring& name);
    // True for a control released during the current dispatch (or inside one).
    bool IsPendingRelease(const CControlUI* control) const;
    std::uint32_t Now() const;
    // Repaints the area of `control`'s focus ring.
    void InvalidateFocusRing(const CControlUI* control);

    ImageVariantResolver m_resolveVariant;
    IUIHost* m_host = nullptr;
    CControlUI* m_root = nullptr;
    bool m_destroying = false;
    std::unordered_map<std::wstring, CControlUI*> m_names;
    std::map<std::wstring, std::vector<CControlUI*>> m_optionGroups;

    bool m_updateNeeded = true;
    bool m_initSent = false;
    UIRect m_layoutRect;
    bool m_hasLayoutRect = false;

    CDPIScale m_dpi;
    TWindowSettings m_settings;
    CUIResourceTable m_resources;

    std::vector<INotifyUI*> m_notifiers;
    CControlTimers m_timers;

    CControlUI* m_focus = nullptr;
    bool m_focusCues = false;
    CControlUI* m_hover = nullptr;
    CControlUI* m_pressed = nullptr;
    UIPoint m_mousePos;

    int m_dispatchDepth = 0;
    std::vector<CControlUI*> m_delayedCleanup;
};

}  // namespace SkinUI
