#include "ui/resources/SkinResources.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ZipBuilder;

namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

class SkinResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { CSkinResources::Reset(); }
    void TearDown() override { CSkinResources::Reset(); }

    // Reads `name`, expecting failure with `error`.
    static void ExpectError(const std::wstring& name, const std::wstring& error, size_t maxBytes = kMaxDocumentBytes)
    {
        Bytes bytes;
        std::wstring text;
        EXPECT_FALSE(CSkinResources::ReadMember(name, bytes, text, maxBytes));
        EXPECT_EQ(text, error);
        EXPECT_TRUE(bytes.empty());
    }
    static std::string Read(const std::wstring& name)
    {
        Bytes bytes;
        std::wstring text;
        EXPECT_TRUE(CSkinResources::ReadMember(name, bytes, text)) << std::string(text.begin(), text.end());
        return Text(bytes);
    }
};

}  // namespace

TEST_F(SkinResourcesTest, FolderGetsATrailingSeparatorUnlessItHasOne)
{
    CSkinResources::SetResourceFolder(L"C:\\skin");
    EXPECT_EQ(CSkinResources::GetResourceFolder(), L"C:\\skin\\");
    CSkinResources::SetResourceFolder(L"C:\\skin\\");
    EXPECT_EQ(CSkinResources::GetResourceFolder(), L"C:\\skin\\");
    CSkinResources::SetResourceFolder(L"/opt/skin/");
    EXPECT_EQ(CSkinResources::GetResourceFolder(), L"/opt/skin/");
    CSkinResources::SetResourceFolder(L"");
    EXPECT_EQ(CSkinResources::GetResourceFolder(), L"");
    EXPECT_EQ(CSkinResources::GetResourceMode(), UILIB_FILE);
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    EXPECT_EQ(CSkinResources::GetResourceMode(), UILIB_ZIPRESOURCE);
}

TEST_F(SkinResourcesTest, MemoryArchiveServesMembersAndTheFirstBufferWins)
{
    static const Bytes first = ZipBuilder()
                                   .Add("KPMainFrame.xml", "first")
                                   .Add("Install uninstall/table_bg_install_01.png", "bg", false)
                                   .Build();
    static const Bytes second = ZipBuilder().Add("KPMainFrame.xml", "second").Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(first.data(), first.size()));
    EXPECT_EQ(CSkinResources::GetResourceZipName(), L"membuffer");
    EXPECT_TRUE(CSkinResources::IsResourceZipCached());
    EXPECT_TRUE(CSkinResources::OpenResourceArchive(second.data(), second.size(), "ignored"));
    EXPECT_EQ(CSkinResources::GetResourceZipPassword(), "");
    EXPECT_EQ(Read(L"kpmainframe.xml"), "first");
    EXPECT_EQ(Read(L"Install uninstall\\table_bg_install_01.png"), "bg");
    EXPECT_EQ(Read(L"install uninstall/TABLE_BG_INSTALL_01.PNG"), "bg");
    // The resource folder plays no part for an archive in memory.
    CSkinResources::SetResourceFolder(L"/nowhere");
    EXPECT_EQ(Read(L"KPMainFrame.xml"), "first");
    const auto names = CSkinResources::ListArchiveMembers();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1], L"Install uninstall/table_bg_install_01.png");
}

TEST_F(SkinResourcesTest, ArchiveErrorTexts)
{
    static const Bytes zip = ZipBuilder()
                                 .Add("empty.xml", "")
                                 .Add("big.xml", std::string(kMaxDocumentBytes + 1, ' '))
                                 .Add("limit.xml", std::string(kMaxDocumentBytes, ' '))
                                 .Add(SkinTest::ZipMember{"broken.xml", SkinTest::ToBytes("abc"), true, -1, -1, 1})
                                 .Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    // Nothing opened yet.
    ExpectError(L"KPMainFrame.xml", L"Error opening zip file");
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    ExpectError(L"KPMainFrame.xml", L"Could not find ziped file");
    ExpectError(L"empty.xml", L"File is empty");
    ExpectError(L"big.xml", L"File too large");
    ExpectError(L"broken.xml", L"Could not unzip file");
    Bytes bytes;
    std::wstring text;
    EXPECT_TRUE(CSkinResources::ReadMember(L"limit.xml", bytes, text, kMaxDocumentBytes));
    EXPECT_EQ(bytes.size(), kMaxDocumentBytes);
}

