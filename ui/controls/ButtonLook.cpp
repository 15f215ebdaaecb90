#include "ui/controls/ButtonLook.h"

namespace SkinUI {

namespace {

ButtonImage OrFallback(ButtonImage chosen, ButtonImage fallback, const ImageAvailable& available)
{
    if (chosen != ButtonImage::None && available(chosen)) return chosen;
    return available(fallback) ? fallback : ButtonImage::None;
}

}  // namespace

unsigned DrawnButtonState(unsigned state, bool windowEnabled)
{
    return windowEnabled ? state : (state & kStateDisabled);
}

ButtonImage ChooseButtonStatusImage(unsigned state, const ImageAvailable& available)
{
    ButtonImage chosen = ButtonImage::None;
    if (state & kStateDisabled) chosen = ButtonImage::Disabled;
    else if (state & kStatePushed) chosen = ButtonImage::Pushed;
    else if (state & kStateHot) chosen = ButtonImage::Hot;
    else if (state & kStateFocused) chosen = ButtonImage::Focused;
    return OrFallback(chosen, ButtonImage::Normal, available);
}

ButtonImage ChooseButtonForeImage(unsigned state, const ImageAvailable& available)
{
    ButtonImage chosen = ButtonImage::None;
    if (state & kStatePushed) chosen = ButtonImage::PushedFore;
    else if (state & kStateHot) chosen = ButtonImage::HotFore;
    return OrFallback(chosen, ButtonImage::Fore, available);
}

ButtonImage ChooseOptionStatusImage(bool selected, unsigned state, const ImageAvailable& available)
{
    if (selected) {
        ButtonImage chosen = ButtonImage::SelectedNormal;
        if (state & kStateDisabled) chosen = ButtonImage::SelectedDisabled;
        else if (state & kStatePushed) chosen = ButtonImage::SelectedPushed;
        else if (state & kStateHot) chosen = ButtonImage::SelectedHot;
        if (available(chosen)) return chosen;
        if (available(ButtonImage::SelectedNormal)) return ButtonImage::SelectedNormal;
    }
    return ChooseButtonStatusImage(state, available);
}

ButtonImage ChooseOptionForeImage(bool selected, unsigned state, const ImageAvailable& available)
{
    if (selected && available(ButtonImage::SelectedFore)) return ButtonImage::SelectedFore;
    return ChooseButtonForeImage(state, available);
}

UIColor ChooseButtonTextColor(unsigned state, const TButtonTextColors& colors, UIColor windowDefault,
                              UIColor windowDisabled)
{
    if (state & kStateDisabled) return colors.disabled.value_or(windowDisabled);
    std::optional<UIColor> chosen;
    if (state & kStatePushed) chosen = colors.pushed;
    else if (state & kStateHot) chosen = colors.hot;
    else if (state & kStateFocused) chosen = colors.focused;
    if (chosen) return *chosen;
    return colors.normal.value_or(windowDefault);
}

UIColor ChooseOptionTextColor(bool selected, unsigned state, const TButtonTextColors& colors,
                              const TOptionTextColors& optionColors, UIColor windowDefault, UIColor windowDisabled)
{
    if (selected && !(state & kStateDisabled)) {
        std::optional<UIColor> chosen;
        if (state & kStatePushed) chosen = optionColors.selectedPushed;
        else if (state & kStateHot) chosen = optionColors.selectedHot;
        if (chosen) return *chosen;
        if (optionColors.selected) return *optionColors.selected;
    }
    return ChooseButtonTextColor(state, colors, windowDefault, windowDisabled);
}

}  // namespace SkinUI
