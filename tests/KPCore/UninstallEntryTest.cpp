#include <gtest/gtest.h>

#include "KPCore/inner/UninstallEntry.h"

TEST(UninstallSubKey, NamesTheUninstallListOfTheRightViewThenTheGuid)
{
    EXPECT_EQ(UninstallSubKey(true),
              L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
              L"{5E1A0C42-7B3D-4F19-A8C6-2D9E04B7F153}");
    EXPECT_EQ(UninstallSubKey(false),
              L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5E1A0C42-7B3D-4F19-A8C6-2D9E04B7F153}");
}

TEST(UninstallValues, JoinsTheFolderUnchangedInTheWrittenOrder)
{
    const std::vector<UninstallValue> values = UninstallValues(L"D:\\Tools\\Rec");
    ASSERT_EQ(values.size(), 6u);
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"DisplayName", L"凯普视频工坊"},
        {L"DisplayIcon", L"D:\\Tools\\Rec\\KPApp.exe"},
        {L"UninstallString", L"\"D:\\Tools\\Rec\\KPUnInstall.exe\""},
        {L"InstallLocation", L"D:\\Tools\\Rec"},
        {L"DisplayVersion", L"12.0.0.0"},
        {L"Publisher", L"凯普信息科技有限公司"},
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].name, expected[i].first) << i;
        EXPECT_EQ(values[i].data, expected[i].second) << i;
    }
}

TEST(UninstallValues, AFolderWithATrailingBackslashIsNotTidied)
{
    const std::vector<UninstallValue> values = UninstallValues(L"E:\\");
    EXPECT_EQ(values[1].data, L"E:\\\\KPApp.exe");
    EXPECT_EQ(values[3].data, L"E:\\");
    EXPECT_EQ(UninstallValues(L"")[2].data, L"\"\\KPUnInstall.exe\"");
}
