// The framework's resource code against the real skin archive that the build packs into KPSetup:
// both documents load, every image decodes, and the display-scale variants are chosen and sized
// as the documents expect.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/image/DpiVariant.h"
#include "ui/image/ImageCache.h"
#include "ui/image/ImageLoader.h"
#include "ui/markup/Markup.h"
#include "ui/resources/SkinMarkup.h"
#include "ui/resources/SkinResources.h"

using namespace SkinUI;

namespace {

struct Listed {
    std::wstring name;  // as the documents write it
    int width;
    int height;
    bool variants;
};

std::vector<Listed> ListedImages()
{
    std::vector<Listed> out;
    auto states = [&](const std::wstring& stem, int w, int h, bool variants) {
        for (const wchar_t* state : {L"", L"_hover", L"_press"})
            out.push_back({stem + state + L".png", w, h, variants});
    };
    for (int page = 1; page <= 4; ++page) {
        out.push_back({L"Install uninstall\\table_bg_install_0" + std::to_wstring(page) + L".png", 700, 420, true});
    }
    states(L"Install uninstall\\btn_Install_new_package", 146, 44, true);
    states(L"Install uninstall\\btn_complete_the_uninstall", 96, 36, true);
    states(L"Install uninstall\\btn_modify_path", 60, 32, true);
    out.push_back({L"btn_multiple_choice.png", 18, 18, true});
    out.push_back({L"btn_multiple_choice_select.png", 18, 18, true});
    states(L"btn_return", 24, 24, true);
    states(L"icon_public_close", 20, 20, true);
    states(L"icon_public_hide", 20, 20, true);
    out.push_back({L"icon_pupup_tips.png", 24, 24, true});
    out.push_back({L"path_bkimage.png", 520, 40, false});
    out.push_back({L"table_bg_progress_bar.png", 103, 14, false});
    out.push_back({L"table_progress_bar.png", 103, 14, false});
    states(L"table_slide_bar", 6, 64, false);
    out.push_back({L"icon_bg_pop_up_prompt.png", 417, 213, false});
    out.push_back({L"table_bg_Installation_path.png", 520, 40, false});
    out.push_back({L"table_popup_bg.png", 417, 212, false});
    out.push_back({L"table_scroll_bar.png", 4, 64, false});
    return out;
}

// A variant's pixel size: base x factor, halves rounded up.
int Scaled(int base, int scalePercent) { return static_cast<int>(std::floor(base * scalePercent / 100.0 + 0.5)); }

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class SkinImagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::ifstream in(KP_SKIN_ZIP, std::ios::binary);
        s_archive.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void SetUp() override
    {
        ASSERT_FALSE(s_archive.empty()) << "cannot read " << KP_SKIN_ZIP;
        CSkinResources::Reset();
        CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
        ASSERT_TRUE(CSkinResources::OpenResourceArchive(s_archive.data(), s_archive.size()));
    }
    void TearDown() override { CSkinResources::Reset(); }

    static std::vector<char> s_archive;
};

std::vector<char> SkinImagesTest::s_archive;

}  // namespace

TEST_F(SkinImagesTest, BothDocumentsLoad)
{
    for (const wchar_t* name : {L"KPMainFrame.xml", L"KPMsgBox.xml"}) {
        CMarkup markup;
        EXPECT_TRUE(LoadSkinMarkup(markup, name)) << Narrow(name) << ": " << Narrow(markup.GetLastErrorMessage());
        EXPECT_EQ(markup.GetRoot().GetName(), L"Window");
    }
}

TEST_F(SkinImagesTest, EveryImageMemberDecodes)
{
    int images = 0;
    for (const std::wstring& member : CSkinResources::ListArchiveMembers()) {
        if (member.size() < 4 || member.compare(member.size() - 4, 4, L".xml") == 0 || member.back() == L'/') {
            continue;
        }
        ++images;
        const auto image = LoadImageByName(member, L"", 0);
        ASSERT_TRUE(image) << Narrow(member);
        EXPECT_EQ(image->pixels.size(), static_cast<size_t>(image->width) * image->height * 4) << Narrow(member);
    }
    EXPECT_GE(images, 5 * 23 + 12);  // the listed images, their variants and the plain-only ones
}

TEST_F(SkinImagesTest, EachScaleDrawsTheRightVariantAtItsListedSize)
{
    CImageCache cache(LoadImageByName);
    for (int scale : {100, 125, 150, 175, 200, 115}) {
        for (const Listed& listed : ListedImages()) {
            SCOPED_TRACE(Narrow(listed.name) + " at " + std::to_string(scale));
            double imageScale = 0;
            const std::wstring chosen = cache.ResolveDpiVariant(listed.name, L"", 0, scale, imageScale);
            const bool variant = listed.variants && scale % 25 == 0 && scale != 100;
            EXPECT_EQ(chosen, variant ? MakeDpiVariantName(listed.name, scale) : listed.name);
            EXPECT_EQ(imageScale, variant ? scale / 100.0 : 1.0);
            const auto image = cache.GetImage(chosen);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->width, variant ? Scaled(listed.width, scale) : listed.width);
            EXPECT_EQ(image->height, variant ? Scaled(listed.height, scale) : listed.height);
            EXPECT_EQ(image->scale, imageScale);
        }
    }
}

TEST_F(SkinImagesTest, ImagesTheDocumentsNameButTheSkinMayLackDrawNothingWithoutFailing)
{
    // Named by the documents; whether the skin supplies them is the skin's choice, but asking for
    // one never fails harder than "no image", and the answer is the same the second time.
    CImageCache cache(LoadImageByName);
    for (const wchar_t* name : {L"btn_unchecked.png", L"btn_select.png", L"icon_Install_and_uninstall_small.png",
                                L"image15\\table_slide_bar.png", L"scrollbar.bmp"}) {
        const auto first = cache.GetImage(name, L"", name == std::wstring(L"scrollbar.bmp") ? 0xFFFF00FF : 0);
        EXPECT_EQ(cache.GetImage(name, L"", name == std::wstring(L"scrollbar.bmp") ? 0xFFFF00FF : 0), first);
    }
    EXPECT_EQ(cache.LoadCount(), 5u);
}
