#include "ui/image/DpiVariant.h"

#include <charconv>

#include "ui/image/ImageCache.h"

namespace SkinUI {

std::wstring FormatScaleFactor(double value)
{
    char buffer[64];
    // std::to_chars never consults the locale; general format with precision 6 is "%g".
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 6);
    return std::wstring(buffer, result.ptr);
}

std::wstring MakeDpiVariantName(const std::wstring& name, int scalePercent)
{
    const std::wstring suffix = L"@" + FormatScaleFactor(scalePercent / 100.0) + L"x.";
    std::wstring out;
    out.reserve(name.size() + suffix.size());
    for (wchar_t c : name) {
        if (c == L'.') {
            out += suffix;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<int> DpiProbeScales(int scalePercent)
{
    std::vector<int> scales;
    if (scalePercent <= 0 || scalePercent == 100) {
        return scales;
    }
    int s = scalePercent;
    do {
        scales.push_back(s);
        s -= 25;
    } while (s > 100);
    return scales;
}

std::wstring ResolveDpiVariant(const std::wstring& name, const std::wstring& resType, UIColor mask, int scalePercent,
                               double& imageScale)
{
    return CImageCache::Instance().ResolveDpiVariant(name, resType, mask, scalePercent, imageScale);
}

}  // namespace SkinUI
