#include <gtest/gtest.h>

#include <set>

#include "ui/render/FontFace.h"

using namespace SkinUI::Render;

namespace {

struct FakeFonts {
    std::set<std::wstring> installed;
    std::vector<std::wstring> asked;
    std::function<bool(const std::wstring&)> Probe()
    {
        return [this](const std::wstring& face) {
            asked.push_back(face);
            return installed.count(face) != 0;
        };
    }
};

}  // namespace

TEST(FontFace, InstalledFaceIsUsedAsRequested)
{
    FakeFonts fonts{{L"Arial", L"Microsoft YaHei"}, {}};
    EXPECT_EQ(ChooseFontFace(L"Arial", fonts.Probe(), L"Tahoma"), L"Arial");
    EXPECT_EQ(fonts.asked, std::vector<std::wstring>{L"Arial"});
}

TEST(FontFace, MissingFaceFallsBackInOrder)
{
    FakeFonts both{{L"Microsoft YaHei", L"SimSun"}, {}};
    EXPECT_EQ(ChooseFontFace(L"Arial Narrow", both.Probe(), L"Tahoma"), L"Microsoft YaHei");
    FakeFonts simsun{{L"SimSun"}, {}};
    EXPECT_EQ(ChooseFontFace(L"微软雅黑", simsun.Probe(), L"Tahoma"), L"SimSun");
    FakeFonts none{{}, {}};
    EXPECT_EQ(ChooseFontFace(L"微软雅黑", none.Probe(), L"Tahoma"), L"Tahoma");
    EXPECT_EQ(ChooseFontFace(L"", none.Probe(), L"Tahoma"), L"Tahoma");
    EXPECT_TRUE(none.asked.size() == 3u);  // the request and both fallbacks; the empty request asks nothing
}

TEST(FontFace, LongNamesAreCutToWhatGdiKeeps)
{
    std::wstring longName(40, L'x');
    FakeFonts fonts{{std::wstring(31, L'x')}, {}};
    EXPECT_EQ(ChooseFontFace(longName, fonts.Probe(), L"Tahoma"), std::wstring(31, L'x'));
}
