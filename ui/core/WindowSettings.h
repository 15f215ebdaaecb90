#pragma once
#include <string>

#include "ui/base/UIGeometry.h"

// The attributes of a layout document's Window element, as written (document units). The paint
// manager keeps one record per window; the window code reads it when it sizes, shapes and draws
// the native window.
namespace SkinUI {

struct TShadowSettings {
    bool show = false;           // showshadow
    int size = 0;                // shadowsize
    int sharpness = 5;           // shadowsharpness
    int darkness = 150;          // shadowdarkness
    UIPoint position;            // shadowposition: offset of the shadow from the window
    UIColor color = 0xFF000000;  // shadowcolor
    UIRect corner;               // shadowcorner: nine-grid margins of the shadow image
    std::wstring image;          // shadowimage
};

struct TWindowSettings {
    UISize initSize;            // size: initial client size
    UIRect caption;             // caption: drag area, margins from the client edges (bottom from the top)
    UISize roundCorner;         // roundcorner: corner ellipse of the window region
    UIRect sizeBox;             // sizebox: resize borders
    UISize minInfo;             // mininfo: minimum track size
    UISize maxInfo;             // maxinfo: maximum track size
    bool layered = false;       // bktrans / layered: per-pixel alpha window
    bool showDirty = false;     // showdirty: outline repainted areas
    int opacity = 255;          // opacity / alpha
    int layeredOpacity = 255;   // layeredopacity
    std::wstring layeredImage;  // layeredimage
    bool noActivate = false;    // noactivate
    UIColor disabledFontColor = 0xFFA7A6AA;
    UIColor defaultFontColor = 0xFF000000;
    UIColor linkFontColor = 0xFF0000FF;
    UIColor linkHoverFontColor = 0xFFD3215F;
    UIColor selectedColor = 0xFFBAE4FF;
    TShadowSettings shadow;
    bool gdiplusText = false;  // gdiplustext: draw text with GDI+ instead of GDI
    int textRenderingHint = 0;
    int tooltipHoverTime = 400;  // tooltiphovertime, milliseconds
};

// Applies one Window attribute. "layered", "bktrans", "layeredopacity", "layeredimage" and
// "noactivate" are matched exactly as written; every other name ignores ASCII case.
// Returns false for a name that is not a window attribute (it is then ignored).
bool ApplyWindowAttribute(TWindowSettings& settings, const std::wstring& name, const std::wstring& value);

}  // namespace SkinUI
