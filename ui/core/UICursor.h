#pragma once
#include <string>

// The mouse cursors a control can ask for with its `cursor` attribute.
namespace SkinUI {

enum class UICursor {
    Arrow,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    Size,
    Icon,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    No,
    Hand,
};

// "arrow", "ibeam", "wait", "cross", "uparrow", "size", "icon", "sizenwse", "sizenesw", "sizewe",
// "sizens", "sizeall", "no", "hand" (any case). Anything else gives the arrow.
UICursor ParseCursor(const std::wstring& name);

}  // namespace SkinUI
