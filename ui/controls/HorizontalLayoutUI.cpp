#include "ui/controls/HorizontalLayoutUI.h"

namespace SkinUI {

UISize CHorizontalLayoutUI::LayoutChildren(const UIRect& rc)
{
    return LayoutHorizontal(rc, GetLayoutParams(), GetLayoutItems());
}

}  // namespace SkinUI
