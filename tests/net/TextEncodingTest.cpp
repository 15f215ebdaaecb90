#include <gtest/gtest.h>

#include <windows.h>

#include "net/TextEncoding.h"

TEST(WideToMultiByte, EmptyInputGivesEmptyOutputInAnyCodePage)
{
    EXPECT_EQ(WideToMultiByte(L"", CP_UTF8), "");
    EXPECT_EQ(WideToMultiByte(L"", CP_ACP), "");
    EXPECT_EQ(WideToMultiByte(L"", 936), "");
}

TEST(WideToMultiByte, EncodesUtf8AndStopsAtTheFirstNull)
{
    EXPECT_EQ(WideToMultiByte(L"\u00e9\u51ef", CP_UTF8), "\xc3\xa9\xe5\x87\xaf");
    EXPECT_EQ(WideToMultiByte(std::wstring(L"ab\0cd", 5), CP_UTF8), "ab");
}

TEST(WideToMultiByte, AnUnknownCodePageGivesEmptyInsteadOfThrowing)
{
    EXPECT_EQ(WideToMultiByte(L"abc", 12345), "");
}

TEST(MultiByteToWide, DecodesUtf8AndGivesEmptyForUnknownCodePages)
{
    EXPECT_EQ(MultiByteToWide("\xe5\x87\xaf\xe6\x99\xae", CP_UTF8), L"\u51ef\u666e");
    EXPECT_EQ(MultiByteToWide("", CP_UTF8), L"");
    EXPECT_EQ(MultiByteToWide("abc", 12345), L"");
}

TEST(UrlEncodeWide, EncodesNonAsciiAsUtf8AndSpacesAsPlus)
{
    const std::wstring plain = L"https://localhost:18443/openapi/download?ch=10009&app=10000";
    EXPECT_EQ(UrlEncodeWide(plain), plain);
    EXPECT_EQ(UrlEncodeWide(L"https://h/\u00e9 x"), L"https://h/%C3%A9+x");
    EXPECT_EQ(UrlEncodeWide(L"https://h/\u51ef"), L"https://h/%E5%87%AF");
}

TEST(UrlEncodeWide, StopsAtAnEmbeddedNull)
{
    EXPECT_EQ(UrlEncodeWide(std::wstring(L"a b\0c d", 7)), L"a+b");
}

TEST(Utf8ToWide, DecodesAndReportsEmptyInput)
{
    EXPECT_EQ(Utf8ToWide("/D=C:\\\xe5\x87\xaf"), L"/D=C:\\\u51ef");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "str_in is empty\n");
}

TEST(Utf8ToWide, InvalidBytesNeverThrow)
{
    // Windows substitutes U+FFFD for invalid sequences when no flags are given.
    const std::wstring out = Utf8ToWide("a\xff" "b");
    EXPECT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], L'a');
    EXPECT_EQ(out[2], L'b');
}
