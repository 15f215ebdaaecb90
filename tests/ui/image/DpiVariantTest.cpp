#include "ui/image/DpiVariant.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>

#include "ui/image/ImageCache.h"
#include "ui/image/ImageLoader.h"
#include "ui/resources/SkinResources.h"
#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ZipBuilder;

TEST(DpiVariant, EveryDotGetsTheScaleSuffix)
{
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 150), L"btn@1.5x.png");
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 200), L"btn@2x.png");
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 125), L"btn@1.25x.png");
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 175), L"btn@1.75x.png");
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 115), L"btn@1.15x.png");
    EXPECT_EQ(MakeDpiVariantName(L"btn.png", 300), L"btn@3x.png");
    EXPECT_EQ(MakeDpiVariantName(L"Install uninstall\\table_bg_install_01.png", 200),
              L"Install uninstall\\table_bg_install_01@2x.png");
    EXPECT_EQ(MakeDpiVariantName(L"a.b.png", 150), L"a@1.5x.b@1.5x.png");
    EXPECT_EQ(MakeDpiVariantName(L"noextension", 150), L"noextension");
}

TEST(DpiVariant, ScaleFactorIsWrittenLikePercentGWithAPoint)
{
    EXPECT_EQ(FormatScaleFactor(1.5), L"1.5");
    EXPECT_EQ(FormatScaleFactor(2.0), L"2");
    EXPECT_EQ(FormatScaleFactor(1.15), L"1.15");
    EXPECT_EQ(FormatScaleFactor(2.5), L"2.5");
    EXPECT_EQ(FormatScaleFactor(1.0 / 3.0), L"0.333333");
    EXPECT_EQ(FormatScaleFactor(1234567.0), L"1.23457e+06");
}

// Under a locale whose decimal separator is a comma, printf would write "1,5"; the names must not
// change. Runs where such a locale exists (Windows and Wine have them; a bare Linux may not).
TEST(DpiVariant, NamesDoNotDependOnTheDecimalSeparatorOfTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252", "German", "deu"}) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found) {
        GTEST_SKIP() << "no locale with a decimal comma here";
    }
    char printed[16];
    std::snprintf(printed, sizeof(printed), "%g", 1.5);
    const std::wstring name = MakeDpiVariantName(L"btn.png", 150);
    const std::wstring factor = FormatScaleFactor(1.25);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(printed, "1,5") << "locale " << found << " should use a decimal comma";
    EXPECT_EQ(name, L"btn@1.5x.png");
    EXPECT_EQ(factor, L"1.25");
}

TEST(DpiVariant, ProbesStepDownByQuarterWhileAboveOneHundred)
{
    EXPECT_EQ(DpiProbeScales(200), (std::vector<int>{200, 175, 150, 125}));
    EXPECT_EQ(DpiProbeScales(175), (std::vector<int>{175, 150, 125}));
    EXPECT_EQ(DpiProbeScales(150), (std::vector<int>{150, 125}));
    EXPECT_EQ(DpiProbeScales(125), (std::vector<int>{125}));
    EXPECT_EQ(DpiProbeScales(115), (std::vector<int>{115}));
    EXPECT_EQ(DpiProbeScales(130), (std::vector<int>{130, 105}));
    EXPECT_EQ(DpiProbeScales(250), (std::vector<int>{250, 225, 200, 175, 150, 125}));
    EXPECT_TRUE(DpiProbeScales(100).empty());
    EXPECT_TRUE(DpiProbeScales(0).empty());
    EXPECT_TRUE(DpiProbeScales(-50).empty());
}

