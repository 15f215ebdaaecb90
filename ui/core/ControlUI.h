#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "ui/base/UIGeometry.h"
#include "ui/core/AccessibleInfo.h"
#include "ui/core/UICursor.h"
#include "ui/core/UIEvent.h"
#include "ui/image/ImageSlot.h"
#include "ui/layout/LayoutItem.h"

// The base of every control of a layout: name, geometry, visibility, colours, background and
// border, text, tooltip, cursor and the routing name of its subtree.
//
// Units: setters and attributes take document units (unscaled pixels, as the markup writes them);
// the getters that the layout and the drawing use (GetPos, GetFixedWidth, GetPadding, ...) answer in
// device pixels, multiplied by the display scale of the control's window. A control without a
// window counts as 100 %. Keeping the document values means a change of the window's scale needs no
// re-parsing of the tree.
namespace SkinUI {

class CAttributeTable;
class CPaintManagerUI;

class CControlUI : public ILayoutItem {
public:
    CControlUI();
    ~CControlUI() override;
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The class name without the leading "C" ("ControlUI", "ButtonUI", ...).
    virtual std::wstring GetClass() const { return L"ControlUI"; }

    // --- Identity and place in the tree ---
    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name);
    CPaintManagerUI* GetManager() const { return m_manager; }
    CControlUI* GetParent() const { return m_parent; }
    // Attaches the control (and, for containers, its subtree) to a window. With `init` the window
    // learns the control's name and its option group.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    // Calls `visit` for this control and every control below it.
    virtual void VisitSubtree(const std::function<void(CControlUI*)>& visit);
    // True when `other` is this control or lies below it.
    bool IsAncestorOf(const CControlUI* other) const;
    // The option group the control belongs to ("" for none): the window keeps each group's
    // members, of which at most one is selected.
    virtual std::wstring GetOptionGroupName() const { return std::wstring(); }

    // --- Text ---
    const std::wstring& GetText() const { return m_text; }
    virtual void SetText(const std::wstring& text);
    const std::wstring& GetToolTip() const { return m_toolTip; }
    void SetToolTip(const std::wstring& text) { m_toolTip = text; }
    const std::wstring& GetUserData() const { return m_userData; }
    void SetUserData(const std::wstring& data) { m_userData = data; }
    std::uintptr_t GetTag() const { return m_tag; }
    void SetTag(std::uintptr_t tag) { m_tag = tag; }

    // --- Geometry (ILayoutItem answers in device pixels) ---
    const UIRect& GetPos() const { return m_rcItem; }
    void SetPos(const UIRect& rc) override;
    bool IsFloat() const override { return m_float; }
    void SetFloat(bool floating);
    UIFloatPercent GetFloatPercent() const override { return m_floatPercent; }
    void SetFloatPercent(const UIFloatPercent& percent);
    UIPoint GetFixedXY() const override;
    void SetFixedXY(UIPoint xy);
    int GetFixedWidth() const override;
    void SetFixedWidth(int cx);
    int GetFixedHeight() const override;
    void SetFixedHeight(int cy);
    int GetMinWidth() const override;
    void SetMinWidth(int cx);
    int GetMaxWidth() const override;
    void SetMaxWidth(int cx);
    int GetMinHeight() const override;
    void SetMinHeight(int cy);
    int GetMaxHeight() const override;
    void SetMaxHeight(int cy);
    UIRect GetPadding() const override;
    void SetPadding(const UIRect& padding);
    // The document values (for code that computes new positions from old ones).
    UIPoint GetFixedXYUnscaled() const { return m_fixedXY; }
    UISize GetFixedSizeUnscaled() const { return m_fixedSize; }
    UIRect GetPaddingUnscaled() const { return m_padding; }
    UISize EstimateSize(UISize available) override;

    // --- State ---
    // Visible when the control itself is shown and no ancestor is hidden.
    bool IsVisible() const override { return m_visible && m_internVisible; }
    bool IsOwnVisible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    // Visibility inherited from the ancestors; containers pass it on to their children.
    virtual void SetInternVisible(bool visible);
    bool IsEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    bool IsMouseEnabled() const { return m_mouseEnabled; }
    void SetMouseEnabled(bool enabled) { m_mouseEnabled = enabled; }
    bool IsKeyboardEnabled() const { return m_keyboardEnabled; }
    void SetKeyboardEnabled(bool enabled) { m_keyboardEnabled = enabled; }
    bool IsFocused() const { return m_focused; }
    // Asks the window to give this control the keyboard focus.
    void SetFocus();
    // Whether a press on the control moves the keyboard focus to it (buttons and options do).
    virtual bool WantsFocus() const { return false; }

