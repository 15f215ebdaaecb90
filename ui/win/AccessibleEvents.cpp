// The system events that tell screen readers what changed in a framework window.
#include <oleacc.h>

#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/AccessibleObject.h"
#include "ui/win/PaintManagerWnd.h"

namespace SkinUI {

void RaiseAccessibleEvent(CPaintManagerWnd& window, CControlUI* control, AccEvent event)
{
    const HWND hWnd = window.GetPaintWindow();
    if (!hWnd || !control) return;
    const LONG index = AccessibleIndexOf(AccessibleChildren(window.Model().GetRoot()), control);
    DWORD systemEvent = 0;
    LONG child = index;
    switch (event) {
    case AccEvent::Focus:
        if (::GetFocus() != hWnd || index == 0) return;
        systemEvent = EVENT_OBJECT_FOCUS;
        break;
    case AccEvent::StateChange: systemEvent = EVENT_OBJECT_STATECHANGE; break;
    case AccEvent::ValueChange: systemEvent = EVENT_OBJECT_VALUECHANGE; break;
    case AccEvent::NameChange: systemEvent = EVENT_OBJECT_NAMECHANGE; break;
    case AccEvent::Show: systemEvent = index ? EVENT_OBJECT_SHOW : EVENT_OBJECT_REORDER; break;
    case AccEvent::Hide:
        // A hidden control is no child any more: the client area's children changed.
        systemEvent = EVENT_OBJECT_REORDER;
        child = CHILDID_SELF;
        break;
    }
    if (event != AccEvent::Hide && index == 0) {
        // A container (a page) shown: its controls joined the children.
        if (event != AccEvent::Show) return;
        child = CHILDID_SELF;
    }
    ::NotifyWinEvent(systemEvent, hWnd, OBJID_CLIENT, child);
}

}  // namespace SkinUI
