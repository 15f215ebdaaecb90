#include "ui/resources/ZipArchive.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ToBytes;
using SkinTest::ZipBuilder;
using SkinTest::ZipMember;

namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

Bytes PagesArchive()
{
    return ZipBuilder()
        .Add("KPMainFrame.xml", "<Window />")
        .Add("Install uninstall/table_bg_install_01.png", "background", false)
        .Add("Install uninstall/btn_modify_path.png", std::string(5000, 'x'), true)
        .Build();
}

}  // namespace

TEST(ZipArchive, FindsMembersWhateverTheCaseAndSeparator)
{
    const Bytes zip = PagesArchive();
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(zip.data(), zip.size()));
    Bytes bytes;
    for (const wchar_t* name :
         {L"Install uninstall\\table_bg_install_01.png", L"install uninstall/TABLE_BG_INSTALL_01.PNG",
          L"INSTALL UNINSTALL\\Table_Bg_Install_01.png"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        ASSERT_EQ(archive.Read(name, 1000, bytes), CZipArchive::ReadResult::Ok);
        EXPECT_EQ(Text(bytes), "background");
    }
    EXPECT_EQ(archive.Read(L"kpmainframe.XML", 1000, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(Text(bytes), "<Window />");
    // The full path is compared: a bare file name or a partial path is not a match.
    EXPECT_EQ(archive.Read(L"table_bg_install_01.png", 1000, bytes), CZipArchive::ReadResult::NotFound);
    EXPECT_EQ(archive.Read(L"uninstall/table_bg_install_01.png", 1000, bytes), CZipArchive::ReadResult::NotFound);
    EXPECT_TRUE(bytes.empty());
}

TEST(ZipArchive, ReadsStoredAndDeflatedMembersExactly)
{
    Bytes binary(70000);
    std::mt19937 random(7);
    for (auto& b : binary) b = static_cast<unsigned char>(random());
    const Bytes zip = ZipBuilder().Add("stored.bin", binary, false).Add("deflated.bin", binary, true).Build();
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(zip.data(), zip.size()));
    Bytes bytes;
    ASSERT_EQ(archive.Read(L"stored.bin", binary.size(), bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(bytes, binary);
    ASSERT_EQ(archive.Read(L"deflated.bin", binary.size(), bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(bytes, binary);
}

TEST(ZipArchive, NamesBeyondAsciiAreFoundWithoutRegardToCase)
{
    const Bytes zip = ZipBuilder()
                          .Add(u8"皮肤/按钮.png", "chinese")
                          .Add(u8"Ordner/ÄPFEL.png", "latin")
                          .Add(u8"Папка/Кнопка.png", "cyrillic")
                          .Build();
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(zip.data(), zip.size()));
    Bytes bytes;
    ASSERT_EQ(archive.Read(L"皮肤\\按钮.png", 100, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(Text(bytes), "chinese");
    ASSERT_EQ(archive.Read(L"ordner\\äpfel.PNG", 100, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(Text(bytes), "latin");
    ASSERT_EQ(archive.Read(L"ПАПКА/кнопка.png", 100, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(Text(bytes), "cyrillic");
    const std::vector<std::wstring> names = archive.MemberNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], L"皮肤/按钮.png");
    EXPECT_EQ(names[1], L"Ordner/ÄPFEL.png");
}

TEST(ZipArchive, EmptyAndOversizedMembersAreRefusedBeforeReading)
{
    const Bytes zip = ZipBuilder().Add("empty.txt", "").Add("big.txt", std::string(1001, 'b')).Build();
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(zip.data(), zip.size()));
    Bytes bytes;
    EXPECT_EQ(archive.Read(L"empty.txt", 1000, bytes), CZipArchive::ReadResult::Empty);
    EXPECT_EQ(archive.Read(L"big.txt", 1000, bytes), CZipArchive::ReadResult::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(archive.Read(L"big.txt", 1001, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(bytes.size(), 1001u);
}

TEST(ZipArchive, LyingSizesAndChecksumsFailInsteadOfReadingGarbage)
{
    const std::string content(3000, 'q');
    ZipMember longer{"claims-more.txt", ToBytes(content), true, 4000};
    ZipMember shorter{"claims-less.txt", ToBytes(content), true, 10};
    ZipMember storedLonger{"stored-claims-more.txt", ToBytes(content), false, 4000, 4000};
    ZipMember huge{"claims-huge.txt", ToBytes(content), true, 0xFFFFFFF0LL};
    ZipMember badCrc{"bad-crc.txt", ToBytes(content), true, -1, -1, 0x12345678};
    const Bytes zip =
        ZipBuilder().Add(longer).Add(shorter).Add(storedLonger).Add(huge).Add(badCrc).Add("good.txt", content).Build();
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(zip.data(), zip.size()));
    Bytes bytes;
    EXPECT_EQ(archive.Read(L"claims-more.txt", 1 << 20, bytes), CZipArchive::ReadResult::Failed);
    EXPECT_EQ(archive.Read(L"claims-less.txt", 1 << 20, bytes), CZipArchive::ReadResult::Failed);
    EXPECT_EQ(archive.Read(L"stored-claims-more.txt", 1 << 20, bytes), CZipArchive::ReadResult::Failed);
    // A claimed size over the cap is refused without allocating it.
    EXPECT_EQ(archive.Read(L"claims-huge.txt", 1 << 20, bytes), CZipArchive::ReadResult::TooLarge);
    EXPECT_EQ(archive.Read(L"bad-crc.txt", 1 << 20, bytes), CZipArchive::ReadResult::Failed);
    EXPECT_TRUE(bytes.empty());
    // The archive stays usable after failed reads.
    ASSERT_EQ(archive.Read(L"good.txt", 1 << 20, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(Text(bytes), content);
}

TEST(ZipArchive, TruncatedArchivesFailCleanly)
{
    const Bytes zip = PagesArchive();
    // Cut anywhere: either the directory is gone (open fails) or member data is missing (read fails).
    for (size_t length = 0; length < zip.size(); length += 7) {
        const Bytes cut(zip.begin(), zip.begin() + static_cast<long>(length));
        CZipArchive archive;
        if (!archive.OpenMemory(cut.data(), cut.size())) {
            continue;
        }
        Bytes bytes;
        archive.Read(L"Install uninstall/btn_modify_path.png", 1 << 20, bytes);
        EXPECT_TRUE(bytes.empty() || bytes.size() == 5000u);
    }
    // A directory whose entries point past the data: the end record survives, the data does not.
    Bytes tail(zip.end() - 22, zip.end());
    CZipArchive archive;
    EXPECT_FALSE(archive.OpenMemory(tail.data(), tail.size()));
    EXPECT_FALSE(archive.OpenMemory(nullptr, 0));
    EXPECT_FALSE(archive.IsOpen());
}

// Damaged copies of a real-looking archive must never crash, hang or read out of bounds (the
// native build runs this under the address sanitizer).
TEST(ZipArchive, RandomDamageNeverCrashes)
{
    Bytes image(4000);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(i * 31 / 7);
    const Bytes zip = ZipBuilder()
                          .Add("KPMainFrame.xml", std::string(2000, '<'))
                          .Add("Install uninstall/a.png", image, true)
                          .Add("b.png", image, false)
                          .Build();
    std::mt19937 random(12345);
    int opened = 0;
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = zip;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % damaged.size();
            switch (random() % 3) {
            case 0: damaged[at] = static_cast<unsigned char>(random()); break;
            case 1: damaged[at] ^= static_cast<unsigned char>(1u << (random() % 8)); break;
            default: damaged[at] = (random() % 2) ? 0xFF : 0x00; break;
            }
        }
        CZipArchive archive;
        if (!archive.OpenMemory(damaged.data(), damaged.size())) {
            continue;
        }
        ++opened;
        Bytes bytes;
        for (const wchar_t* name : {L"KPMainFrame.xml", L"install uninstall\\A.png", L"b.png"}) {
            if (archive.Read(name, 1 << 16, bytes) == CZipArchive::ReadResult::Ok) {
                EXPECT_LE(bytes.size(), 1u << 16);
            }
        }
    }
    EXPECT_GT(opened, 100);  // most damage hits member data, so the readers were exercised
}

TEST(ZipArchive, OpensAFileByAWidePath)
{
    SkinTest::TempFolder folder("zip");
    folder.Write(std::filesystem::u8path(u8"皮肤 skin.zip"), PagesArchive());
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenFile(folder.WPath() + L"/皮肤 skin.zip"));
    Bytes bytes;
    ASSERT_EQ(archive.Read(L"install uninstall\\btn_modify_path.png", 1 << 20, bytes), CZipArchive::ReadResult::Ok);
    EXPECT_EQ(bytes.size(), 5000u);
    archive.Close();
    EXPECT_FALSE(archive.OpenFile(folder.WPath() + L"/missing.zip"));
}
