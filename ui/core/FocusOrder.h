#pragma once
#include <vector>

// The order in which Tab moves the keyboard focus: the controls that take a click and the focus
// (buttons, check boxes, links), visible and enabled, in document order; past the last one it
// wraps around to the first, and Shift+Tab goes the other way.
namespace SkinUI {

class CControlUI;

// True for a control Tab stops at now.
bool IsTabStop(const CControlUI& control);

// The tab stops of `root`'s subtree in document order.
std::vector<CControlUI*> TabStops(CControlUI* root);

// The stop after `current` (before it with `backward`), wrapping around. A `current` that is not
// a stop (none has the focus, or it was hidden) starts from the first stop (the last one
// backward). Null when there is no stop.
CControlUI* NextTabStop(const std::vector<CControlUI*>& stops, const CControlUI* current, bool backward);

}  // namespace SkinUI
