#pragma once
#include "ui/controls/ContainerUI.h"

namespace SkinUI {

// Places its children side by side, left to right; children without a fixed width share the
// free width, and each child fills the row's height unless it has a fixed or maximum height.
class CHorizontalLayoutUI : public CContainerUI {
public:
    std::wstring GetClass() const override { return L"HorizontalLayoutUI"; }

protected:
    UISize LayoutChildren(const UIRect& rc) override;
};

}  // namespace SkinUI
