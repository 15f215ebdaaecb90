#pragma once
#include <map>
#include <string>

#include "ui/core/ControlUI.h"

// The scroll bar of a container: two arrow buttons, a track and a thumb whose length shows how
// much of the content is visible. Its look comes from the window's Default lists "VScrollBar" and
// "HScrollBar" (images such as thumbnormalimage, button1hotimage, railnormalimage, bknormalimage).
namespace SkinUI {

class CContainerUI;

// The parts of a bar of length L and thickness T (device pixels): the buttons are T long, the
// thumb is track * page / (page + range) long but never shorter than T, and its offset in the track
// is pos * (track - thumb) / range. Without room the thumb is empty.
struct TScrollBarParts {
    UIRect button1;  // up or left
    UIRect button2;  // down or right
    UIRect track;    // between the buttons
    UIRect thumb;
};
TScrollBarParts ComputeScrollBarParts(const UIRect& bar, bool horizontal, int range, int pos, bool showButton1,
                                      bool showButton2);

class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();

    std::wstring GetClass() const override { return L"ScrollBarUI"; }

    bool IsHorizontal() const { return m_horizontal; }
    // A horizontal bar has a fixed height of 16, a vertical one a fixed width of 16, until the
    // markup says otherwise.
    void SetHorizontal(bool horizontal);
    CContainerUI* GetOwner() const { return m_owner; }
    void SetOwner(CContainerUI* owner) { m_owner = owner; }

    // Range and position in device pixels of content.
    int GetScrollRange() const { return m_range; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_pos; }
    // Clamped to 0..range; unless `fromOwner`, tells the owner, which moves its children.
    void SetScrollPos(int pos, bool fromOwner = false);
    int GetLineSize() const { return Scale(m_lineSize); }
    bool IsShowButton1() const { return m_showButton1; }
    bool IsShowButton2() const { return m_showButton2; }

    TScrollBarParts GetParts() const;
    // The image attribute `attributeName` ("thumbnormalimage", ...), or null when it is not set.
    const CImageSlot* GetPartImage(const std::wstring& attributeName) const;
    bool IsThumbHot() const { return m_thumbHot; }
    bool IsDragging() const { return m_dragging; }

    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }
    void DoEvent(TEventUI& event) override;

private:
    CContainerUI* m_owner = nullptr;
    bool m_horizontal = false;
    int m_range = 0;
    int m_pos = 0;
    int m_lineSize = 8;
    bool m_showButton1 = true;
    bool m_showButton2 = true;
    std::map<std::wstring, CImageSlot> m_images;  // key: lower-case attribute name

    bool m_thumbHot = false;
    bool m_dragging = false;
    UIPoint m_dragStart;
    int m_dragStartPos = 0;
};

}  // namespace SkinUI
