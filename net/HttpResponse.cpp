#include "net/HttpResponse.h"

#include <limits>

namespace {

constexpr std::wstring_view kContentLength = L"content-length";

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t' || text.back() == L'\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint64_t> Decimal(std::wstring_view digits)
{
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        const unsigned digit = static_cast<unsigned>(c - L'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

std::optional<std::uint64_t> ContentLengthOf(std::wstring_view headers)
{
    while (!headers.empty()) {
        const std::size_t end = headers.find(L'\n');
        const std::wstring_view line = headers.substr(0, end);
        const std::size_t colon = line.find(L':');
        if (colon != std::wstring_view::npos && SameNameIgnoringCase(Trimmed(line.substr(0, colon)), kContentLength))
            return Decimal(Trimmed(line.substr(colon + 1)));
        if (end == std::wstring_view::npos) break;
        headers.remove_prefix(end + 1);
    }
    return std::nullopt;
}
