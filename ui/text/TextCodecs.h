#pragma once
#include <cstddef>
#include <string>

// Bytes to the platform's wide strings and back: the one UTF-8 codec of the framework and the
// program. Wide strings are UTF-16 where wchar_t has 16 bits (surrogate pairs) and UTF-32
// elsewhere. None of them fails: what cannot be decoded or encoded becomes U+FFFD, so a reader of
// hostile text never loses sync with the byte stream. Nothing here depends on the C locale.
namespace SkinUI {

constexpr wchar_t kReplacementChar = 0xFFFD;

// A Unicode scalar value other than NUL: at most U+10FFFF and no surrogate.
bool IsValidCodePoint(unsigned long cp);

// Appends `cp` as one wchar_t, or as a surrogate pair where wchar_t is 16 bits.
void AppendCodePoint(std::wstring& out, char32_t cp);

// Reads the code point at `i` and moves `i` past it: a surrogate pair is combined where wchar_t
// is 16 bits; a lone surrogate comes back as it is.
char32_t NextCodePoint(const std::wstring& text, std::size_t& i);

// Strict UTF-8: overlong forms, surrogates and values above U+10FFFF are malformed; each maximal
// invalid prefix becomes one U+FFFD, as Unicode recommends.
std::wstring DecodeUtf8(const unsigned char* bytes, std::size_t size);
std::wstring DecodeUtf8(const std::string& bytes);

// UTF-8 of `text`; a lone surrogate and a value above U+10FFFF become U+FFFD. Text without
// either comes back unchanged from DecodeUtf8.
std::string EncodeUtf8(const std::wstring& text);

// UTF-16 code units in the given byte order (an odd last byte is ignored): taken unchanged where
// wchar_t is 16 bits, combined into code points where it is 32 bits (an unpaired surrogate becomes
// U+FFFD there).
std::wstring DecodeUtf16(const unsigned char* bytes, std::size_t size, bool bigEndian);

// Each byte as the code point of the same value.
std::wstring DecodeLatin1(const std::string& bytes);

}  // namespace SkinUI
