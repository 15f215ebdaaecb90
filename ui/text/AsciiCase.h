#pragma once
#include <cstddef>
#include <string>

// The one case rule of the framework's names (tags, attributes, class names, notification
// routes): ASCII letters compare without case, every other character exactly. It does not depend
// on the locale, so "I" and "i" match on every system and nothing else folds.
namespace SkinUI {

inline wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }

// `text` with its ASCII letters lower-cased.
std::wstring AsciiLower(const std::wstring& text);

bool EqualsNoCase(const std::wstring& a, const std::wstring& b);

// Compares a[aBegin, aBegin + length) with b[bBegin, bBegin + length); both ranges must exist.
bool EqualsNoCaseAt(const std::wstring& a, std::size_t aBegin, const std::wstring& b, std::size_t bBegin,
                    std::size_t length);

}  // namespace SkinUI
