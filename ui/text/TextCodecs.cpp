#include "ui/text/TextCodecs.h"

namespace SkinUI {

void AppendCodePoint(std::wstring& out, char32_t cp)
{
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

char32_t NextCodePoint(const std::wstring& text, std::size_t& i)
{
    char32_t c = static_cast<char32_t>(text[i++]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

bool IsValidCodePoint(unsigned long cp) { return cp != 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

std::wstring DecodeUtf8(const unsigned char* p, size_t n)
{
    std::wstring out;
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        int length;
        char32_t cp;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
            if (b == 0xE0) lo = 0xA0;  // no overlong forms
            if (b == 0xED) hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
            if (b == 0xF0) lo = 0x90;  // no overlong forms
            if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
        } else {
            out.push_back(kReplacementChar);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (int k = 1; k < length; ++k, ++j) {
            unsigned char c = j < n ? p[j] : 0;
            unsigned char min = k == 1 ? lo : 0x80, max = k == 1 ? hi : 0xBF;
            if (j >= n || c < min || c > max) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (ok) {
            AppendCodePoint(out, cp);
        } else {
            out.push_back(kReplacementChar);
        }
        i = j;
    }
    return out;
}

std::wstring DecodeUtf8(const std::string& bytes)
{
    return DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string EncodeUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementChar;
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

std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian)
{
    std::wstring out;
    size_t count = n / 2;
    out.reserve(count);
    auto unit = [&](size_t i) -> char16_t {
        unsigned a = p[2 * i], b = p[2 * i + 1];
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 0; i < count; ++i) {
        char16_t u = unit(i);
        if (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<wchar_t>(u));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            AppendCodePoint(out, cp);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(kReplacementChar);
        } else {
            out.push_back(static_cast<wchar_t>(u));
        }
    }
    return out;
}

std::wstring DecodeLatin1(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<wchar_t>(c));
    return out;
}

}  // namespace SkinUI
