#pragma once
#include <cstddef>
#include <string>

// Bytes to the platform's wide strings. None of them fails: what cannot be decoded becomes
// U+FFFD, so a reader of hostile text never loses sync with the byte stream.
namespace SkinUI {

constexpr wchar_t kReplacementChar = 0xFFFD;

// A Unicode scalar value other than NUL: at most U+10FFFF and no surrogate.
bool IsValidCodePoint(unsigned long cp);

// Appends `cp` as one wchar_t, or as a surrogate pair where wchar_t is 16 bits.
void AppendCodePoint(std::wstring& out, char32_t cp);

// Strict UTF-8: overlong forms, surrogates and values above U+10FFFF are malformed; each maximal
// invalid prefix becomes one U+FFFD, as Unicode recommends.
std::wstring DecodeUtf8(const unsigned char* bytes, std::size_t size);

// UTF-16 code units in the given byte order (an odd last byte is ignored): taken unchanged where
// wchar_t is 16 bits, combined into code points where it is 32 bits (an unpaired surrogate becomes
// U+FFFD there).
std::wstring DecodeUtf16(const unsigned char* bytes, std::size_t size, bool bigEndian);

// Each byte as the code point of the same value.
std::wstring DecodeLatin1(const std::string& bytes);

}  // namespace SkinUI
