#pragma once
#include <memory>
#include <string>

#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"

namespace SkinUI {

// A window's handle to one of its controls: the control tree owns the control, so the handle's
// deleter does nothing.
template <typename T>
using ControlRef = std::shared_ptr<T>;

// The control named `name` in `paintManager`'s tree when it is a T; empty when there is no control
// of that name or it is of another class, so a layout that changed shows up as a missing control
// instead of a call on the wrong class. The one way a window or a control finds another control
// by name.
template <typename T>
ControlRef<T> BindControl(const CPaintManagerUI& paintManager, const std::wstring& name)
{
    return ControlRef<T>(dynamic_cast<T*>(paintManager.FindControl(name)), [](T*) {});
}

}  // namespace SkinUI
