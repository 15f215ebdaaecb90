#include <gtest/gtest.h>

#include "net/UrlEncode.h"

TEST(UrlEncode, SpaceBecomesPlusAndPrintableAsciiPassesThrough)
{
    EXPECT_EQ(UrlEncode("a b"), "a+b");
    EXPECT_EQ(UrlEncode("~"), "~");
    EXPECT_EQ(UrlEncode("https://h:1/p?a=1&b=2#x"), "https://h:1/p?a=1&b=2#x");
    EXPECT_EQ(UrlEncode("%41"), "%41");      // already encoded text is not encoded again
    EXPECT_EQ(UrlEncode("/a b/"), "/a+b/");  // even in the path
}

TEST(UrlEncode, ControlDeleteAndHighBytesArePercentEncodedUpperCase)
{
    EXPECT_EQ(UrlEncode("\x7f"), "%7F");
    EXPECT_EQ(UrlEncode("\xc3\xa9"), "%C3%A9");
    EXPECT_EQ(UrlEncode("\x01\x1f\xff"), "%01%1F%FF");
    EXPECT_EQ(UrlEncode(std::string("a\0b", 3)), "a%00b");
}

TEST(UrlEncode, EmptyInputGivesEmptyOutput) { EXPECT_EQ(UrlEncode(""), ""); }

TEST(UrlEncode, EveryByteHasExactlyOneEncoding)
{
    for (int b = 0; b < 256; ++b) {
        const std::string out = UrlEncode(std::string(1, static_cast<char>(b)));
        if (b == 0x20) EXPECT_EQ(out, "+");
        else if (b >= 0x21 && b <= 0x7E) EXPECT_EQ(out, std::string(1, static_cast<char>(b)));
        else {
            ASSERT_EQ(out.size(), 3u) << b;
            EXPECT_EQ(out[0], '%');
            EXPECT_EQ(std::stoi(out.substr(1), nullptr, 16), b);
        }
    }
}
