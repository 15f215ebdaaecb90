#include "ui/image/DpiVariant.h"

#include <clocale>
#include <cstdio>
#include <cstring>

#include "ui/image/ImageCache.h"

namespace SkinUI {

std::wstring FormatScaleFactor(double value)
{
    // printf's "%g", whose decimal separator (the C locale's) is then written as ".". (std::to_chars
    // would not need that step, but its tables for a precision are 180 KB of the exe.)
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof(buffer), "%g", value);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof(buffer)) return std::wstring();
    const char* separator = std::localeconv()->decimal_point;
    const size_t separatorLength = separator ? std::strlen(separator) : 0;
    std::wstring out;
    for (const char* p = buffer; *p;) {
        if (separatorLength && std::strncmp(p, separator, separatorLength) == 0) {
            out += L'.';
            p += separatorLength;
        } else {
            out += static_cast<wchar_t>(static_cast<unsigned char>(*p++));
        }
    }
    return out;
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
