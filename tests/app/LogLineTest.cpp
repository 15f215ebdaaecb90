#include <gtest/gtest.h>

#include "app/LogLine.h"

TEST(FormatLogLine, OneTimestampedUtf8LinePerStepWhateverTheTextHolds)
{
    const LogTime t{2026, 12, 8, 23, 15, 0, 7};
    EXPECT_EQ("2026-12-08 23:15:00.007  exit code 0\r\n", FormatLogLine(t, L"exit code 0"));
    // UTF-8, not the ANSI code page: the product's name and a path in Chinese survive.
    EXPECT_EQ("2026-12-08 23:15:00.007  \xe5\x87\xaf\xe6\x99\xae C:\\\xe5\x87\xaf\r\n",
              FormatLogLine(t, L"凯普 C:\\凯"));
    // Line breaks from a server or a file cannot start a line of their own.
    EXPECT_EQ("2026-12-08 23:15:00.007  a b  c \r\n", FormatLogLine(t, L"a\rb\n\tc\u2028"));
    EXPECT_EQ("2026-12-08 23:15:00.007  \r\n", FormatLogLine(t, L""));
}

TEST(DefaultLogFileName, SortsByTheRunsStart)
{
    EXPECT_EQ(L"KPSetup_20261208_231500.log", DefaultLogFileName(LogTime{2026, 12, 8, 23, 15, 0, 999}));
    EXPECT_EQ(L"KPSetup_20270101_000509.log", DefaultLogFileName(LogTime{2027, 1, 1, 0, 5, 9, 0}));
}

TEST(HexCode, EightDigitsAsAdministratorsLookThemUp)
{
    EXPECT_EQ(L"0x80190194", HexCode(0x80190194ul));
    EXPECT_EQ(L"0x00000005", HexCode(5));
    // A negative HRESULT handed over as a long.
    EXPECT_EQ(L"0x800C0007", HexCode(static_cast<unsigned long>(static_cast<long>(0x800C0007u - 0x100000000ll))));
}
