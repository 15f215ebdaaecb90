#include <gtest/gtest.h>

#include <string>

#include "ui/text/TextCodecs.h"

using namespace SkinUI;

namespace {
constexpr wchar_t R = kReplacementChar;
}

TEST(TextCodecsTest, Utf8DecodesEveryLengthAndRoundTrips)
{
    const std::string bytes = "a\xC3\xA9\xE5\x87\xAF\xF0\x9F\x98\x80";  // a, é, 凯, U+1F600
    std::wstring expected = L"a\u00E9\u51EF";
    AppendCodePoint(expected, 0x1F600);
    EXPECT_EQ(DecodeUtf8(bytes), expected);
    EXPECT_EQ(EncodeUtf8(expected), bytes);
    // The byte-range overload reads embedded NULs like any other character.
    EXPECT_EQ(DecodeUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

// Overlong forms, surrogates, values above U+10FFFF and cut-off sequences are malformed; each
// maximal invalid prefix becomes one U+FFFD and the next byte is read afresh, so one bad byte
// never swallows a good character after it.
TEST(TextCodecsTest, Utf8RejectsMalformedFormsOnePrefixAtATime)
{
    EXPECT_EQ(DecodeUtf8(std::string("\xC0\xAF")), (std::wstring{R, R}));                // overlong "/"
    EXPECT_EQ(DecodeUtf8(std::string("\xE0\x80\xAF")), (std::wstring{R, R, R}));         // overlong "/"
    EXPECT_EQ(DecodeUtf8(std::string("\xED\xA0\x80")), (std::wstring{R, R, R}));         // U+D800
    EXPECT_EQ(DecodeUtf8(std::string("\xF4\x90\x80\x80")), (std::wstring{R, R, R, R}));  // U+110000
    EXPECT_EQ(DecodeUtf8(std::string("\xF5\x80")), (std::wstring{R, R}));
    EXPECT_EQ(DecodeUtf8(std::string("\xE5\x87"
                                     "A")),
              (std::wstring{R, L'A'}));                                     // cut off
    EXPECT_EQ(DecodeUtf8(std::string("\xF0\x9F\x98")), (std::wstring{R}));  // cut off at the end
    EXPECT_EQ(DecodeUtf8(std::string("\x80\xBF")), (std::wstring{R, R}));   // stray continuations
}

TEST(TextCodecsTest, Utf8EncodesWhatCannotBeEncodedAsReplacement)
{
    EXPECT_EQ(EncodeUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(EncodeUtf8(std::wstring{static_cast<wchar_t>(0xDC00), L'x'}),
              "\xEF\xBF\xBD"
              "x");
    EXPECT_EQ(EncodeUtf8(L""), "");
}
