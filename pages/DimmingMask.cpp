#include "pages/DimmingMask.h"

#include "ui/controls/ContainerUI.h"

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::UIFloatPercent;
using SkinUI::UIPoint;

CDimmingMask::CDimmingMask(SkinUI::CPaintManagerUI& paintManager) : m_paintManager(paintManager)
{
    m_root = dynamic_cast<CContainerUI*>(paintManager.GetRoot());
    if (!m_root) return;

    m_mask = new CControlUI();
    m_mask->SetFloat(true);
    m_mask->SetFloatPercent(UIFloatPercent{0.0, 0.0, 1.0, 1.0});
    m_mask->SetBkColor(kDimmingMaskColor);
    // The root's own fixed position, taken back to document units (the mask's position is
    // multiplied by the scale again when it is laid out). The root of a window has none, so the
    // relative position alone makes the mask cover the root exactly.
    const UIPoint xy = m_root->GetFixedXY();
    const int left = paintManager.UnscaleValue(xy.x);
    const int top = paintManager.UnscaleValue(xy.y);
    const int right = paintManager.UnscaleValue(xy.x + m_root->GetFixedWidth());
    const int bottom = paintManager.UnscaleValue(xy.y + m_root->GetFixedHeight());
    m_mask->SetFixedXY(UIPoint{left, top});
    m_mask->SetFixedWidth(right - left);
    m_mask->SetFixedHeight(bottom - top);

    m_root->AddAt(m_mask, m_root->GetCount());
    paintManager.Invalidate(m_root->GetPos());
}

CDimmingMask::~CDimmingMask()
{
    if (!m_root || !m_mask) return;
    m_root->Remove(m_mask);
    m_paintManager.Invalidate(m_root->GetPos());
}
