#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/base/UIGeometry.h"

namespace SkinUI {

// What a test or a benchmark watches or replaces in one window, handed to the window's
// constructor. An empty member leaves the window's own behaviour.
struct TWindowHooks {
    // Called after every frame the window presents: the window and the part redrawn.
    std::function<void(HWND, const UIRect& dirty)> onFramePresented;
    // Called instead of the box and the exit of the process when the window's layout document
    // cannot be built, with the document's name; the creation fails.
    std::function<void(const std::wstring& layoutFile)> onLayoutFailure;
};

}  // namespace SkinUI
