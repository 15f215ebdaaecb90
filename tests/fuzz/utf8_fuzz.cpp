// Feeds arbitrary bytes to the UTF-8 codec, both ways.
//
// Input: the bytes are decoded as UTF-8 and must give well-formed text that encodes back to
// itself (and to the very same bytes when nothing was replaced); read again as 16-bit units (and,
// where wchar_t has 32 bits, as 32-bit values) they make a wide string, possibly with lone
// surrogates or values beyond Unicode, whose UTF-8 must decode to it with exactly those replaced.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/text/TextCodecs.h"

using namespace SkinUI;

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// `text` with every lone surrogate and every value beyond U+10FFFF replaced by U+FFFD.
std::wstring WellFormed(const std::wstring& text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        AppendCodePoint(out, IsScalarValue(c) ? c : kReplacementChar);
    }
    return out;
}

void FuzzBytes(const std::string& bytes)
{
    const std::wstring text = DecodeUtf8(bytes);
    Require(text.size() <= bytes.size());
    Require(WellFormed(text) == text);
    const std::string encoded = EncodeUtf8(text);
    Require(DecodeUtf8(encoded) == text);
    if (text.find(kReplacementChar) == std::wstring::npos) Require(encoded == bytes);
}

void FuzzWide(const std::wstring& text)
{
    const std::string encoded = EncodeUtf8(text);
    Require(encoded.size() <= 4 * text.size());
    Require(DecodeUtf8(encoded) == WellFormed(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes(std::string(reinterpret_cast<const char*>(data), size));

    std::wstring units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    FuzzWide(units);

    if (sizeof(wchar_t) == 4) {
        std::wstring values;
        for (size_t i = 0; i + 3 < size; i += 4) {
            std::uint32_t value;
            std::memcpy(&value, data + i, sizeof value);
            values.push_back(static_cast<wchar_t>(value));
        }
        FuzzWide(values);
    }
    return 0;
}
