#include <gtest/gtest.h>

#include <string>

#include "pages/InstallFolderRule.h"

namespace {

struct FolderCase {
    std::wstring folder;
    FolderRefusal expected;
};

TEST(InstallFolderRule, RefusesWhatWouldBreakThePackageOrThePath)
{
    const FolderCase cases[] = {
        {L"C:\\Program Files (x86)\\KPCapture", FolderRefusal::None},
        {L"d:/Tools/Rec", FolderRefusal::None},
        {L"D:\\凯普\\录屏", FolderRefusal::None},
        {L"D:\\a-b\\x- y", FolderRefusal::None},  // a hyphen without the space before it is harmless
        {L"", FolderRefusal::Empty},
        {L"D:\\x -dsc=false", FolderRefusal::BreaksCommandLine},
        {L"D:\\x\" -instdir=C:\\Windows", FolderRefusal::BreaksCommandLine},
        {L"D:\\x\"", FolderRefusal::BreaksCommandLine},
        {L"D:\\a|b", FolderRefusal::BadCharacter},
        {L"D:\\a?b", FolderRefusal::BadCharacter},
        {L"D:\\a*", FolderRefusal::BadCharacter},
        {L"D:\\a<b>", FolderRefusal::BadCharacter},
        {L"D:\\a:b", FolderRefusal::BadCharacter},
        {std::wstring(L"D:\\a") + L'\t' + L"b", FolderRefusal::BadCharacter},
        {std::wstring(L"D:\\a") + L'\0' + L"b", FolderRefusal::BadCharacter},
        {L"Program Files\\KPCapture", FolderRefusal::NotAbsolute},
        {L"\\\\server\\share\\KP", FolderRefusal::NotAbsolute},
        {L"D:", FolderRefusal::NotAbsolute},
        {L"D:\\", FolderRefusal::NotAbsolute},
        {L"D:KPCapture", FolderRefusal::NotAbsolute},
        {L"1:\\KPCapture", FolderRefusal::NotAbsolute},
    };
    for (const FolderCase& c : cases)
        EXPECT_EQ(CheckInstallFolderText(c.folder), c.expected) << std::string(c.folder.begin(), c.folder.end());
}

TEST(InstallFolderRule, TheApplicationPathMustFitInAClassicPath)
{
    // "\KPCapture\KPApp.exe" is 20 characters; with the terminating zero the longest folder is 239.
    const std::wstring longest = L"C:\\" + std::wstring(kMaxInstallFolderLength - 3, L'x');
    const std::wstring application = longest + L"\\KPCapture\\KPApp.exe";
    EXPECT_EQ(application.size(), 259u);
    EXPECT_EQ(CheckInstallFolderText(longest), FolderRefusal::None);
    EXPECT_EQ(CheckInstallFolderText(longest + L"x"), FolderRefusal::TooLong);
}

TEST(InstallFolderRule, EveryRefusalIsExplained)
{
    EXPECT_TRUE(FolderRefusalText(FolderRefusal::None).empty());
    for (FolderRefusal r : {FolderRefusal::Empty, FolderRefusal::NotAbsolute, FolderRefusal::BreaksCommandLine,
                            FolderRefusal::BadCharacter, FolderRefusal::TooLong, FolderRefusal::IsFile})
        EXPECT_FALSE(FolderRefusalText(r).empty());
}

}  // namespace
