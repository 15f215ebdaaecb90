#pragma once
#include <windows.h>

#include "ui/core/AccessibleInfo.h"

// The accessible objects of a framework window (Microsoft Active Accessibility, which UI
// Automation clients read too): one object for the client area, whose children are the window's
// accessible controls (ui/core/AccessibleInfo.h) by one-based index, and one object per child.
//
// The objects hold no pointer they trust: each call finds the window's paint manager again by
// the window handle and checks the control's identity (pointer and serial) against the live
// tree, so an object of a control that is gone, or of a window that has closed, answers
// CO_E_OBJNOTCONNECTED instead of touching freed memory. A default action is posted to the
// window and runs from its message loop, never inside the reader's call.
namespace SkinUI {

class CControlUI;
class CPaintManagerWnd;

// The answer to WM_GETOBJECT: the client object for OBJID_CLIENT, 0 (the system's default
// object) for anything else or when the accessibility library cannot be loaded.
LRESULT AnswerGetObject(HWND hWnd, WPARAM wParam, LPARAM lParam);

// Raises the system event that tells readers about `event` of `control`.
void RaiseAccessibleEvent(CPaintManagerWnd& window, CControlUI* control, AccEvent event);

}  // namespace SkinUI
