#include "ui/text/AsciiCase.h"

namespace SkinUI {

std::wstring AsciiLower(const std::wstring& text)
{
    std::wstring lower = text;
    for (wchar_t& c : lower) c = AsciiLower(c);
    return lower;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && EqualsNoCaseAt(a, 0, b, 0, a.size());
}

bool EqualsNoCaseAt(const std::wstring& a, std::size_t aBegin, const std::wstring& b, std::size_t bBegin,
                    std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (AsciiLower(a[aBegin + i]) != AsciiLower(b[bBegin + i])) return false;
    }
    return true;
}

}  // namespace SkinUI
