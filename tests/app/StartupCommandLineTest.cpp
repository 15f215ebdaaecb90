#include <gtest/gtest.h>

#include "app/StartupCommandLine.h"

TEST(ReadStartupCommandLine, SkipsTheProgramNameAsWindowsReadsIt)
{
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\Users\\A B\\KPSetup.exe\" /S /D=C:\\x"), L"/S /D=C:\\x");
    EXPECT_EQ(ArgumentsOfCommandLine(L"KPSetup.exe\t /S"), L"/S");
    // A quote in the middle of the name does not end it at a blank inside the quotes.
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\a b\\KP Setup.exe\"x /S"), L"/S");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\never closed /S"), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"KPSetup.exe"), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L""), L"");
}

TEST(ReadStartupCommandLine, KeepsAChineseFolderWhole)
{
    const auto o = ReadStartupCommandLine(L"\"D:\\下载\\KPSetup.exe\" /S /D=C:\\凯普 视频");
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.directory, L"C:\\凯普 视频");
}

TEST(ReadStartupCommandLine, NoArgumentsReadAsNoOptions)
{
    EXPECT_FALSE(ReadStartupCommandLine(L"KPSetup.exe").silent);
    EXPECT_EQ(ReadStartupCommandLine(L"KPSetup.exe").directory, L"");
}
