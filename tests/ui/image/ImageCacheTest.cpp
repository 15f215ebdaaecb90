#include "ui/image/ImageCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ui/image/ImageLoader.h"
#include "ui/resources/ExeResource.h"
#include "ui/resources/ResourceIndex.h"
#include "ui/resources/SkinResources.h"
#include "ui/support/SkinTestData.h"

using namespace SkinUI;
using SkinTest::Bytes;
using SkinTest::ZipBuilder;

namespace {

class ImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSkinResources::Reset();
        CResourceIndex::Clear();
        static const Bytes zip = ZipBuilder()
                                     .Add("Install uninstall/btn.png", SkinTest::SolidPng(4, 2, 0xFF112233))
                                     .Add("magenta.bmp", SkinTest::SolidBmp(2, 2, 0xFFFF00FF))
                                     .Add("broken.png", "not a png")
                                     .Build();
        CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
        ASSERT_TRUE(CSkinResources::OpenResourceArchive(zip.data(), zip.size()));
    }
    void TearDown() override
    {
        CSkinResources::Reset();
        CResourceIndex::Clear();
        SetExeResourceReader(nullptr);
    }
};

// A cache whose loads are counted and logged.
struct CountingCache {
    std::vector<std::wstring> loaded;
    CImageCache cache{[this](const std::wstring& name, const std::wstring& resType, UIColor mask) {
        loaded.push_back(name);
        return LoadImageByName(name, resType, mask);
    }};
};

}  // namespace

TEST_F(ImageCacheTest, EachImageIsDecodedOnceWhateverTheSpellingOfItsName)
{
    CountingCache counting;
    const auto first = counting.cache.GetImage(L"Install uninstall\\btn.png");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->width, 4);
    EXPECT_EQ(first->height, 2);
    EXPECT_EQ(counting.cache.GetImage(L"install uninstall/BTN.PNG"), first);
    EXPECT_EQ(counting.cache.GetImage(L"Install uninstall\\btn.png"), first);
    EXPECT_EQ(counting.loaded.size(), 1u);
    EXPECT_EQ(counting.cache.LoadCount(), 1u);
    // Another mask is another image.
    const auto masked = counting.cache.GetImage(L"Install uninstall\\btn.png", L"", 0xFF112233);
    ASSERT_TRUE(masked);
    EXPECT_NE(masked, first);
    EXPECT_EQ(masked->pixels[3], 0);
    EXPECT_EQ(counting.loaded.size(), 2u);
}

TEST_F(ImageCacheTest, FailuresAreRememberedToo)
{
    CountingCache counting;
    for (int paint = 0; paint < 5; ++paint) {
        EXPECT_FALSE(counting.cache.GetImage(L"missing.png"));
        EXPECT_FALSE(counting.cache.GetImage(L"broken.png"));
    }
    EXPECT_EQ(counting.loaded.size(), 2u);
    counting.cache.Clear();
    EXPECT_FALSE(counting.cache.GetImage(L"missing.png"));
    EXPECT_EQ(counting.loaded.size(), 3u);
}

TEST_F(ImageCacheTest, ConcurrentRequestsDecodeOnce)
{
    std::atomic<int> loads{0};
    CImageCache cache([&](const std::wstring& name, const std::wstring& resType, UIColor mask) {
        ++loads;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return LoadImageByName(name, resType, mask);
    });
    std::vector<std::thread> threads;
    std::atomic<int> found{0};
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&] { found += cache.GetImage(L"magenta.bmp") ? 1 : 0; });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(found, 6);
    EXPECT_EQ(loads, 1);
}

TEST_F(ImageCacheTest, ProcessWideCacheServesTheSkin)
{
    CImageCache::Instance().Clear();
    const size_t before = CImageCache::Instance().LoadCount();
    const auto image = GetImage(L"magenta.bmp", L"", 0xFFFF00FF);
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(GetImage(L"MAGENTA.BMP", L"", 0xFFFF00FF), image);
    EXPECT_EQ(CImageCache::Instance().LoadCount(), before + 1);
    CImageCache::Instance().Clear();
}

TEST_F(ImageCacheTest, NamesGoThroughTheResourceIndex)
{
    ASSERT_TRUE(CResourceIndex::LoadFromText(
        L"<Resources><Image name=\"logo.png\" file=\"Install uninstall\\btn.png\"/></Resources>"));
    const auto logo = LoadImageByName(L"LOGO.png", L"", 0);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width, 4);
}

// The skin is held in the exe; the current folder is usually the Downloads folder the program was
// started from. Nothing there is read, not even for a name the archive lacks.
TEST_F(ImageCacheTest, MissingMembersAreNeverReadFromTheCurrentFolder)
{
    SkinTest::TempFolder folder("cwd");
    folder.Write("loose/only-on-disk.bmp", SkinTest::SolidBmp(3, 5, 0xFF000000));
    folder.Write("Install uninstall/btn.png", SkinTest::SolidPng(9, 9, 0xFF000000));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const auto loose = LoadImageByName(L"loose\\only-on-disk.bmp", L"", 0);
    const auto member = LoadImageByName(L"Install uninstall\\btn.png", L"", 0);
    std::filesystem::current_path(previous);
    EXPECT_FALSE(loose);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->width, 4);  // the skin's own member
}

TEST_F(ImageCacheTest, AResourceTypeReadsTheExecutablesResourcesOnly)
{
    // Without a reader (the native build) nothing is found, not even the skin's member.
    EXPECT_FALSE(LoadImageByName(L"magenta.bmp", L"PNG", 0));
    static std::vector<std::pair<std::wstring, std::wstring>> asked;
    asked.clear();
    SetExeResourceReader([](const std::wstring& type, const std::wstring& name, std::vector<unsigned char>& bytes) {
        asked.emplace_back(type, name);
        bytes = SkinTest::SolidPng(7, 1, 0xFF00FF00);
        return true;
    });
    const auto image = LoadImageByName(L"logo.png", L"PNG", 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 7);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, L"PNG");
    EXPECT_EQ(asked[0].second, L"logo.png");
    // The resource type is part of an image's identity in the cache.
    CountingCache counting;
    counting.cache.GetImage(L"magenta.bmp");
    counting.cache.GetImage(L"magenta.bmp", L"PNG");
    EXPECT_EQ(counting.loaded.size(), 2u);
}
