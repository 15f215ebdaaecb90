#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <thread>

#include "KPCore/inner/ShellLink.h"
#include "KPCoreTestSupport.h"
#include "ResolvedLink.h"

using namespace kpcoretest;

namespace {

std::wstring ShortPath(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = {};
    return GetShortPathNameW(path.c_str(), buffer, MAX_PATH) ? std::wstring(buffer) : std::wstring();
}

std::wstring CommonPrograms()
{
    wchar_t buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_PROGRAMS, FALSE);
    return buffer;
}

class ShellLinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        // An application folder with a space, so the icon's short path differs from the long one.
        appFolder = folder / L"Kai Pu 凯普";
        CreateDirectoryW(appFolder.c_str(), nullptr);
        application = appFolder + L"\\KPApp.exe";
        uninstaller = appFolder + L"\\KPUnInstall.exe";
        WriteFile(application, "MZ");
        WriteFile(uninstaller, "MZ");
    }
    void TearDown() override { CoUninitialize(); }

    ScratchFolder folder;
    std::wstring appFolder, application, uninstaller;
};

// A Start-menu group of this process's own, removed before and after.
class ProgramShortcutsTest : public ShellLinkTest {
protected:
    void SetUp() override
    {
        ShellLinkTest::SetUp();
        RemoveGroup();
    }
    void TearDown() override
    {
        RemoveGroup();
        ShellLinkTest::TearDown();
    }
    void RemoveGroup()
    {
        std::error_code ignored;
        std::filesystem::remove_all(group, ignored);
    }

    const std::wstring product = L"KPCore测试" + std::to_wstring(GetCurrentProcessId());
    const std::wstring group = CommonPrograms() + L"\\" + product;
};

}  // namespace

TEST_F(ShellLinkTest, WritesAShortcutThatResolvesToEverythingItWasGiven)
{
    const std::wstring linkFile = folder / L"应用.lnk";
    testing::internal::CaptureStdout();
    EXPECT_EQ(
        CreateShellLink(application, appFolder, L"位置: 凯普视频工坊(" + appFolder + L")", application, 0, linkFile),
        1);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(trace.find("ERRO"), std::string::npos) << trace;

    const ResolvedLink link = ResolveLink(linkFile);
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(link.target, application);
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.workingDir, appFolder);
    EXPECT_EQ(link.description, L"位置: 凯普视频工坊(" + appFolder + L")");
    // The icon is named by its short 8.3 path.
    ASSERT_NE(ShortPath(application), L"");
    EXPECT_EQ(link.iconPath, ShortPath(application));
    EXPECT_EQ(link.iconIndex, 0);
}

TEST_F(ShellLinkTest, AnIconWithoutAShortPathIsUsedAsGiven)
{
    const std::wstring missingIcon = folder / L"No Such Folder\\icon file.ico";
    const std::wstring linkFile = folder / L"icon.lnk";
    EXPECT_EQ(CreateShellLink(application, folder.Path(), L"d", missingIcon, 3, linkFile), 1);

    const ResolvedLink link = ResolveLink(linkFile);
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(link.iconPath, missingIcon);
    EXPECT_EQ(link.iconIndex, 3);
}

TEST_F(ShellLinkTest, ASecondShortcutOverwritesTheFirst)
{
    const std::wstring linkFile = folder / L"again.lnk";
    ASSERT_EQ(CreateShellLink(application, appFolder, L"first", application, 0, linkFile), 1);
    ASSERT_EQ(CreateShellLink(uninstaller, folder.Path(), L"second", uninstaller, 0, linkFile), 1);

    const ResolvedLink link = ResolveLink(linkFile);
    EXPECT_EQ(link.target, uninstaller);
    EXPECT_EQ(link.workingDir, folder.Path());
    EXPECT_EQ(link.description, L"second");
}

TEST_F(ShellLinkTest, AShortcutThatCannotBeSavedReportsFailure)
{
    const std::wstring linkFile = folder / L"missing folder\\x.lnk";
    EXPECT_EQ(CreateShellLink(application, appFolder, L"d", application, 0, linkFile), 0);
    EXPECT_FALSE(FileExists(linkFile));
}

TEST_F(ShellLinkTest, WithoutComTheShellLinkObjectIsNotMadeAndErro1IsTraced)
{
    const std::wstring linkFile = folder / L"nocom.lnk";
    int result = -1;
    testing::internal::CaptureStdout();
    // A new thread has not initialised COM (the test's own thread has a single-threaded apartment).
    std::thread([&] { result = CreateShellLink(application, appFolder, L"d", application, 0, linkFile); }).join();
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0);
    EXPECT_NE(trace.find("ERRO 1\n"), std::string::npos) << trace;
    EXPECT_FALSE(FileExists(linkFile));
}

TEST_F(ProgramShortcutsTest, MakesTheGroupWithTheApplicationAndUninstallerShortcuts)
{
    const std::wstring description = L"位置: " + product + L"(" + appFolder + L")";
    EXPECT_TRUE(CreateProgramShortcuts(application, uninstaller, appFolder, product, description));

    ASSERT_TRUE(DirectoryExists(group));
    const ResolvedLink app = ResolveLink(group + L"\\" + product + L".lnk");
    ASSERT_TRUE(app.loaded);
    EXPECT_EQ(app.target, application);
    EXPECT_EQ(app.workingDir, appFolder);
    EXPECT_EQ(app.description, description);
    EXPECT_EQ(app.iconPath, ShortPath(application));
    EXPECT_EQ(app.arguments, L"");

    const ResolvedLink remove = ResolveLink(group + L"\\卸载" + product + L".lnk");
    ASSERT_TRUE(remove.loaded);
    EXPECT_EQ(remove.target, uninstaller);
    EXPECT_EQ(remove.workingDir, appFolder);
    EXPECT_EQ(remove.description, description);
    EXPECT_EQ(remove.iconPath, ShortPath(uninstaller));
    EXPECT_EQ(remove.iconIndex, 0);
}

TEST_F(ProgramShortcutsTest, RunningAgainOverwritesBothShortcutsInTheExistingGroup)
{
    ASSERT_TRUE(CreateProgramShortcuts(application, uninstaller, appFolder, product, L"first"));
    WriteFile(group + L"\\readme.txt", "kept");
    ASSERT_TRUE(CreateProgramShortcuts(application, uninstaller, folder.Path(), product, L"second"));

    EXPECT_TRUE(FileExists(group + L"\\readme.txt"));
    EXPECT_EQ(ResolveLink(group + L"\\" + product + L".lnk").description, L"second");
    EXPECT_EQ(ResolveLink(group + L"\\卸载" + product + L".lnk").workingDir, folder.Path());
}

TEST_F(ProgramShortcutsTest, ANameTooLongForTheShortcutPathsMakesNothing)
{
    // The group folder itself would fit in 259 characters, but its shortcuts would be cut short
    // of their ".lnk".
    const std::wstring programs = CommonPrograms();
    const std::wstring longName = product + std::wstring(250 - programs.size() - product.size(), L'n');
    const std::wstring longGroup = programs + L"\\" + longName;
    ASSERT_LT(longGroup.size(), 260u);

    EXPECT_FALSE(CreateProgramShortcuts(application, uninstaller, appFolder, longName, L"d"));
    EXPECT_FALSE(DirectoryExists(longGroup));
    std::error_code ignored;
    std::filesystem::remove_all(longGroup, ignored);
}
