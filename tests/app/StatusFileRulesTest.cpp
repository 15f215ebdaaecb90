#include <gtest/gtest.h>

#include "app/StatusFileRules.h"

TEST(RoamingDataDirFrom, CutsSixCharactersWhateverTheyAre)
{
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\Users\\kp\\AppData\\Local"), L"C:\\Users\\kp\\AppData\\Roaming\\KPCapture");
    EXPECT_EQ(RoamingDataDirFrom(L"D:\\Profiles\\kp\\LocalData"), L"D:\\Profiles\\kp\\Loc\\Roaming\\KPCapture");
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\\u51ef\u666e\\Local"), L"C:\\\u51ef\u666e\\Roaming\\KPCapture");
}

// Without a profile folder the status file has no place: never "\Roaming\KPCapture" at the root of
// whatever drive is current, nor a relative folder.
TEST(RoamingDataDirFrom, AShortOrMissingFolderHasNoPlace)
{
    EXPECT_EQ(RoamingDataDirFrom(L""), L"");
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\abc"), L"");
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\abcd"), L"");
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\abcdef"), L"");
    EXPECT_EQ(RoamingDataDirFrom(L"Users\\kp\\AppData\\Local"), L"");
    EXPECT_EQ(RoamingDataDirFrom(L"C:\\a\\Local"), L"C:\\a\\Roaming\\KPCapture");
    EXPECT_EQ(RoamingDataDirFrom(L"\\\\srv\\home\\kp\\Local"), L"\\\\srv\\home\\kp\\Roaming\\KPCapture");
}

TEST(StatusFilePathIn, AddsOneBackslashAndTheFileName)
{
    EXPECT_EQ(StatusFilePathIn(L"C:\\x\\KPCapture"), L"C:\\x\\KPCapture\\APP.ini");
    EXPECT_EQ(StatusFilePathIn(L"C:\\x\\"), L"C:\\x\\APP.ini");
}

TEST(StatusValues, OnlyTheDefaultChannelIsSeededAndOnlyAnExactOneFinishes)
{
    EXPECT_TRUE(ChannelNeedsSeed(L"error"));
    for (const wchar_t* kept : {L"", L"Error", L"error ", L"360dazido01", L"vendor7"})
        EXPECT_FALSE(ChannelNeedsSeed(kept)) << kept;

    EXPECT_TRUE(IsInstallFinished(L"1"));
    for (const wchar_t* notYet : {L"01", L"1 ", L" 1", L"true", L"", L"0", L"error", L"11"})
        EXPECT_FALSE(IsInstallFinished(notYet)) << notYet;
}

TEST(DirectoryCreationSteps, WalksEveryBackslashThenTheWholePath)
{
    using Steps = std::vector<std::wstring>;
    EXPECT_EQ(*DirectoryCreationSteps(L"C:\\a\\b"), (Steps{L"C:\\", L"C:\\a\\", L"C:\\a\\b"}));
    EXPECT_EQ(*DirectoryCreationSteps(L"C:\\a\\b\\"), (Steps{L"C:\\", L"C:\\a\\", L"C:\\a\\b\\"}));
    EXPECT_EQ(*DirectoryCreationSteps(L"\\Roaming\\KPCapture"),
              (Steps{L"\\", L"\\Roaming\\", L"\\Roaming\\KPCapture"}));
    // A forward slash is an ordinary character.
    EXPECT_EQ(*DirectoryCreationSteps(L"C:/a/b"), (Steps{L"C:/a/b"}));
    EXPECT_EQ(*DirectoryCreationSteps(L"C:\\a/b\\c"), (Steps{L"C:\\", L"C:\\a/b\\", L"C:\\a/b\\c"}));
}

TEST(DirectoryCreationSteps, RefusesPathsOf261CharactersOrMore)
{
    const std::wstring base = L"C:\\";
    EXPECT_TRUE(DirectoryCreationSteps(base + std::wstring(257, L'a')).has_value());   // 260
    EXPECT_FALSE(DirectoryCreationSteps(base + std::wstring(258, L'a')).has_value());  // 261
    EXPECT_FALSE(DirectoryCreationSteps(base + std::wstring(400, L'a')).has_value());
}
