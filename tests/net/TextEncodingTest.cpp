#include <gtest/gtest.h>

#include "net/TextEncoding.h"

TEST(UrlEncodeWide, EncodesNonAsciiAsUtf8AndSpacesAsPlus)
{
    const std::wstring plain = L"https://localhost:18443/openapi/download?ch=10009&app=10000";
    EXPECT_EQ(UrlEncodeWide(plain), plain);
    EXPECT_EQ(UrlEncodeWide(L"https://h/\u00e9 x"), L"https://h/%C3%A9+x");
    EXPECT_EQ(UrlEncodeWide(L"https://h/\u51ef"), L"https://h/%E5%87%AF");
}

TEST(UrlEncodeWide, StopsAtAnEmbeddedNull) { EXPECT_EQ(UrlEncodeWide(std::wstring(L"a b\0c d", 7)), L"a+b"); }

TEST(Utf8ToWide, DecodesAndReportsEmptyInput)
{
    EXPECT_EQ(Utf8ToWide("/D=C:\\\xe5\x87\xaf"), L"/D=C:\\\u51ef");
    EXPECT_EQ(Utf8ToWide(std::string("/S\0/D=x", 7)), L"/S");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "str_in is empty\n");
}

TEST(Utf8ToWide, InvalidBytesBecomeReplacementCharacters)
{
    // An overlong "/" must not turn into a path separator on a command line.
    EXPECT_EQ(Utf8ToWide("a\xff"
                         "b\xc0\xaf"),
              L"a\uFFFDb\uFFFD\uFFFD");
}
