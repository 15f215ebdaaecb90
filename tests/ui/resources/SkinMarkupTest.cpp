// Loading layout documents by name from the skin.
#include <gtest/gtest.h>

#include <string>

#include "ui/markup/Markup.h"
#include "ui/resources/SkinMarkup.h"
#include "ui/resources/SkinResources.h"
#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ToBytes;
using SkinTest::ZipBuilder;

namespace {

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
    "<Window size=\"700,420\">\r\n  <VerticalLayout name=\"verRoot\" />\r\n</Window>\r\n";

// A well-formed document of exactly `size` bytes (padded with white space after the root).
std::string DocumentOfSize(size_t size)
{
    std::string text = "<Window size=\"1,2\" />";
    text.resize(size, ' ');
    return text;
}

Bytes Utf16LeWithBom(const std::string& ascii)
{
    Bytes out{0xFF, 0xFE};
    for (char c : ascii) {
        out.push_back(static_cast<unsigned char>(c));
        out.push_back(0);
    }
    return out;
}

void ExpectWindowDocument(const CMarkup& markup)
{
    ASSERT_TRUE(markup.IsValid());
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(root.GetName(), L"Window");
    EXPECT_EQ(root.GetAttributeValue(L"size"), L"700,420");
    EXPECT_EQ(root.GetChild().GetAttributeValue(L"name"), L"verRoot");
}

class MarkupFileTest : public ::testing::Test {
protected:
    void SetUp() override { CSkinResources::Reset(); }
    void TearDown() override { CSkinResources::Reset(); }

    static std::wstring ErrorOf(const std::wstring& name)
    {
        CMarkup markup;
        EXPECT_FALSE(LoadSkinMarkup(markup, name));
        EXPECT_FALSE(markup.IsValid());
        return markup.GetLastErrorMessage();
    }
};

}  // namespace

TEST_F(MarkupFileTest, ANameStartingWithAnAngleBracketIsTheDocumentItself)
{
    CMarkup markup;
    ASSERT_TRUE(LoadSkinMarkup(markup, L"<Window size=\"700,420\"><VerticalLayout name=\"verRoot\"/></Window>"));
    ExpectWindowDocument(markup);
}

TEST_F(MarkupFileTest, DocumentsFromTheArchiveWithAndWithoutByteOrderMark)
{
    static const Bytes zip = ZipBuilder()
                                 .Add("KPMainFrame.xml", kDocument)
                                 .Add("WithBom.xml", "\xEF\xBB\xBF" + kDocument)
                                 .Add("Utf16.xml", Utf16LeWithBom(kDocument))
                                 .Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    CMarkup plain;
    ASSERT_TRUE(LoadSkinMarkup(plain, L"kpmainframe.xml"));
    ExpectWindowDocument(plain);
    CMarkup withBom;
    ASSERT_TRUE(LoadSkinMarkup(withBom, L"WithBom.xml"));
    ExpectWindowDocument(withBom);
    CMarkup utf16;
    ASSERT_TRUE(LoadSkinMarkup(utf16, L"Utf16.xml", XMLFILE_ENCODING_UNICODE));
    ExpectWindowDocument(utf16);
}

TEST_F(MarkupFileTest, ArchiveFailuresBecomeTheParsersLastError)
{
    static const Bytes zip = ZipBuilder()
                                 .Add("empty.xml", "")
                                 .Add("limit.xml", DocumentOfSize(0x400000))
                                 .Add("over.xml", DocumentOfSize(0x400001))
                                 .Add(SkinTest::ZipMember{"corrupt.xml", ToBytes(kDocument), true, -1, -1, 99})
                                 .Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    EXPECT_EQ(ErrorOf(L"KPMainFrame.xml"), L"Error opening zip file");
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    EXPECT_EQ(ErrorOf(L"KPMainFrame.xml"), L"Could not find ziped file");
    EXPECT_EQ(ErrorOf(L"empty.xml"), L"File is empty");
    EXPECT_EQ(ErrorOf(L"over.xml"), L"File too large");
    EXPECT_EQ(ErrorOf(L"corrupt.xml"), L"Could not unzip file");
    CMarkup markup;
    EXPECT_TRUE(LoadSkinMarkup(markup, L"limit.xml"));  // exactly 4 MiB is still accepted
}

TEST_F(MarkupFileTest, FolderFailuresBecomeTheParsersLastError)
{
    SkinTest::TempFolder folder("markup");
    folder.Write("KPMsgBox.xml", ToBytes(kDocument));
    folder.Write("empty.xml", Bytes());
    folder.Write("over.xml", ToBytes(DocumentOfSize(0x400001)));
    CSkinResources::SetResourceFolder(folder.WPath());
    CMarkup markup;
    ASSERT_TRUE(LoadSkinMarkup(markup, L"KPMsgBox.xml"));
    ExpectWindowDocument(markup);
    EXPECT_EQ(ErrorOf(L"missing.xml"), L"Error opening file");
    EXPECT_EQ(ErrorOf(L"empty.xml"), L"File is empty");
    EXPECT_EQ(ErrorOf(L"over.xml"), L"File too large");
}

TEST_F(MarkupFileTest, AFailedLoadDropsTheTreeOfAnEarlierOne)
{
    CMarkup markup;
    ASSERT_TRUE(LoadSkinMarkup(markup, L"<Window/>"));
    EXPECT_FALSE(LoadSkinMarkup(markup, L"missing.xml"));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Error opening file");
}
