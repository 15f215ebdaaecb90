#include "ui/resources/ResourceName.h"

#include "ui/text/AsciiCase.h"
#include "ui/text/TextCodecs.h"

namespace SkinUI {
namespace {

char32_t FoldCodePoint(char32_t c)
{
    if (c < 0x80) {
        return static_cast<char32_t>(AsciiLower(static_cast<wchar_t>(c)));
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {  // Latin-1 capitals (not the multiplication sign)
        return c + 0x20;
    }
    // Latin Extended-A: capital and small letters alternate, the pairs shifted by one in two
    // ranges. The dotted and dotless i (U+0130, U+0131) have no plain partner and stay.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c | 1;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c + 1 : c;
    }
    if (c == 0x178) {  // Y with diaeresis, whose small letter lives in Latin-1
        return 0xFF;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {  // Greek capitals
        return c + 0x20;
    }
    if (c >= 0x410 && c <= 0x42F) {  // Cyrillic capitals
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c >= 0xFF21 && c <= 0xFF3A) {  // full-width Latin capitals
        return c + 0x20;
    }
    return c;
}

}  // namespace

std::wstring FoldResourceName(const std::wstring& name)
{
    std::wstring out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        const char32_t c = NextCodePoint(name, i);
        AppendCodePoint(out, c == U'\\' ? U'/' : FoldCodePoint(c));
    }
    return out;
}

}  // namespace SkinUI
