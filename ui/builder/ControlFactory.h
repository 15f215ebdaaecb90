#pragma once
#include <string>

// Creates the built-in controls from their markup tag: the tag names the class "C" + tag + "UI"
// (VerticalLayout -> CVerticalLayoutUI, Button -> CButtonUI), compared without regard to ASCII case.
namespace SkinUI {

class CControlUI;

// "C" + tag + "UI".
std::wstring ControlClassNameForTag(const std::wstring& tag);

// A new control of the built-in class for `tag`, or null when there is none. "VScrollBar" and
// "HScrollBar" (the names of the scroll-bar defaults) and "ScrollBar" make CScrollBarUI.
CControlUI* CreateBuiltinControl(const std::wstring& tag);

}  // namespace SkinUI
