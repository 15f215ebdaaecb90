// Feeds arbitrary text to the attribute value readers and the image attribute language.
//
// Input: the first byte picks how the rest becomes a wide string (even: one character per byte,
// so plain ASCII seeds read as written; odd: 16-bit little-endian units); the second half of the
// text also serves as the other operand of EqualsNoCase.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/base/UIValues.h"
#include "ui/image/ImageAttribute.h"
#include "ui/text/AsciiCase.h"

using namespace SkinUI;

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

std::wstring ToWide(const uint8_t* data, size_t size, bool units16)
{
    std::wstring text;
    if (!units16) {
        for (size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
    } else {
        for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
}

void FuzzValues(const std::wstring& text)
{
    ParseInt(text);
    ParseRect(text);
    ParseSize(text);
    ParseColor(text);
    ParseFloatPercent(text);
    Require(ParseBool(text) == EqualsNoCase(text, L"true"));
    Require(EqualsNoCase(text, text));
    std::wstring half = text.substr(text.size() / 2);
    Require(EqualsNoCase(text, half) == EqualsNoCase(half, text));

    for (const auto& pair : ParseAttributeList(text)) {
        Require(!pair.first.empty());
        Require(pair.first.find(L'=') == std::wstring::npos);
    }
}

void FuzzImageAttribute(const std::wstring& text, double scale)
{
    TDrawInfo info = ParseImageAttribute(text, scale);
    Require(info.raw == text);
    Require(info.fade >= 0 && info.fade <= 255);
    if (!info.hasDest) Require(info.dest == UIRect{});
    if (!info.hasSource) Require(info.source == UIRect{});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const bool units16 = data[0] & 1;
    std::wstring text = ToWide(data + 1, size - 1, units16);
    FuzzValues(text);
    FuzzImageAttribute(text, 1.0);
    FuzzImageAttribute(text, 1.5);
    FuzzImageAttribute(text, 2.0);
    // An arbitrary scale from the input's first bytes, NaN and infinities included.
    double scale = 0;
    if (size >= 1 + sizeof scale) std::memcpy(&scale, data + 1, sizeof scale);
    FuzzImageAttribute(text, scale);
    return 0;
}
