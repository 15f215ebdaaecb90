#pragma once
#include "ui/controls/ContainerUI.h"

namespace SkinUI {

// Stacks its children top to bottom; children without a fixed height share the free height.
class CVerticalLayoutUI : public CContainerUI {
public:
    std::wstring GetClass() const override { return L"VerticalLayoutUI"; }

protected:
    UISize LayoutChildren(const UIRect& rc) override;
};

}  // namespace SkinUI
