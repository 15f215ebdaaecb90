#include <gtest/gtest.h>

#include "app/StartupCommandLine.h"

TEST(ReadStartupCommandLine, DecodesTheNarrowLineAsUtf8)
{
    // "/D=C:\凯普" in UTF-8: read in the ANSI code page it would come out garbled.
    const auto o = ReadStartupCommandLine("/S /D=C:\\\xe5\x87\xaf\xe6\x99\xae");
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.directory, L"C:\\\u51ef\u666e");
}

TEST(ReadStartupCommandLine, EmptyOrMissingLineReadsAsNoOptions)
{
    EXPECT_FALSE(ReadStartupCommandLine("").silent);
    EXPECT_FALSE(ReadStartupCommandLine(nullptr).silent);
    EXPECT_EQ(ReadStartupCommandLine(nullptr).directory, L"");
}