namespace {

// A skin with some variants: btn has @1.5x and @1.25x only, icon has none, bg has all.
class DpiResolveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSkinResources::Reset();
        static const Bytes zip = ZipBuilder()
                                     .Add("btn.png", SkinTest::SolidPng(10, 4, 0xFF000000))
                                     .Add("btn@1.5x.png", SkinTest::SolidPng(15, 6, 0xFF000000))
                                     .Add("btn@1.25x.png", SkinTest::SolidPng(13, 5, 0xFF000000))
                                     .Add("icon.png", SkinTest::SolidPng(20, 20, 0xFF000000))
                                     .Add("Install uninstall/bg.png", SkinTest::SolidPng(7, 4, 0xFF000000))
                                     .Add("Install uninstall/bg@1.75x.png", SkinTest::SolidPng(12, 7, 0xFF000000))
                                     .Add("Install uninstall/bg@2x.png", SkinTest::SolidPng(14, 8, 0xFF000000))
                                     .Add("a.b.png", SkinTest::SolidPng(1, 1, 0xFF000000))
                                     .Add("a.b@1.5x.png", SkinTest::SolidPng(1, 1, 0xFF000000))
                                     .Build();
        CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
        ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    }
    void TearDown() override { CSkinResources::Reset(); }

    // Resolves and returns the names the probe loaded.
    std::vector<std::wstring> Probe(const std::wstring& name, int scale, std::wstring& chosen, double& imageScale)
    {
        const size_t before = loaded.size();
        chosen = cache.ResolveDpiVariant(name, L"", 0, scale, imageScale);
        return std::vector<std::wstring>(loaded.begin() + static_cast<long>(before), loaded.end());
    }

    std::vector<std::wstring> loaded;
    CImageCache cache{[this](const std::wstring& name, const std::wstring& resType, UIColor mask) {
        loaded.push_back(name);
        return LoadImageByName(name, resType, mask);
    }};
};

using Names = std::vector<std::wstring>;

}  // namespace

TEST_F(DpiResolveTest, At200TheBestExistingVariantIsChosen)
{
    std::wstring chosen;
    double scale = 0;
    EXPECT_EQ(Probe(L"btn.png", 200, chosen, scale), (Names{L"btn@2x.png", L"btn@1.75x.png", L"btn@1.5x.png"}));
    EXPECT_EQ(chosen, L"btn@1.5x.png");
    EXPECT_EQ(scale, 1.5);
    EXPECT_EQ(Probe(L"Install uninstall\\bg.png", 200, chosen, scale), (Names{L"Install uninstall\\bg@2x.png"}));
    EXPECT_EQ(chosen, L"Install uninstall\\bg@2x.png");
    EXPECT_EQ(scale, 2.0);
    // No variant at all: every step down is tried, then the plain image (not loaded here).
    EXPECT_EQ(Probe(L"icon.png", 200, chosen, scale),
              (Names{L"icon@2x.png", L"icon@1.75x.png", L"icon@1.5x.png", L"icon@1.25x.png"}));
    EXPECT_EQ(chosen, L"icon.png");
    EXPECT_EQ(scale, 1.0);
}

TEST_F(DpiResolveTest, OtherScalesStartAtTheirOwnFactor)
{
    std::wstring chosen;
    double scale = 0;
    EXPECT_EQ(Probe(L"icon.png", 175, chosen, scale), (Names{L"icon@1.75x.png", L"icon@1.5x.png", L"icon@1.25x.png"}));
    EXPECT_EQ(chosen, L"icon.png");
    EXPECT_EQ(Probe(L"btn.png", 150, chosen, scale), (Names{L"btn@1.5x.png"}));
    EXPECT_EQ(chosen, L"btn@1.5x.png");
    EXPECT_EQ(Probe(L"btn.png", 125, chosen, scale), (Names{L"btn@1.25x.png"}));
    EXPECT_EQ(chosen, L"btn@1.25x.png");
    EXPECT_EQ(scale, 1.25);
    EXPECT_EQ(Probe(L"Install uninstall\\bg.png", 150, chosen, scale),
              (Names{L"Install uninstall\\bg@1.5x.png", L"Install uninstall\\bg@1.25x.png"}));
    EXPECT_EQ(chosen, L"Install uninstall\\bg.png");
    // 110 DPI: its own factor only, then the plain image.
    EXPECT_EQ(Probe(L"btn.png", 115, chosen, scale), (Names{L"btn@1.15x.png"}));
    EXPECT_EQ(chosen, L"btn.png");
    EXPECT_EQ(scale, 1.0);
    // 100 %: nothing is looked for.
    EXPECT_TRUE(Probe(L"btn.png", 100, chosen, scale).empty());
    EXPECT_EQ(chosen, L"btn.png");
    EXPECT_EQ(scale, 1.0);
}

