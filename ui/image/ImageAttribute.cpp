#include "ui/image/ImageAttribute.h"

#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

int ScaleValue(int value, double scale)
{
    double scaled = value * scale;
    if (scaled >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (scaled <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(scaled < 0 ? std::ceil(scaled - 0.5) : std::floor(scaled + 0.5));
}

// Reads one key='value' pair starting at `pos` (leading blanks allowed). On success `pos` is just
// past the closing quote.
bool ReadPair(const std::wstring& text, size_t& pos, std::wstring& key, std::wstring& value)
{
    size_t p = pos;
    const size_t n = text.size();
    while (p < n && IsBlank(text[p])) ++p;
    size_t keyBegin = p;
    while (p < n && !IsBlank(text[p]) && text[p] != L'=') ++p;
    if (p == keyBegin || p >= n || text[p] != L'=') return false;
    key = text.substr(keyBegin, p - keyBegin);
    ++p;
    if (p >= n || (text[p] != L'\'' && text[p] != L'"')) return false;
    wchar_t quote = text[p++];
    size_t close = text.find(quote, p);
    if (close == std::wstring::npos) return false;
    value = text.substr(p, close - p);
    pos = close + 1;
    return true;
}

std::wstring Trimmed(const std::wstring& s)
{
    size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

void Apply(TDrawInfo& info, const std::wstring& key, const std::wstring& value, double scale)
{
    if (EqualsNoCase(key, L"file") || EqualsNoCase(key, L"res")) {
        info.file = value;
    } else if (EqualsNoCase(key, L"restype")) {
        info.resType = value;
    } else if (EqualsNoCase(key, L"dest")) {
        info.dest = ScaleRect(ParseRect(value), scale);
        info.hasDest = true;
    } else if (EqualsNoCase(key, L"source")) {
        info.source = ScaleRect(ParseRect(value), scale);
        info.hasSource = true;
    } else if (EqualsNoCase(key, L"corner")) {
        info.corner = ScaleRect(ParseRect(value), scale);
    } else if (EqualsNoCase(key, L"mask")) {
        info.mask = ParseColor(value);
    } else if (EqualsNoCase(key, L"fade")) {
        int fade = ParseInt(value);
        info.fade = fade < 0 ? 0 : fade > 255 ? 255 : fade;
    } else if (EqualsNoCase(key, L"hole")) {
        info.hole = ParseBool(value);
    } else if (EqualsNoCase(key, L"xtiled")) {
        info.xtiled = ParseBool(value);
    } else if (EqualsNoCase(key, L"ytiled")) {
        info.ytiled = ParseBool(value);
    } else if (EqualsNoCase(key, L"hsl")) {
        info.hsl = ParseBool(value);
    } else if (EqualsNoCase(key, L"size")) {
        info.size = ParseSize(value);
    } else if (EqualsNoCase(key, L"align")) {
        info.align = value;
    } else if (EqualsNoCase(key, L"padding")) {
        info.padding = ScaleRect(ParseRect(value), scale);
    }
}

}  // namespace

UIRect ScaleRect(const UIRect& rc, double scale)
{
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    return UIRect{ScaleValue(rc.left, scale), ScaleValue(rc.top, scale), ScaleValue(rc.right, scale),
                  ScaleValue(rc.bottom, scale)};
}

TDrawInfo ParseImageAttribute(const std::wstring& value, double scale)
{
    TDrawInfo info;
    info.raw = value;

    size_t pos = 0;
    std::wstring key, text;
    if (!ReadPair(value, pos, key, text)) {
        // Not a list. A value that opens a pair but never closes its quote names nothing.
        size_t probe = 0;
        while (probe < value.size() && IsBlank(value[probe])) ++probe;
        size_t eq = probe;
        while (eq < value.size() && !IsBlank(value[eq]) && value[eq] != L'=') ++eq;
        bool opensPair = eq > probe && eq + 1 < value.size() && value[eq] == L'=' &&
                         (value[eq + 1] == L'\'' || value[eq + 1] == L'"');
        if (!opensPair) info.file = Trimmed(value);
        return info;
    }
    for (;;) {
        Apply(info, key, text, scale);
        // The list goes on only while a closing quote is followed by a blank.
        if (pos >= value.size() || !IsBlank(value[pos])) break;
        if (!ReadPair(value, pos, key, text)) break;
    }
    return info;
}

}  // namespace SkinUI
