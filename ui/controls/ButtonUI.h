#pragma once
#include <optional>

#include "ui/controls/ButtonLook.h"
#include "ui/controls/LabelUI.h"

// A push button: images and text colours per state, and the "click" notification.
//
// Input: a press inside the button (left button down) pushes it; it stays pushed while the mouse
// is inside and pops up outside; the release sends "click" only when it happens inside. Space or
// Enter typed while the button has the keyboard focus click it too. A disabled or invisible button
// takes no press and sends nothing.
namespace SkinUI {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    std::wstring GetClass() const override { return L"ButtonUI"; }
    bool WantsFocus() const override { return true; }

    // kState* bits: hot, pushed and captured as input left them, focused and disabled as the
    // control is, selected for a selected option.
    virtual unsigned GetButtonState() const;
    // The bits the button is drawn with (see DrawnButtonState): nothing but disabled while the
    // window is disabled.
    unsigned GetDrawnState() const;

    // The slot of one of the images (ButtonImage::Fore is the control's foreimage).
    const CImageSlot& GetImageSlot(ButtonImage which) const;
    void SetImage(ButtonImage which, const std::wstring& value);
    // The text colours per state (normal and disabled are the label's textcolor and
    // disabledtextcolor).
    TButtonTextColors GetTextColors() const;
    UIColor GetHotBkColor() const { return m_hotBkColor; }
    UIColor GetPushedBkColor() const { return m_pushedBkColor; }
    UIColor GetDisabledBkColor() const { return m_disabledBkColor; }
    int GetHotFont() const { return m_hotFont; }
    int GetPushedFont() const { return m_pushedFont; }
    int GetFocusedFont() const { return m_focusedFont; }

    // What the drawing shows now. `available` tells whether an image is set and can be drawn;
    // without one, an image counts as available when its attribute is set.
    virtual ButtonImage ChooseStatusImage(const ImageAvailable& available = nullptr) const;
    virtual ButtonImage ChooseForeImage(const ImageAvailable& available = nullptr) const;
    virtual UIColor ChooseTextColor() const;

    // Without state images and with a text it reads as a link, else as a push button.
    AccRole GetAccessibleRole() const override;
    std::wstring GetAccessibleDefaultAction() const override;

    void SetEnabled(bool enabled) override;
    // The markup attributes of this class (ui/core/AttributeTable.h).
    static const CAttributeTable& Attributes();
    const CAttributeTable& GetAttributeTable() const override { return Attributes(); }
    void DoEvent(TEventUI& event) override;
    // Sends "click" (when the button belongs to a window) and selects the bound tab page.
    bool Activate() override;

protected:
    ImageAvailable DefaultAvailability() const;
    bool HasStateImages() const;
    void SetStateBits(unsigned bits, bool on);

    TButtonTextColors m_colors;  // hot, pushed, focused

private:
    static constexpr int kImageCount = static_cast<int>(ButtonImage::SelectedFore) + 1;

    unsigned m_state = 0;  // hot, pushed, captured
    CImageSlot m_images[kImageCount];
    UIColor m_hotBkColor = 0;
    UIColor m_pushedBkColor = 0;
    UIColor m_disabledBkColor = 0;
    int m_hotFont = -1;
    int m_pushedFont = -1;
    int m_focusedFont = -1;
    int m_bindTabIndex = -1;
    std::wstring m_bindTabLayoutName;
};

}  // namespace SkinUI
