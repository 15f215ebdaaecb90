#include "ui/controls/VerticalLayoutUI.h"

namespace SkinUI {

UISize CVerticalLayoutUI::LayoutChildren(const UIRect& rc)
{
    return LayoutVertical(rc, GetLayoutParams(), GetLayoutItems());
}

}  // namespace SkinUI
