#include "ui/core/AccessibleInfo.h"

#include <algorithm>

#include "ui/core/ControlUI.h"

namespace SkinUI {

std::vector<CControlUI*> AccessibleChildren(CControlUI* root)
{
    std::vector<CControlUI*> children;
    if (!root) return children;
    root->VisitSubtree([&](CControlUI* control) {
        if (control->IsVisible() && control->GetAccessibleRole() != AccRole::None) children.push_back(control);
    });
    return children;
}

int AccessibleIndexOf(const std::vector<CControlUI*>& children, const CControlUI* control)
{
    const auto it = std::find(children.begin(), children.end(), control);
    return it == children.end() ? 0 : static_cast<int>(it - children.begin()) + 1;
}

}  // namespace SkinUI
