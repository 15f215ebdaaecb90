#pragma once
#include "ui/base/UIGeometry.h"

namespace SkinUI {

// What a layout container reads from, and does to, each child it places.
// All values are in device pixels (already multiplied by the window's DPI scale).
class ILayoutItem {
public:
    virtual ~ILayoutItem() = default;

    virtual bool IsVisible() const = 0;
    virtual bool IsFloat() const = 0;

    // Outer margin of the child inside its parent's layout.
    virtual UIRect GetPadding() const = 0;

    // From `width`/`height` or `pos`; 0 means "no fixed size" (the child takes a share).
    virtual int GetFixedWidth() const = 0;
    virtual int GetFixedHeight() const = 0;
    // For a floating child: the offset (left, top of `pos`) from its container's top-left corner.
    virtual UIPoint GetFixedXY() const = 0;
    // For a floating child: how its edges follow the container's size (none unless overridden).
    virtual UIFloatPercent GetFloatPercent() const { return UIFloatPercent{}; }

    virtual int GetMinWidth() const = 0;   // default 0
    virtual int GetMaxWidth() const = 0;   // default 9999
    virtual int GetMinHeight() const = 0;  // default 0
    virtual int GetMaxHeight() const = 0;  // default 9999

    // The size the child asks for when offered `available`; for plain controls the fixed size
    // (0 where none is set).
    virtual UISize EstimateSize(UISize available) = 0;

    // Gives the child its final rectangle (a container then places its own children).
    virtual void SetPos(const UIRect& rc) = 0;
};

}  // namespace SkinUI
