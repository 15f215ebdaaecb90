#pragma once
#include <functional>
#include <optional>

#include "ui/base/UIGeometry.h"

// What a button or an option looks like in a given state: which of its images and which text
// colour are drawn. Pure rules, shared by the controls and the drawing code.
namespace SkinUI {

// State bits of buttons and options.
enum : unsigned {
    kStateFocused = 0x01,
    kStateSelected = 0x02,
    kStateDisabled = 0x04,
    kStateHot = 0x08,
    kStatePushed = 0x10,
    kStateCaptured = 0x40,  // the left button went down on the control and is still down
};

// The state a control is drawn in: while its window is disabled (a modal box is open over it)
// every bit but "disabled" is cleared.
unsigned DrawnButtonState(unsigned state, bool windowEnabled);

// The image attributes of a button (normalimage ... disabledimage, foreimage, hotforeimage and a
// pushed fore image set by code) and the selected ones of an option.
enum class ButtonImage {
    None,
    Normal,
    Hot,
    Pushed,
    Focused,
    Disabled,
    Fore,
    HotFore,
    PushedFore,
    SelectedNormal,
    SelectedHot,
    SelectedPushed,
    SelectedDisabled,
    SelectedFore,
};

// Whether an image attribute is set and its image can be drawn.
using ImageAvailable = std::function<bool(ButtonImage)>;

// The first match of disabled, pushed, hot, focused picks the image; when that one is not
// available the normal image is drawn; None when that is missing too.
ButtonImage ChooseButtonStatusImage(unsigned state, const ImageAvailable& available);
// While hot and not pushed the hot fore image, while pushed the pushed fore image, when
// available; otherwise the fore image (None when that is missing).
ButtonImage ChooseButtonForeImage(unsigned state, const ImageAvailable& available);
// A selected option draws its selected images (disabled, pushed, hot, else normal, as for a
// button) and falls back to the button rule when the one chosen is not available; an option that
// is not selected draws as a button.
ButtonImage ChooseOptionStatusImage(bool selected, unsigned state, const ImageAvailable& available);
ButtonImage ChooseOptionForeImage(bool selected, unsigned state, const ImageAvailable& available);

struct TButtonTextColors {
    std::optional<UIColor> normal;    // textcolor
    std::optional<UIColor> hot;       // hottextcolor
    std::optional<UIColor> pushed;    // pushedtextcolor
    std::optional<UIColor> focused;   // focusedtextcolor
    std::optional<UIColor> disabled;  // disabledtextcolor
};

struct TOptionTextColors {
    std::optional<UIColor> selected;        // selectedtextcolor
    std::optional<UIColor> selectedHot;     // selectedhottextcolor
    std::optional<UIColor> selectedPushed;  // selectedpushedtextcolor
};

// Disabled: the disabled colour, else the window's disabled colour. Otherwise the first match of
// pushed, hot, focused picks its colour when it is set; else the normal colour, else the window's
// default text colour.
UIColor ChooseButtonTextColor(unsigned state, const TButtonTextColors& colors, UIColor windowDefault,
                              UIColor windowDisabled);
// A selected, enabled option: pushed or hot pick their selected colours when set, else the
// selected colour when set; everything else follows the button rule.
UIColor ChooseOptionTextColor(bool selected, unsigned state, const TButtonTextColors& colors,
                              const TOptionTextColors& optionColors, UIColor windowDefault, UIColor windowDisabled);

}  // namespace SkinUI
