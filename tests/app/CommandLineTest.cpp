#include <gtest/gtest.h>

#include "app/CommandLine.h"

using Tokens = std::vector<std::wstring>;
using Problem = CommandLineProblem;

TEST(SplitCommandLine, BlanksSeparateAndQuotesKeepSpaces)
{
    EXPECT_EQ(SplitCommandLine(L""), Tokens{});
    EXPECT_EQ(SplitCommandLine(L"   \t "), Tokens{});
    EXPECT_EQ(SplitCommandLine(L"a  b\tc "), (Tokens{L"a", L"b", L"c"}));
    EXPECT_EQ(SplitCommandLine(L"\"C:\\My Dir\" x"), (Tokens{L"C:\\My Dir", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"/DIR=\"C:\\a b\"c d"), (Tokens{L"/DIR=C:\\a bc", L"d"}));
    EXPECT_EQ(SplitCommandLine(L"\"never closed"), Tokens{L"never closed"});
    EXPECT_EQ(SplitCommandLine(L"\"\""), Tokens{L""});
}

// One row per command line: what an administrator types, and what the program makes of it.
struct Row {
    const wchar_t* line;
    bool silent;
    bool folderGiven;
    const wchar_t* folder;
    const wchar_t* log;
    Problem problem;
};

class ParseCommandLineTable : public ::testing::TestWithParam<Row> {};

TEST_P(ParseCommandLineTable, ReadsTheLineAsAdministratorsExpect)
{
    const Row& row = GetParam();
    const CommandLineOptions o = ParseCommandLine(row.line);
    EXPECT_EQ(o.silent, row.silent);
    EXPECT_EQ(o.directoryGiven, row.folderGiven);
    EXPECT_EQ(o.directory, row.folder);
    EXPECT_EQ(o.logPath, row.log);
    EXPECT_EQ(o.problem, row.problem);
}

const Row kRows[] = {
    {L"", false, false, L"", L"", Problem::None},
    {L"/S", true, false, L"", L"", Problem::None},
    {L"x /quiet y", true, false, L"", L"", Problem::None},
    {L"/VERYSILENT/NORESATRT/SUPPRESSMSGBOXES", true, false, L"", L"", Problem::None},
    // silent keys are whole tokens, case-sensitive
    {L"/Silent /QUIET /S/ -instdir=C:\\x", false, false, L"", L"", Problem::None},
    // a key inside a token is no key: the old reading made "ld" of this
    {L"/D=C:\\my-old", false, true, L"C:\\my-old", L"", Problem::None},
    {L"x/D=y -o", false, true, L"", L"", Problem::None},
    // "/D=" takes the rest of the line, spaces and all, and ends the reading
    {L"/S /D=C:\\Program Files\\X", true, true, L"C:\\Program Files\\X", L"", Problem::None},
    {L"/D=C:\\a b /S  ", false, true, L"C:\\a b /S", L"", Problem::None},
    {L"/S /D=\"C:\\Program Files\\X\"", true, true, L"C:\\Program Files\\X", L"", Problem::None},
    {L"/S \"/D=C:\\a b\" /LOG=l", true, true, L"C:\\a b", L"l", Problem::None},
    // "/D=" with nothing after it is a folder given empty: the folder rule refuses it
    {L"/S /D=", true, true, L"", L"", Problem::None},
    // the other folder keys take a quoted or unquoted token value
    {L"/DIR=\"C:\\Program Files\\Y\" /S", true, true, L"C:\\Program Files\\Y", L"", Problem::None},
    {L"/dir=C:\\a", false, true, L"C:\\a", L"", Problem::None},
    {L"/d=C:\\a", false, true, L"C:\\a", L"", Problem::None},
    {L"--insPath=C:\\a", false, true, L"C:\\a", L"", Problem::None},
    {L"--INSPATH=C:\\a", false, true, L"C:\\a", L"", Problem::None},
    {L"APPDIR=C:\\a", false, true, L"C:\\a", L"", Problem::None},
    {L"-oC:\\a", false, true, L"C:\\a", L"", Problem::None},
    // several folder keys: refused, whatever they say
    {L"/DIR=C:\\a /D=C:\\b", false, true, L"C:\\b", L"", Problem::SeveralFolders},
    {L"/dir=C:\\a /dir=C:\\a", false, true, L"C:\\a", L"", Problem::SeveralFolders},
    // the log file, quoted or not; unknown tokens are ignored
    {L"/LOG=C:\\t\\kp.log /x --y", false, false, L"", L"C:\\t\\kp.log", Problem::None},
    {L"/log=\"C:\\a b\\kp.log\" /S", true, false, L"", L"C:\\a b\\kp.log", Problem::None},
    // bytes that were not UTF-8 arrive as U+FFFD: a folder made of them is not trusted
    {L"/S /D=C:\\\xFFFD\xFFFD", true, true, L"C:\\\xFFFD\xFFFD", L"", Problem::GarbledFolder},
    {L"\xFFFD /S \xFFFD", true, false, L"", L"", Problem::None},
};

INSTANTIATE_TEST_SUITE_P(Lines, ParseCommandLineTable, ::testing::ValuesIn(kRows));

TEST(ParseCommandLine, AnOverLongLineIsReadWhole)
{
    const std::wstring folder = L"C:\\" + std::wstring(40000, L'x');
    const CommandLineOptions o = ParseCommandLine(L"/S /D=" + folder);
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.directory, folder);
}
