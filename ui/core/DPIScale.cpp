#include "ui/core/DPIScale.h"

namespace SkinUI {

int CDPIScale::ScaleFromDpi(int dpi)
{
    if (dpi <= 0) dpi = 96;
    return MulDivRound(dpi, 100, 96);
}

UIRect CDPIScale::Scale(const UIRect& rc) const
{
    UIRect out;
    out.left = Scale(rc.left);
    out.top = Scale(rc.top);
    out.right = out.left + Scale(rc.right - rc.left);
    out.bottom = out.top + Scale(rc.bottom - rc.top);
    return out;
}

UIRect CDPIScale::ScaleMargins(const UIRect& margins) const
{
    return UIRect{Scale(margins.left), Scale(margins.top), Scale(margins.right), Scale(margins.bottom)};
}

UIRect CDPIScale::Unscale(const UIRect& rc) const
{
    return UIRect{Unscale(rc.left), Unscale(rc.top), Unscale(rc.right), Unscale(rc.bottom)};
}

}  // namespace SkinUI
