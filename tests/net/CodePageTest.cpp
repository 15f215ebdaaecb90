#include <gtest/gtest.h>

#include <windows.h>

#include "net/CodePage.h"

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
    EXPECT_EQ(WideToMultiByte(std::wstring(L"ab\0cd", 5), 936), "ab");
}

TEST(WideToMultiByte, AnUnknownCodePageGivesEmptyInsteadOfThrowing) { EXPECT_EQ(WideToMultiByte(L"abc", 12345), ""); }

TEST(MultiByteToWide, DecodesUtf8AndGivesEmptyForUnknownCodePages)
{
    EXPECT_EQ(MultiByteToWide("\xe5\x87\xaf\xe6\x99\xae", CP_UTF8), L"\u51ef\u666e");
    EXPECT_EQ(MultiByteToWide("", CP_UTF8), L"");
    EXPECT_EQ(MultiByteToWide("abc", 12345), L"");
    // GBK, the code page of a Chinese system: 凯普.
    EXPECT_EQ(MultiByteToWide("\xbf\xad\xc6\xd5", 936), L"\u51ef\u666e");
}
