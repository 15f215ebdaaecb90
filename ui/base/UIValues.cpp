#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

#include <climits>

namespace SkinUI {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Reads an integer from text[pos...] the way ParseInt describes; `end` is where reading stopped.
int ReadInt(const std::wstring& text, size_t pos, size_t end)
{
    while (pos < end && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < end && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    // Accumulate as a negative number so INT_MIN is reachable without overflow.
    long long value = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; pos < end && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
        if (value < limit) value = value * 10 + (text[pos] - L'0');
    }
    if (negative) return value >= limit ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Reads up to `count` comma-separated integers into `out` (missing ones stay 0).
void ReadIntList(const std::wstring& text, int* out, int count)
{
    size_t pos = 0;
    for (int i = 0; i < count && pos <= text.size(); ++i) {
        size_t comma = text.find(L',', pos);
        size_t end = comma == std::wstring::npos ? text.size() : comma;
        out[i] = ReadInt(text, pos, end);
        if (comma == std::wstring::npos) break;
        pos = comma + 1;
    }
}

}  // namespace

int ParseInt(const std::wstring& text) { return ReadInt(text, 0, text.size()); }

UIRect ParseRect(const std::wstring& text)
{
    int v[4] = {0, 0, 0, 0};
    ReadIntList(text, v, 4);
    return UIRect{v[0], v[1], v[2], v[3]};
}

UISize ParseSize(const std::wstring& text)
{
    int v[2] = {0, 0};
    ReadIntList(text, v, 2);
    return UISize{v[0], v[1]};
}

double ParseFraction(const std::wstring& text, size_t& pos)
{
    while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) negative = text[pos++] == L'-';
    double value = 0.0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') value = value * 10 + (text[pos++] - L'0');
    if (pos < text.size() && text[pos] == L'.') {
        ++pos;
        double unit = 0.1;
        while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
            value += (text[pos++] - L'0') * unit;
            unit /= 10;
        }
    }
    return negative ? -value : value;
}

UIFloatPercent ParseFloatPercent(const std::wstring& text)
{
    double parts[4] = {0, 0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 4 && pos <= text.size(); ++i) {
        parts[i] = ParseFraction(text, pos);
        pos = text.find(L',', pos);
        if (pos == std::wstring::npos) break;
        ++pos;
    }
    return UIFloatPercent{parts[0], parts[1], parts[2], parts[3]};
}

UIColor ParseColor(const std::wstring& text)
{
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == L'#') {
        ++pos;
    } else if (pos + 2 < text.size() && text[pos] == L'0' && AsciiLower(text[pos + 1]) == L'x' &&
               HexDigit(text[pos + 2]) >= 0) {
        pos += 2;
    }
    unsigned long long value = 0;
    for (; pos < text.size() && HexDigit(text[pos]) >= 0; ++pos) {
        if (value <= 0xFFFFFFFFull) value = value * 16 + HexDigit(text[pos]);
    }
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<UIColor>(value);
}

bool ParseBool(const std::wstring& text) { return EqualsNoCase(text, L"true"); }

std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& text)
{
    std::vector<std::pair<std::wstring, std::wstring>> result;
    size_t pos = 0;
    const size_t n = text.size();
    for (;;) {
        while (pos < n && IsBlank(text[pos])) ++pos;
        if (pos >= n) break;
        size_t nameBegin = pos;
        while (pos < n && !IsBlank(text[pos]) && text[pos] != L'=') ++pos;
        if (pos == nameBegin) break;  // "=" with no name
        std::wstring name = text.substr(nameBegin, pos - nameBegin);
        while (pos < n && IsBlank(text[pos])) ++pos;
        if (pos >= n || text[pos] != L'=') break;
        ++pos;
        while (pos < n && IsBlank(text[pos])) ++pos;
        if (pos >= n || (text[pos] != L'"' && text[pos] != L'\'')) break;
        wchar_t quote = text[pos++];
        size_t close = text.find(quote, pos);
        if (close == std::wstring::npos) break;
        result.emplace_back(std::move(name), text.substr(pos, close - pos));
        pos = close + 1;
    }
    return result;
}

}  // namespace SkinUI
