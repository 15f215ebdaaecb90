// How the demo setup package reads "-instdir=<folder> -dsc=<true|false>" from its raw command line.
#include <gtest/gtest.h>

#include "tools/demo/PackageArgs.h"

TEST(DemoPackageArgs, TheParametersFollowTheProgramNameQuotedOrNot)
{
    EXPECT_EQ(L"-instdir=C:\\a -dsc=true", ParametersOf(L"\"C:\\x y\\setup.exe\" -instdir=C:\\a -dsc=true"));
    EXPECT_EQ(L"-instdir=C:\\a -dsc=true", ParametersOf(L"C:\\setup.exe \t -instdir=C:\\a -dsc=true"));
    EXPECT_EQ(L"", ParametersOf(L"\"C:\\setup.exe\""));
    EXPECT_EQ(L"", ParametersOf(L"setup.exe"));
    EXPECT_EQ(L"", ParametersOf(L"\"unterminated"));
    EXPECT_EQ(L"", ParametersOf(L""));
}

TEST(DemoPackageArgs, TheFolderIsEverythingUpToTheLastDscSpacesIncluded)
{
    auto args = ParsePackageArgs(L"-instdir=C:\\Program Files (x86)\\KPCapture -dsc=true");
    ASSERT_TRUE(args);
    EXPECT_EQ(L"C:\\Program Files (x86)\\KPCapture", args->installDir);
    EXPECT_TRUE(args->desktopShortcut);

    args = ParsePackageArgs(L"-instdir=D:\\ two  spaces \\凯普 -dsc=x\\KPCapture -dsc=false  ");
    ASSERT_TRUE(args);
    EXPECT_EQ(L"D:\\ two  spaces \\凯普 -dsc=x\\KPCapture", args->installDir);
    EXPECT_FALSE(args->desktopShortcut);
}

TEST(DemoPackageArgs, AnythingElseIsRefused)
{
    for (const wchar_t* bad : {L"", L"-dsc=true", L"-instdir=C:\\a", L"-instdir= -dsc=true", L"-instdir=C:\\a -dsc=",
                               L"-instdir=C:\\a -dsc=TRUE", L"-instdir=C:\\a -dsc=yes", L" -instdir=C:\\a -dsc=true",
                               L"\"-instdir=C:\\a b\" -dsc=true", L"-instdir=C:\\a-dsc=true"})
        EXPECT_FALSE(ParsePackageArgs(bad)) << bad;
}
