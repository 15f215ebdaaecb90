#pragma once
#include <memory>

#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"

// A window's handle to one of its controls: the control tree owns the control, so the handle's
// deleter does nothing.
template <typename T>
using ControlRef = std::shared_ptr<T>;

// The control named `name` in `paintManager`'s tree when it is a T; empty when there is no control
// of that name or it is of another class, so a layout that changed shows up as a missing control
// instead of a call on the wrong class.
template <typename T>
ControlRef<T> BindControl(SkinUI::CPaintManagerUI& paintManager, const wchar_t* name)
{
    return ControlRef<T>(dynamic_cast<T*>(paintManager.FindControl(name)), [](T*) {});
}
