#include "ui/resources/ResourceName.h"

namespace SkinUI {
namespace {

char32_t FoldCodePoint(char32_t c)
{
    if (c < 0x80) {
        return (c >= U'A' && c <= U'Z') ? c + 0x20 : c;
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

// Reads one code point from a wide string; a lone surrogate comes back unchanged.
char32_t NextCodePoint(const std::wstring& s, size_t& i)
{
    char32_t c = static_cast<char32_t>(s[i++]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i < s.size()) {
        const char32_t low = static_cast<char32_t>(s[i]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

void AppendCodePoint(std::wstring& out, char32_t c)
{
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
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

std::string EncodeUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring DecodeUtf8(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, c = b & 0x1F, minimum = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, c = b & 0x0F, minimum = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, c = b & 0x07, minimum = 0x10000;
        } else {
            AppendCodePoint(out, 0xFFFD);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= n || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        }
        if (!ok || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            // Skip only the bytes that were read as part of the broken sequence.
            AppendCodePoint(out, 0xFFFD);
            i = ok ? j : (j > i + 1 ? j : i + 1);
            continue;
        }
        AppendCodePoint(out, c);
        i = j;
    }
    return out;
}

}  // namespace SkinUI