TEST_F(SkinResourcesTest, APasswordDoesNotDisturbPlainMembersAndEncryptedOnesFailCleanly)
{
    SkinTest::ZipMember locked{"locked.xml", SkinTest::ToBytes("secret"), false};
    locked.flaggedEncrypted = true;
    static const Bytes zip = ZipBuilder().Add("plain.xml", "plain").Add(locked).Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size(), "pass word"));
    EXPECT_EQ(CSkinResources::GetResourceZipPassword(), "pass word");
    EXPECT_EQ(Read(L"plain.xml"), "plain");
    ExpectError(L"locked.xml", L"Could not unzip file");
}

TEST_F(SkinResourcesTest, ABufferThatIsNoArchiveLeavesNothingOpenAndStillWins)
{
    static const std::string garbage = "this is not a zip archive at all, just text";
    static const Bytes good = ZipBuilder().Add("a.xml", "a").Build();
    CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
    EXPECT_FALSE(CSkinResources::OpenResourceArchive(garbage.data(), garbage.size()));
    EXPECT_FALSE(CSkinResources::OpenResourceArchive(good.data(), good.size()));
    ExpectError(L"a.xml", L"Error opening zip file");
}

TEST_F(SkinResourcesTest, FolderModeReadsFilesBesideTheResourcePath)
{
    SkinTest::TempFolder folder("mode1");
    folder.Write("KPMainFrame.xml", SkinTest::ToBytes("<Window />"));
    folder.Write("Install uninstall/btn.png", SkinTest::ToBytes("png"));
    folder.Write("empty.xml", Bytes());
    folder.Write("big.xml", Bytes(kMaxDocumentBytes + 1, ' '));
    CSkinResources::SetResourceMode(UILIB_FILE);
    CSkinResources::SetResourceFolder(folder.WPath());  // without a trailing separator
    EXPECT_EQ(Read(L"KPMainFrame.xml"), "<Window />");
    EXPECT_EQ(Read(L"Install uninstall\\btn.png"), "png");
    ExpectError(L"missing.xml", L"Error opening file");
    ExpectError(L"empty.xml", L"File is empty");
    ExpectError(L"big.xml", L"File too large");
}

TEST_F(SkinResourcesTest, ZipFileOnDiskCachedOrOpenedForEachRead)
{
    SkinTest::TempFolder folder("mode2");
    folder.Write("skin.zip", ZipBuilder().Add("KPMsgBox.xml", "box").Build());
    CSkinResources::SetResourceMode(UILIB_ZIP);
    CSkinResources::SetResourceFolder(folder.WPath());

    ASSERT_TRUE(CSkinResources::OpenResourceArchiveFile(L"skin.zip", true));
    EXPECT_TRUE(CSkinResources::IsResourceArchiveOpen());
    EXPECT_EQ(Read(L"kpmsgbox.xml"), "box");

    ASSERT_TRUE(CSkinResources::OpenResourceArchiveFile(L"skin.zip", false));
    EXPECT_FALSE(CSkinResources::IsResourceArchiveOpen());
    EXPECT_EQ(Read(L"KPMsgBox.xml"), "box");
    // Opened per read: a changed file is seen by the next read.
    folder.Write("skin.zip", ZipBuilder().Add("KPMsgBox.xml", "new box").Build());
    EXPECT_EQ(Read(L"KPMsgBox.xml"), "new box");

    EXPECT_TRUE(CSkinResources::OpenResourceArchiveFile(L"missing.zip", false));
    ExpectError(L"KPMsgBox.xml", L"Error opening zip file");
    EXPECT_FALSE(CSkinResources::OpenResourceArchiveFile(L"missing.zip", true));
    ExpectError(L"KPMsgBox.xml", L"Error opening zip file");
}
