#pragma once
#include <string>
#include <vector>

// What a screen reader is told about the controls of a window: each control's role, name, states,
// value and default action, and which controls are the window's accessible children. Pure rules;
// the window turns them into the system's accessibility interfaces (ui/win/AccessibleObject.h).
namespace SkinUI {

class CControlUI;

enum class AccRole {
    None,  // layout only: not shown to a reader (its children are)
    PushButton,
    CheckButton,
    Link,
    ProgressBar,
    StaticText,
    Graphic,
};

// State bits.
enum : unsigned {
    kAccFocused = 0x01,
    kAccFocusable = 0x02,
    kAccChecked = 0x04,
    kAccUnavailable = 0x08,
    kAccInvisible = 0x10,
};

// What a reader or a control itself changed, for the window to announce.
enum class AccEvent {
    Focus,        // the control took the keyboard focus
    StateChange,  // checked, enabled or disabled
    ValueChange,  // a progress bar's value
    NameChange,   // the text changed
    Show,         // shown (a page with its controls)
    Hide,
};

// The visible controls of `root`'s subtree that carry a role, in document order (the window's
// accessible children: containers only arrange them, hidden pages are left out).
std::vector<CControlUI*> AccessibleChildren(CControlUI* root);

// The one-based position of `control` in `children`, 0 when it is not there.
int AccessibleIndexOf(const std::vector<CControlUI*>& children, const CControlUI* control);

}  // namespace SkinUI
