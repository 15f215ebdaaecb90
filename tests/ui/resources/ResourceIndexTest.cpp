#include "ui/resources/ResourceIndex.h"

#include <gtest/gtest.h>

#include "ui/resources/SkinResources.h"
#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ZipBuilder;

namespace {

class ResourceIndexTest : public ::testing::Test {
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
    }
};

const char kIndex[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<Resources>\r\n"
    "  <!-- aliases -->\r\n"
    "  <Image name=\"logo.png\" file=\"Install uninstall\\logo_large.png\" />\r\n"
    "  <IMAGE NAME=\"skin/Close.png\" FILE=\"icon_public_close.png\" />\r\n"
    "  <Image name=\"logo.png\" file=\"second-entry-loses.png\" />\r\n"
    "  <Image name=\"no-file.png\" />\r\n"
    "  <Font name=\"ignored.png\" file=\"ignored\" />\r\n"
    "</Resources>\r\n";

}  // namespace

TEST_F(ResourceIndexTest, WithoutAnIndexNamesAreUsedAsWritten)
{
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    static const Bytes zip = ZipBuilder().Add("KPMainFrame.xml", "<Window/>").Build();
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    EXPECT_FALSE(CResourceIndex::Load(L"res.xml"));
    EXPECT_EQ(CResourceIndex::ImageCount(), 0u);
    EXPECT_EQ(CResourceIndex::TranslateImage(L"Install uninstall\\btn.png"), L"Install uninstall\\btn.png");
}

TEST_F(ResourceIndexTest, AliasesTranslateWithoutRegardToCaseOrSeparator)
{
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    static const Bytes zip = ZipBuilder().Add("res.xml", kIndex).Build();
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    ASSERT_TRUE(CResourceIndex::Load(L"RES.XML"));
    EXPECT_EQ(CResourceIndex::ImageCount(), 2u);
    EXPECT_EQ(CResourceIndex::TranslateImage(L"LOGO.png"), L"Install uninstall\\logo_large.png");
    EXPECT_EQ(CResourceIndex::TranslateImage(L"skin\\close.PNG"), L"icon_public_close.png");
    EXPECT_EQ(CResourceIndex::TranslateImage(L"no-file.png"), L"no-file.png");
    EXPECT_EQ(CResourceIndex::TranslateImage(L"ignored.png"), L"ignored.png");
    // Not chained: a target is not translated again.
    EXPECT_EQ(CResourceIndex::TranslateImage(L"icon_public_close.png"), L"icon_public_close.png");
}

TEST_F(ResourceIndexTest, AFailedLoadLeavesNoIndex)
{
    ASSERT_TRUE(CResourceIndex::LoadFromText(L"<Resources><Image name=\"a.png\" file=\"b.png\"/></Resources>"));
    EXPECT_EQ(CResourceIndex::TranslateImage(L"a.png"), L"b.png");
    EXPECT_FALSE(CResourceIndex::LoadFromText(L"<Resources><Image name=\"a.png\""));
    EXPECT_EQ(CResourceIndex::TranslateImage(L"a.png"), L"a.png");
    ASSERT_TRUE(CResourceIndex::LoadFromText(L"<Resources><Image name=\"a.png\" file=\"b.png\"/></Resources>"));
    EXPECT_FALSE(CResourceIndex::Load(L"missing-res.xml"));
    EXPECT_EQ(CResourceIndex::TranslateImage(L"a.png"), L"a.png");
    // A resource type without a Windows resource reader finds nothing.
    EXPECT_FALSE(CResourceIndex::Load(L"res.xml", L"XML"));
}
