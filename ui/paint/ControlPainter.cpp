#include "ui/paint/ControlPainter.h"

#include "ui/controls/ButtonUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/FocusRing.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/image/ImageCache.h"
#include "ui/paint/TextRenderer.h"
#include "ui/render/Fill.h"
#include "ui/render/ImageDraw.h"

namespace SkinUI {
namespace Paint {

namespace {

int ScaleOf(const CControlUI& control) { return control.GetManager() ? control.GetManager()->GetScale() : 100; }

std::shared_ptr<const TImageInfo> LoadImage(const TPaintContext& context, const TDrawInfo& info)
{
    if (info.IsEmpty()) return nullptr;
    return context.images ? context.images(info) : DefaultImageSource()(info);
}

bool PaintSlot(const TPaintContext& context, const CControlUI& control, const CImageSlot& slot)
{
    if (slot.IsEmpty()) return false;
    const CPaintManagerUI* manager = control.GetManager();
    return PaintImage(context, control.GetPos(), slot.Get(manager), ScaleOf(control), slot.GetImageScale(manager));
}

// Whether an image attribute of a button is set and its image can be loaded: the state rules fall
// back to the normal image when the chosen one cannot be drawn.
ImageAvailable AvailabilityOf(const TPaintContext& context, const CButtonUI& button)
{
    return [&context, &button](ButtonImage which) {
        if (which == ButtonImage::None) return false;
        const CImageSlot& slot = button.GetImageSlot(which);
        return !slot.IsEmpty() && LoadImage(context, slot.Get(button.GetManager())) != nullptr;
    };
}

void PaintBkColor(const TPaintContext& context, const CControlUI& control)
{
    UIColor first = control.GetBkColor();
    if (const auto* button = dynamic_cast<const CButtonUI*>(&control)) {
        const unsigned state = button->GetDrawnState();
        if ((state & kStateDisabled) && button->GetDisabledBkColor()) first = button->GetDisabledBkColor();
        else if ((state & kStatePushed) && button->GetPushedBkColor()) first = button->GetPushedBkColor();
        else if ((state & kStateHot) && button->GetHotBkColor()) first = button->GetHotBkColor();
    }
    const Render::TBrush brush = Render::TBrush::FromControlColors(first, control.GetBkColor2(), control.GetBkColor3());
    if (brush.IsInvisible()) return;
    const UISize round = control.GetBorderRound();
    if (round.cx > 0 || round.cy > 0) Render::FillRoundRect(context.canvas, control.GetPos(), round, brush);
    else Render::FillRect(context.canvas, control.GetPos(), brush);
}

void PaintStatusImage(const TPaintContext& context, const CControlUI& control)
{
    const auto* button = dynamic_cast<const CButtonUI*>(&control);
    if (!button) return;
    const ButtonImage which = button->ChooseStatusImage(AvailabilityOf(context, *button));
    if (which != ButtonImage::None) PaintSlot(context, control, button->GetImageSlot(which));
}

void PaintProgressFill(const TPaintContext& context, const CProgressUI& progress)
{
    const CImageSlot& slot = progress.GetForeImageSlot();
    if (slot.IsEmpty()) return;
    const CPaintManagerUI* manager = progress.GetManager();
    TDrawInfo info = slot.Get(manager);
    // The fill rectangle comes back in document units; like any dest it is scaled when drawn.
    const int scale = ScaleOf(progress);
    const UIRect fill = ScaleRect(progress.GetForeImageRect(), scale / 100.0);
    if (fill.IsEmpty()) return;
    info.dest = fill;
    info.hasDest = true;
    if (!progress.IsStretchForeImage()) {
        info.source = fill;
        info.hasSource = true;
    }
    PaintImage(context, progress.GetPos(), info, scale, slot.GetImageScale(manager));
}

void PaintForeImage(const TPaintContext& context, const CControlUI& control)
{
    if (const auto* progress = dynamic_cast<const CProgressUI*>(&control)) {
        PaintProgressFill(context, *progress);
        return;
    }
    if (const auto* button = dynamic_cast<const CButtonUI*>(&control)) {
        const ButtonImage which = button->ChooseForeImage(AvailabilityOf(context, *button));
        if (which != ButtonImage::None) PaintSlot(context, control, button->GetImageSlot(which));
        return;
    }
    PaintSlot(context, control, control.GetForeImageSlot());
}

UIColor TextColorOf(const CLabelUI& label)
{
    if (const auto* button = dynamic_cast<const CButtonUI*>(&label)) return button->ChooseTextColor();
    const CPaintManagerUI* manager = label.GetManager();
    const UIColor windowDefault = manager ? manager->GetWindowSettings().defaultFontColor : 0xFF000000;
    const UIColor windowDisabled = manager ? manager->GetWindowSettings().disabledFontColor : 0xFFA7A6AA;
    return ChooseLabelTextColor(label.IsEnabled(), label.GetTextColor(), label.GetDisabledTextColor(), windowDefault,
                                windowDisabled);
}

int FontOf(const CLabelUI& label)
{
    if (const auto* option = dynamic_cast<const COptionUI*>(&label)) {
        if (option->IsSelected() && option->GetSelectedFont() >= 0) return option->GetSelectedFont();
    }
    if (const auto* button = dynamic_cast<const CButtonUI*>(&label)) {
        const unsigned state = button->GetDrawnState();
        if ((state & kStatePushed) && button->GetPushedFont() >= 0) return button->GetPushedFont();
        if ((state & kStateHot) && button->GetHotFont() >= 0) return button->GetHotFont();
        if ((state & kStateFocused) && button->GetFocusedFont() >= 0) return button->GetFocusedFont();
    }
    return label.GetFont();
}

void PaintText(const TPaintContext& context, const CControlUI& control)
{
    const auto* label = dynamic_cast<const CLabelUI*>(&control);
    if (!label || !context.text || label->GetText().empty()) return;
    const UIRect& pos = control.GetPos();
    const UIRect padding = label->GetTextPadding();
    const UIRect rc = pos.Deflated(padding);
    if (rc.IsEmpty()) return;
    const CPaintManagerUI* manager = control.GetManager();
    const int font = FontOf(*label);
    const TFontInfo info = manager ? manager->GetFontInfo(font) : TFontInfo{};
    // GDI text is drawn with the colour's RGB part only: "#00FFFFFF" is white text.
    context.text->DrawString(context.canvas, rc, label->GetText(), info, TextColorOf(*label) | 0xFF000000,
                             label->GetTextStyle());
}

void PaintBorder(const TPaintContext& context, const CControlUI& control)
{
    UIColor color = control.GetBorderColor();
    if (control.IsFocused() && control.GetFocusBorderColor()) color = control.GetFocusBorderColor();
    const UIRect widths = control.GetBorderSize();
    if ((color >> 24) == 0) return;
    if (widths.left <= 0 && widths.top <= 0 && widths.right <= 0 && widths.bottom <= 0) return;
    Render::DrawBorder(context.canvas, control.GetPos(), widths, control.GetBorderRound(), color);
}

void PaintChildren(const TPaintContext& context, CControlUI& control)
{
    auto* container = dynamic_cast<CContainerUI*>(&control);
    if (!container) return;
    // Children stay inside the container's content area: its inset keeps its own border visible.
    Render::CClipScope clip(context.canvas, control.GetPos().Deflated(container->GetInset()));
    if (context.canvas.Clip().IsEmpty()) return;
    for (int i = 0; i < container->GetCount(); ++i) {
        if (CControlUI* child = container->GetItemAt(i)) PaintControl(*child, context);
    }
}

}  // namespace

ImageSource DefaultImageSource()
{
    return [](const TDrawInfo& info) { return GetImage(info.file, info.resType, info.mask); };
}

void PaintFocusRing(Render::CCanvas& canvas, const UIRect& control, int scalePercent)
{
    const TFocusRing ring = FocusRingFor(control, scalePercent);
    if (ring.outer.IsEmpty()) return;
    const int w = ring.width;
    Render::DrawBorder(canvas, ring.outer, UIRect{w, w, w, w}, ring.ellipse, kFocusRingColor);
}

bool PaintImage(const TPaintContext& context, const UIRect& rc, const TDrawInfo& info, int windowScale,
                double imageScale)
{
    const std::shared_ptr<const TImageInfo> image = LoadImage(context, info);
    if (!image) return false;
    Render::DrawImage(context.canvas, Render::TImageView::Of(*image), rc, info, windowScale, imageScale);
    return true;
}

void PaintControl(CControlUI& control, const TPaintContext& context)
{
    if (!control.IsVisible()) return;
    const UIRect& pos = control.GetPos();
    UIRect visible;
    if (!visible.Intersect(pos, context.canvas.Clip())) return;
    PaintBkColor(context, control);
    PaintSlot(context, control, control.GetBkImageSlot());
    PaintStatusImage(context, control);
    PaintForeImage(context, control);
    PaintText(context, control);
    PaintBorder(context, control);
    PaintChildren(context, control);
}

}  // namespace Paint
}  // namespace SkinUI
