#include "ui/core/WindowSettings.h"

#include <algorithm>

#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {
int ClampByte(int value) { return std::min(255, std::max(0, value)); }
}  // namespace

bool ApplyWindowAttribute(TWindowSettings& s, const std::wstring& name, const std::wstring& value)
{
    // Matched exactly: documents written for the framework always spell these in lower case.
    if (name == L"layered" || name == L"bktrans") {
        s.layered = ParseBool(value);
        return true;
    }
    if (name == L"layeredopacity") {
        s.layeredOpacity = ClampByte(ParseInt(value));
        return true;
    }
    if (name == L"layeredimage") {
        s.layeredImage = value;
        return true;
    }
    if (name == L"noactivate") {
        s.noActivate = ParseBool(value);
        return true;
    }

    auto is = [&name](const wchar_t* candidate) { return EqualsNoCase(name, candidate); };
    if (is(L"size")) s.initSize = ParseSize(value);
    else if (is(L"caption")) s.caption = ParseRect(value);
    else if (is(L"roundcorner")) s.roundCorner = ParseSize(value);
    else if (is(L"sizebox")) s.sizeBox = ParseRect(value);
    else if (is(L"mininfo")) s.minInfo = ParseSize(value);
    else if (is(L"maxinfo")) s.maxInfo = ParseSize(value);
    else if (is(L"showdirty")) s.showDirty = ParseBool(value);
    else if (is(L"opacity") || is(L"alpha")) s.opacity = ClampByte(ParseInt(value));
    else if (is(L"disabledfontcolor")) s.disabledFontColor = ParseColor(value);
    else if (is(L"defaultfontcolor")) s.defaultFontColor = ParseColor(value);
    else if (is(L"linkfontcolor")) s.linkFontColor = ParseColor(value);
    else if (is(L"linkhoverfontcolor")) s.linkHoverFontColor = ParseColor(value);
    else if (is(L"selectedcolor")) s.selectedColor = ParseColor(value);
    else if (is(L"shadowsize")) s.shadow.size = std::max(0, ParseInt(value));
    else if (is(L"shadowsharpness")) s.shadow.sharpness = std::max(0, ParseInt(value));
    else if (is(L"shadowdarkness")) s.shadow.darkness = ClampByte(ParseInt(value));
    else if (is(L"shadowposition")) {
        const UISize offset = ParseSize(value);
        s.shadow.position = UIPoint{offset.cx, offset.cy};
    } else if (is(L"shadowcolor")) s.shadow.color = ParseColor(value);
    else if (is(L"shadowcorner")) s.shadow.corner = ParseRect(value);
    else if (is(L"shadowimage")) s.shadow.image = value;
    else if (is(L"showshadow")) s.shadow.show = ParseBool(value);
    else if (is(L"gdiplustext")) s.gdiplusText = ParseBool(value);
    else if (is(L"textrenderinghint")) s.textRenderingHint = ParseInt(value);
    else if (is(L"tooltiphovertime")) s.tooltipHoverTime = std::max(0, ParseInt(value));
    else return false;
    return true;
}

}  // namespace SkinUI
