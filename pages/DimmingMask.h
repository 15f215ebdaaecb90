#pragma once
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"

// The dimming laid over the whole main window while a question box runs over it: a plain control
// floating over the root with the relative position 0,0 to 1,1, filled with black at alpha 0x33.
namespace SkinUI {
class CContainerUI;
}

constexpr SkinUI::UIColor kDimmingMaskColor = 0x33000000;

// Lays the mask over the window as the root's last child and repaints the whole window.
// Lives until it goes out of scope; then the root removes and destroys the mask.
// Does nothing when the window has no root container.
class CDimmingMask {
public:
    explicit CDimmingMask(SkinUI::CPaintManagerUI& paintManager);
    ~CDimmingMask();
    CDimmingMask(const CDimmingMask&) = delete;
    CDimmingMask& operator=(const CDimmingMask&) = delete;

    SkinUI::CControlUI* GetControl() const { return m_mask; }

private:
    SkinUI::CPaintManagerUI& m_paintManager;
    SkinUI::CContainerUI* m_root = nullptr;
    SkinUI::CControlUI* m_mask = nullptr;
};
