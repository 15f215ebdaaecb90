// Start-up skin loading from the program's own resources (this test program carries a small skin
// archive as KPZIP_RES/113 and an image as resource "LOGO.PNG" of type "PNG").
#include "ui/win/ResourceWin.h"

#include <gtest/gtest.h>

#include "ui/image/ImageCache.h"
#include "ui/image/ImageLoader.h"
#include "ui/markup/Markup.h"
#include "ui/resources/ExeResource.h"
#include "ui/resources/ResourceIndex.h"
#include "ui/resources/SkinMarkup.h"
#include "ui/resources/SkinResources.h"

using namespace SkinUI;

namespace {

class ResourceWinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSkinResources::Reset();
        CResourceIndex::Clear();
    }
    void TearDown() override
    {
        CSkinResources::Reset();
        CResourceIndex::Clear();
        SetExeResourceReader(nullptr);
    }
};

}  // namespace

TEST_F(ResourceWinTest, TheArchiveInTheExecutableServesDocumentsAndImages)
{
    HMODULE self = GetModuleHandleW(nullptr);
    ASSERT_TRUE(LoadSkinFromResource(self));
    EXPECT_EQ(CSkinResources::GetResourceMode(), UILIB_ZIPRESOURCE);
    EXPECT_EQ(CSkinResources::GetResourceZipName(), L"membuffer");
    EXPECT_TRUE(CSkinResources::IsResourceZipCached());
    const std::wstring folder = CSkinResources::GetResourceFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(GetFileAttributesW((folder + L"ui_win_ResourceWinTest.exe").c_str()) != INVALID_FILE_ATTRIBUTES, true);

    CMarkup markup;
    ASSERT_TRUE(LoadSkinMarkup(markup, L"KPMainFrame.xml"))
        << std::string(markup.GetLastErrorMessage().begin(), markup.GetLastErrorMessage().end());
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"size"), L"700,420");

    std::vector<unsigned char> bytes;
    std::wstring error;
    ASSERT_TRUE(CSkinResources::ReadMember(L"install uninstall\\TABLE_BG_INSTALL_01.PNG", bytes, error));
    const auto background = LoadImageByName(L"Install uninstall\\table_bg_install_01.png", L"", 0);
    ASSERT_TRUE(background);
    EXPECT_EQ(background->width, 7);
    EXPECT_EQ(background->height, 4);

    // The archive's res.xml was loaded as the resource index.
    EXPECT_EQ(CResourceIndex::TranslateImage(L"logo.png"), L"Install uninstall\\table_bg_install_01.png");

    // A second start-up call keeps the first archive.
    EXPECT_TRUE(LoadSkinFromResource(self));
    EXPECT_TRUE(CSkinResources::ReadMember(L"KPMainFrame.xml", bytes, error));
}

TEST_F(ResourceWinTest, ImagesWithAResourceTypeComeFromTheExecutable)
{
    ASSERT_TRUE(LoadSkinFromResource(GetModuleHandleW(nullptr)));
    const auto logo = LoadImageByName(L"logo.png", L"PNG", 0);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width, 3);
    EXPECT_EQ(logo->height, 2);
    EXPECT_TRUE(logo->hasAlpha);
    EXPECT_EQ(logo->pixels[2], 128);  // red 255 premultiplied by alpha 128
    EXPECT_FALSE(LoadImageByName(L"missing.png", L"PNG", 0));
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(ReadModuleResource(GetModuleHandleW(nullptr), L"PNG", L"logo.png", bytes));
    EXPECT_FALSE(ReadModuleResource(GetModuleHandleW(nullptr), L"PNG", L"other.png", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(ResourceWinTest, AModuleWithoutTheSkinOpensNothing)
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_FALSE(LoadSkinFromResource(kernel));
    EXPECT_EQ(CSkinResources::GetResourceMode(), UILIB_ZIPRESOURCE);
    EXPECT_FALSE(CSkinResources::IsResourceArchiveOpen());
    CMarkup markup;
    EXPECT_FALSE(LoadSkinMarkup(markup, L"KPMainFrame.xml"));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Error opening zip file");
    EXPECT_EQ(CResourceIndex::ImageCount(), 0u);
}
