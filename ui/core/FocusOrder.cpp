#include "ui/core/FocusOrder.h"

#include <algorithm>

#include "ui/core/ControlUI.h"

namespace SkinUI {

bool IsTabStop(const CControlUI& control)
{
    return control.WantsFocus() && control.IsVisible() && control.IsEnabled() && control.IsKeyboardEnabled() &&
           control.IsMouseEnabled();
}

std::vector<CControlUI*> TabStops(CControlUI* root)
{
    std::vector<CControlUI*> stops;
    if (!root) return stops;
    root->VisitSubtree([&](CControlUI* control) {
        if (IsTabStop(*control)) stops.push_back(control);
    });
    return stops;
}

CControlUI* NextTabStop(const std::vector<CControlUI*>& stops, const CControlUI* current, bool backward)
{
    if (stops.empty()) return nullptr;
    const auto it = std::find(stops.begin(), stops.end(), current);
    const long long n = static_cast<long long>(stops.size());
    if (it == stops.end()) return backward ? stops.back() : stops.front();
    const long long i = it - stops.begin();
    return stops[static_cast<std::size_t>((i + (backward ? n - 1 : 1)) % n)];
}

}  // namespace SkinUI
