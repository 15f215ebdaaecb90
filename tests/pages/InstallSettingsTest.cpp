#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "KPCore/inner/SystemFolders.h"
#include "pages/InstallSettings.h"

namespace {

bool DirectoryExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveTree(const std::wstring& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path), ignored);
}

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"kp-settings-" + std::to_wstring(GetCurrentProcessId());
}

}  // namespace

// The record is made once per process, so this test must be the first to ask for it.
TEST(InstallSettings, FirstUseCreatesTheDefaultFolderOnceFromManyThreads)
{
    const std::wstring defaultDir = GetDefaultInstallDir();
    ASSERT_FALSE(defaultDir.empty());
    RemoveTree(defaultDir);
    ASSERT_FALSE(DirectoryExists(defaultDir));

    // Eight threads ask at once: all get the same record.
    std::vector<InstallSettings*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&seen, i] { seen[i] = &GetInstallSettings(); });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(1u, std::set<InstallSettings*>(seen.begin(), seen.end()).size());

    InstallSettings& settings = GetInstallSettings();
    EXPECT_EQ(seen[0], &settings);
    EXPECT_EQ(defaultDir, settings.installDir);
    EXPECT_TRUE(DirectoryExists(defaultDir)) << "the first use creates the default folder";

    // Later calls create nothing.
    RemoveTree(defaultDir);
    GetInstallSettings();
    EXPECT_FALSE(DirectoryExists(defaultDir));
}

TEST(InstallSettings, DefaultsAskTheSetupPackageForADesktopShortcut)
{
    const InstallSettings& settings = GetInstallSettings();
    EXPECT_TRUE(settings.desktopShortcut);
    EXPECT_TRUE(settings.addToTaskbar);
    // The default folder is Program Files + "\KPCapture".
    const std::wstring suffix = L"\\KPCapture";
    ASSERT_GT(settings.installDir.size(), suffix.size());
    EXPECT_EQ(suffix, settings.installDir.substr(settings.installDir.size() - suffix.size()));
}

TEST(InstallSettings, AppFolderAppendsKPCaptureAgainWithoutDeduplication)
{
    InstallSettings& settings = GetInstallSettings();
    const std::wstring saved = settings.installDir;
    EXPECT_EQ(saved + L"\\KPCapture", settings.GetAppFolder());

    settings.installDir = L"D:\\\\KPCapture";
    EXPECT_EQ(L"D:\\\\KPCapture\\KPCapture", settings.GetAppFolder());
    settings.installDir = L"";
    EXPECT_EQ(L"\\KPCapture", settings.GetAppFolder());
    settings.installDir = saved;
}

TEST(InstallSettings, EnsureInstallDirectoryCreatesEveryMissingParentAndLeavesExistingOnes)
{
    const std::wstring root = TempFolder();
    RemoveTree(root);
    const std::wstring nested = root + L"\\a\\b c\\KPCapture";
    EnsureInstallDirectory(nested);
    EXPECT_TRUE(DirectoryExists(nested));

    // An existing folder keeps what it holds.
    const std::wstring marker = nested + L"\\keep.txt";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    EnsureInstallDirectory(nested);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str()));

    // A folder that cannot be made is no failure of the caller's: nothing is thrown or reported.
    EnsureInstallDirectory(std::wstring(300, L'x'));
    EnsureInstallDirectory(L"");
    RemoveTree(root);
}
