#include <gtest/gtest.h>

#include "app/CommandLine.h"

using Tokens = std::vector<std::wstring>;

TEST(SplitCommandLine, CutsAtEverySingleSpaceWithoutQuoting)
{
    EXPECT_EQ(SplitCommandLine(L""), Tokens{});
    EXPECT_EQ(SplitCommandLine(L"a"), Tokens{L"a"});
    EXPECT_EQ(SplitCommandLine(L"a b"), (Tokens{L"a", L"b"}));
    EXPECT_EQ(SplitCommandLine(L"a  b"), (Tokens{L"a", L"", L"b"}));
    EXPECT_EQ(SplitCommandLine(L"a b "), (Tokens{L"a", L"b"}));
    EXPECT_EQ(SplitCommandLine(L" a"), (Tokens{L"", L"a"}));
    EXPECT_EQ(SplitCommandLine(L"\"C:\\My Dir\""), (Tokens{L"\"C:\\My", L"Dir\""}));
}

TEST(ParseCommandLine, NothingGivenMeansNotSilentAndNoDirectory)
{
    const auto o = ParseCommandLine(L"");
    EXPECT_FALSE(o.silent);
    EXPECT_EQ(o.directory, L"");
}

TEST(ParseCommandLine, SilentKeysMustMatchTheWholeTokenExactly)
{
    for (const wchar_t* key :
         {L"/S", L"/s", L"/verysilent/norestart/suppressmsgboxes", L"/VERYSILENT/NORESATRT/SUPPRESSMSGBOXES",
          L"/silent", L"/SILENT", L"/quiet", L"-instdir", L"-INSTDIR"}) {
        EXPECT_TRUE(ParseCommandLine(key).silent) << key;
        EXPECT_TRUE(ParseCommandLine(std::wstring(L"x ") + key + L" y").silent) << key;
    }
    for (const wchar_t* other :
         {L"/Silent", L"/QUIET", L"-instdir=C:\\x", L"/S/", L"/VERYSILENT/NORESTART/SUPPRESSMSGBOXES"})
        EXPECT_FALSE(ParseCommandLine(other).silent) << other;
}

TEST(ParseCommandLine, EachDirectoryKeyTakesTheRestOfTheToken)
{
    EXPECT_EQ(ParseCommandLine(L"/D=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"/dir=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"--insPath=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"/d=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"/DIR=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"--INSPATH=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"APPDIR=C:\\a").directory, L"C:\\a");
    EXPECT_EQ(ParseCommandLine(L"-oC:\\a").directory, L"C:\\a");
    // found anywhere in the token, not only at its start
    EXPECT_EQ(ParseCommandLine(L"x/D=y").directory, L"y");
    EXPECT_EQ(ParseCommandLine(L"/D=").directory, L"");
}

TEST(ParseCommandLine, TheLastKeyInSearchOrderWinsWithinOneToken)
{
    EXPECT_EQ(ParseCommandLine(L"/D=C:\\my-old").directory, L"ld");
    // "/dir=" is searched after "/D=", whatever their positions
    EXPECT_EQ(ParseCommandLine(L"/dir=a/D=b").directory, L"a/D=b");
    EXPECT_EQ(ParseCommandLine(L"APPDIR=x--insPath=y").directory, L"x--insPath=y");
}

TEST(ParseCommandLine, LaterTokensOverrideEarlierOnesAndQuotesAreNotSpecial)
{
    EXPECT_EQ(ParseCommandLine(L"/D=a /D=b").directory, L"b");
    EXPECT_EQ(ParseCommandLine(L"/D=a /S").directory, L"a");
    EXPECT_EQ(ParseCommandLine(L"/D=\"C:\\Program Files\\X\"").directory, L"\"C:\\Program");
    const auto o = ParseCommandLine(L"/S /D=C:\\kp");
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.directory, L"C:\\kp");
}