    // --- Look ---
    UIColor GetBkColor() const { return m_bkColor; }
    void SetBkColor(UIColor color);
    UIColor GetBkColor2() const { return m_bkColor2; }
    void SetBkColor2(UIColor color);
    UIColor GetBkColor3() const { return m_bkColor3; }
    void SetBkColor3(UIColor color);
    UIColor GetForeColor() const { return m_foreColor; }
    void SetForeColor(UIColor color);
    UIColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(UIColor color);
    UIColor GetFocusBorderColor() const { return m_focusBorderColor; }
    void SetFocusBorderColor(UIColor color);
    // Border widths of the four sides, in device pixels.
    UIRect GetBorderSize() const;
    void SetBorderSize(int size);
    void SetBorderSize(const UIRect& sides);
    int GetBorderStyle() const { return m_borderStyle; }
    // Corner ellipse of background and border, in device pixels.
    UISize GetBorderRound() const;
    void SetBorderRound(UISize round);
    const CImageSlot& GetBkImageSlot() const { return m_bkImage; }
    const std::wstring& GetBkImage() const { return m_bkImage.GetValue(); }
    const TDrawInfo& GetBkImageInfo() const;
    void SetBkImage(const std::wstring& image);
    const CImageSlot& GetForeImageSlot() const { return m_foreImage; }
    const std::wstring& GetForeImage() const { return m_foreImage.GetValue(); }
    const TDrawInfo& GetForeImageInfo() const;
    void SetForeImage(const std::wstring& image);
    UICursor GetCursor() const { return m_cursor; }
    void SetCursor(UICursor cursor) { m_cursor = cursor; }
    bool IsColorHSL() const { return m_colorHSL; }

    // --- Accessibility (what a screen reader is told, ui/core/AccessibleInfo.h) ---
    // The name given by the document for a control without text (an icon button).
    const std::wstring& GetAccName() const { return m_accName; }
    void SetAccName(const std::wstring& name);
    // An identity that no other control of the process ever gets, not even after this one is gone:
    // what an accessible object of a control checks before it touches the control again.
    std::uint64_t GetSerial() const { return m_serial; }
    // A plain control is a graphic when the document names its background image, else nothing.
    virtual AccRole GetAccessibleRole() const;
    // The accname, else the text.
    std::wstring GetAccessibleName() const;
    virtual unsigned GetAccessibleStates() const;
    virtual std::wstring GetAccessibleValue() const { return std::wstring(); }
    // The verb of the control's default action ("" when it has none).
    virtual std::wstring GetAccessibleDefaultAction() const { return std::wstring(); }

    // --- Notification routing ---
    // The virtualwnd of this control or of its nearest ancestor that has one ("" when none has).
    std::wstring GetVirtualWnd() const;
    const std::wstring& GetOwnVirtualWnd() const { return m_virtualWnd; }
    void SetVirtualWnd(const std::wstring& name) { m_virtualWnd = name; }

    // --- Markup ---
    // Applies one markup attribute through the control's attribute table; names ignore ASCII
    // case; unknown names are ignored.
    void SetAttribute(const std::wstring& name, const std::wstring& value);
    // Applies name="value" pairs (the form of Default and Style values) in order.
    void ApplyAttributeList(const std::wstring& list);
    // The attributes of this class: each control class with attributes of its own has a static
    // Attributes() whose table names its base class's, and returns it here.
    static const CAttributeTable& Attributes();
    virtual const CAttributeTable& GetAttributeTable() const { return Attributes(); }

    // --- Layout and painting requests ---
    bool IsUpdateNeeded() const { return m_updateNeeded; }
    // This control's layout is stale: the window lays the tree out again before the next paint.
    void NeedUpdate();
    // The parent's layout is stale too (this control's size or visibility changed).
    void NeedParentUpdate();
    // Asks the window to repaint this control's rectangle.
    void Invalidate();

    // --- Timers ---
    bool SetTimer(unsigned timerId, unsigned elapseMs);
    void KillTimer(unsigned timerId);

    // --- Input ---
    // Delivers an event (the paint manager calls this); handled by DoEvent.
    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);
    // The control's action (a button's click). False when the control cannot act now.
    virtual bool Activate();
    // The deepest visible control at `pt` that takes mouse input, or null.
    virtual CControlUI* FindControlAt(UIPoint pt);
    // The control named `name` within this subtree, or null.
    virtual CControlUI* FindSubControl(const std::wstring& name);

protected:
    // Document units multiplied by the window's scale.
    int Scale(int value) const;
    UIRect ScaleMargins(const UIRect& margins) const;

    CPaintManagerUI* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    UIRect m_rcItem;
    bool m_updateNeeded = true;

private:
    std::wstring m_name;
    std::wstring m_text;
    std::wstring m_toolTip;
    std::wstring m_userData;
    std::wstring m_virtualWnd;
    std::wstring m_accName;
    std::uintptr_t m_tag = 0;
    std::uint64_t m_serial;

    bool m_float = false;
    UIFloatPercent m_floatPercent;
    UIPoint m_fixedXY;
    UISize m_fixedSize;
    UISize m_minSize{0, 0};
    UISize m_maxSize{9999, 9999};
    UIRect m_padding;

    bool m_visible = true;
    bool m_internVisible = true;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_keyboardEnabled = true;
    bool m_focused = false;
    bool m_colorHSL = false;

    UIColor m_bkColor = 0;
    UIColor m_bkColor2 = 0;
    UIColor m_bkColor3 = 0;
    UIColor m_foreColor = 0;
    UIColor m_borderColor = 0;
    UIColor m_focusBorderColor = 0;
    UIRect m_borderSize;
    int m_borderStyle = 0;
    UISize m_borderRound;
    CImageSlot m_bkImage;
    CImageSlot m_foreImage;
    UICursor m_cursor = UICursor::Arrow;
};

}  // namespace SkinUI
