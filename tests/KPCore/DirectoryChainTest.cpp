#include <gtest/gtest.h>

#include "KPCore/inner/DirectoryChain.h"
#include "KPCoreTestSupport.h"

using namespace kpcoretest;

TEST(CreateDirectoryChain, CreatesEveryMissingParentWithEitherSeparator)
{
    ScratchFolder folder;
    EXPECT_EQ(CreateDirectoryChain(folder.Path() + L"\\a/b\\凯普 视频/d"), 0);
    EXPECT_TRUE(DirectoryExists(folder / L"a"));
    EXPECT_TRUE(DirectoryExists(folder / L"a\\b"));
    EXPECT_TRUE(DirectoryExists(folder / L"a\\b\\凯普 视频"));
    EXPECT_TRUE(DirectoryExists(folder / L"a\\b\\凯普 视频\\d"));
}

TEST(CreateDirectoryChain, ExistingDirectoriesAndTrailingSeparatorsAreFine)
{
    ScratchFolder folder;
    ASSERT_EQ(CreateDirectoryChain(folder / L"x\\y\\"), 0);
    WriteFile(folder / L"x\\y\\kept.txt", "kept");
    EXPECT_EQ(CreateDirectoryChain(folder / L"x\\y"), 0);
    EXPECT_EQ(CreateDirectoryChain(folder / L"x/y/"), 0);
    EXPECT_TRUE(FileExists(folder / L"x\\y\\kept.txt"));
    EXPECT_FALSE(DirectoryExists(folder / L"x\\y\\x"));
}

TEST(CreateDirectoryChain, APathLongerThanItsBufferIsRefusedAndNothingIsMade)
{
    ScratchFolder folder;
    const std::wstring first = folder / L"first";
    std::wstring longPath = first + L"\\";
    longPath += std::wstring(260 - longPath.size(), L'z');  // 260 characters, no trailing separator
    ASSERT_EQ(longPath.size(), 260u);

    EXPECT_EQ(CreateDirectoryChain(longPath), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_FALSE(DirectoryExists(first));
    EXPECT_EQ(CreateDirectoryChain(longPath + std::wstring(4000, L'z')), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_FALSE(DirectoryExists(first));
}

TEST(CreateDirectoryChain, ADirectoryThatCannotBeMadeIsReported)
{
    ScratchFolder folder;
    WriteFile(folder / L"file", "a file is in the way");
    EXPECT_NE(CreateDirectoryChain(folder / L"file\\sub"), 0);
    EXPECT_FALSE(DirectoryExists(folder / L"file\\sub"));
    EXPECT_NE(CreateDirectoryChain(L""), 0);
}