TEST_F(DpiResolveTest, TwoDotNamesGetTheSuffixTwiceAndFallBack)
{
    std::wstring chosen;
    double scale = 0;
    EXPECT_EQ(Probe(L"a.b.png", 150, chosen, scale), (Names{L"a@1.5x.b@1.5x.png", L"a@1.25x.b@1.25x.png"}));
    EXPECT_EQ(chosen, L"a.b.png");  // "a.b@1.5x.png" exists but is not what the rule asks for
    EXPECT_EQ(scale, 1.0);
}

TEST_F(DpiResolveTest, ResolvedOnceAndProbedImagesStayDecoded)
{
    std::wstring chosen;
    double scale = 0;
    Probe(L"btn.png", 200, chosen, scale);
    const size_t loads = loaded.size();
    // The same name and scale again, in another spelling: answered from memory.
    EXPECT_TRUE(Probe(L"BTN.PNG", 200, chosen, scale).empty());
    EXPECT_EQ(chosen, L"btn@1.5x.png");
    EXPECT_EQ(scale, 1.5);
    // The drawing code then asks for the chosen image: the probe's decode is reused, with its scale.
    const auto image = cache.GetImage(L"btn@1.5x.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 15);
    EXPECT_EQ(image->scale, 1.5);
    // Another scale reuses what the first probe learnt, failures included.
    EXPECT_TRUE(Probe(L"btn.png", 175, chosen, scale).empty());
    EXPECT_EQ(chosen, L"btn@1.5x.png");
    EXPECT_EQ(loaded.size(), loads);
}

TEST_F(DpiResolveTest, AVariantLoadedPlainlyFirstGetsItsScaleFromTheProbe)
{
    const auto early = cache.GetImage(L"btn@1.25x.png");
    ASSERT_TRUE(early);
    EXPECT_EQ(early->scale, 1.0);
    std::wstring chosen;
    double scale = 0;
    EXPECT_EQ(Probe(L"btn.png", 125, chosen, scale), Names{});
    EXPECT_EQ(scale, 1.25);
    const auto later = cache.GetImage(L"btn@1.25x.png");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->scale, 1.25);
    EXPECT_EQ(later->pixels, early->pixels);
    EXPECT_EQ(early->scale, 1.0);  // what a holder already has does not change under it
}

TEST_F(DpiResolveTest, TheFreeFunctionUsesTheProcessWideCache)
{
    CImageCache::Instance().Clear();
    double scale = 0;
    EXPECT_EQ(ResolveDpiVariant(L"Install uninstall/bg.png", L"", 0, 175, scale), L"Install uninstall/bg@1.75x.png");
    EXPECT_EQ(scale, 1.75);
    const size_t loads = CImageCache::Instance().LoadCount();
    const auto image = GetImage(L"install uninstall\\BG@1.75X.PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 12);
    EXPECT_EQ(CImageCache::Instance().LoadCount(), loads);
    CImageCache::Instance().Clear();
}

// The program is usually started from a Downloads folder: files planted there under the names of
// skin images, or of DPI variants the archive does not ship, must never be drawn.
TEST_F(DpiResolveTest, AnArchiveSkinNeverReadsImagesFromTheCurrentFolder)
{
    SkinTest::TempFolder downloads("planted");
    const Bytes red = SkinTest::SolidPng(40, 40, 0xFFFF0000);
    downloads.Write("icon@2x.png", red);
    downloads.Write("icon@1.25x.png", red);
    const std::filesystem::path absolute = downloads.Write("elsewhere.png", red);
    downloads.Write("planted.png", red);
    struct InFolder {
        const std::filesystem::path previous = std::filesystem::current_path();
        explicit InFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
        ~InFolder() { std::filesystem::current_path(previous); }
    } inDownloads(downloads.Path());

    std::wstring chosen;
    double scale = 0;
    EXPECT_EQ(Probe(L"icon.png", 200, chosen, scale).size(), 4u);
    EXPECT_EQ(chosen, L"icon.png");
    EXPECT_EQ(scale, 1.0);
    EXPECT_EQ(LoadImageByName(L"planted.png", L"", 0), nullptr);
    EXPECT_EQ(LoadImageByName(absolute.wstring(), L"", 0), nullptr);
    // What the archive holds is drawn as before.
    const auto icon = LoadImageByName(L"icon.png", L"", 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 20);

    // A skin read from a folder still finds files by their own path.
    CSkinResources::Reset();
    EXPECT_NE(LoadImageByName(L"planted.png", L"", 0), nullptr);
}
