#pragma once
#include <vector>

#include "ui/base/UIGeometry.h"
#include "ui/layout/LayoutItem.h"

// Placement of a container's children: pure arithmetic over ILayoutItem, shared by the vertical,
// horizontal and tab layouts. All values are device pixels; integer arithmetic, divisions truncate.
// Sums are computed in 64 bits and every coordinate handed out is saturated to the int range, so
// absurd sizes give absurd rectangles but never overflow.
namespace SkinUI {

// Horizontal alignment of the children of a container (`childalign`).
enum ChildAlign { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
// Vertical alignment of the children of a container (`childvalign`).
enum ChildVAlign { kVAlignTop = 0, kVAlignCenter = 4, kVAlignBottom = 8 };

struct LayoutParams {
    UIRect inset;          // inner margin of the container
    int childPadding = 0;  // gap between two consecutive stacked children
    int childAlign = kAlignLeft;
    int childVAlign = kVAlignTop;
};

// Narrows the size offered to a child: a fixed length wins over the maximum, and neither may
// exceed what is offered. Applied before every size estimate.
UISize LimitSize(const ILayoutItem& child, UISize available);

// Raises a length to the child's minimum, then lowers it to its maximum (the maximum wins when
// the two contradict each other).
int ClampWidth(const ILayoutItem& child, int width);
int ClampHeight(const ILayoutItem& child, int height);

// Places a floating child by its `pos`. The offset is taken from the top-left corner of the
// container's item rectangle (the rectangle the container was given, before its inset), as the
// markup author reads "pos relative to the parent": a float at 0,0 sits on the parent's corner even
// when the parent has an inset. A relative float position additionally moves each edge by its
// fraction of the container's size.
void PlaceFloat(ILayoutItem& child, const UIRect& containerItemRect);

// Stacks the visible non-floating children top to bottom inside itemRect minus the inset, sharing
// the free height among children that estimate a height of 0; floating children are placed by
// their `pos`. Returns the size the children need (width of the widest, sum of the heights).
UISize LayoutVertical(const UIRect& itemRect, const LayoutParams& params, const std::vector<ILayoutItem*>& children);

// The same with children side by side, left to right; a child's height is its maximum height
// (limited by the row) rather than its estimate. Returns the needed size (sum of the widths,
// height of the tallest estimate).
UISize LayoutHorizontal(const UIRect& itemRect, const LayoutParams& params, const std::vector<ILayoutItem*>& children);

// Places the selected child in itemRect minus the inset and the floating visible children by their
// `pos`; every other child keeps its rectangle. An index outside the children selects none.
void LayoutTab(const UIRect& itemRect, const UIRect& inset, const std::vector<ILayoutItem*>& children,
               int selectedIndex);

}  // namespace SkinUI
