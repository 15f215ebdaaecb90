#pragma once
#include "ui/base/UIGeometry.h"

namespace SkinUI {

// Where a window of `size` goes when centred on `reference`, moved by `offset`. When `bounds` is
// not empty the window is kept inside it (left/top edges win when it does not fit).
UIPoint CenterWindowPosition(const UIRect& reference, const UIRect& bounds, UISize size, UIPoint offset);

// The rectangle a window is centred on: the given bounds when not empty; else, for a window with a
// visible, not minimised owner, the owner's left and right edges with the primary monitor's top and
// bottom; else the primary monitor.
UIRect CenterReference(const UIRect& bounds, bool hasUsableOwner, const UIRect& ownerRect,
                       const UIRect& primaryMonitor);

// MulDiv as Windows does it: value * numerator / denominator rounded to nearest (halves away from
// zero); -1 when the denominator is 0.
int MulDivRound(int value, int numerator, int denominator);

// The DPI scale in percent: 96 DPI is 100, 120 is 125, 144 is 150.
inline int DpiToScale(int dpi) { return MulDivRound(dpi, 100, 96); }

}  // namespace SkinUI
