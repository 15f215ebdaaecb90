#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "KPCore/inner/SystemFolders.h"
#include "KPCoreTestSupport.h"

using namespace kpcoretest;

namespace {

// Wine's own spelling of the folders may differ in case from Windows'.
void ExpectSamePath(const std::wstring& actual, const std::wstring& expected)
{
    EXPECT_EQ(_wcsicmp(actual.c_str(), expected.c_str()), 0)
        << "actual:   " << testing::PrintToString(actual) << "\nexpected: " << testing::PrintToString(expected);
}

std::wstring UserName()
{
    wchar_t name[256] = {};
    DWORD size = 256;
    GetUserNameW(name, &size);
    return name;
}

}  // namespace

TEST(GetModuleDir, IsTheFolderOfThisTestProgramWithoutATrailingBackslash)
{
    const std::wstring dir = GetModuleDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), L'\\');
    EXPECT_TRUE(FileExists(dir + L"\\KPCore_SystemFoldersTest.exe"));

    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    PathRemoveFileSpecW(module);
    EXPECT_EQ(dir, module);
}

TEST(GetSpecialFolder, GivesTheFoldersOfThePrefix)
{
    // This test program is 64-bit, so it sees the 64-bit Program Files folder.
    ExpectSamePath(GetSpecialFolder(0x26), L"C:\\Program Files");
    ExpectSamePath(GetSpecialFolder(0x1C), L"C:\\users\\" + UserName() + L"\\AppData\\Local");
    ExpectSamePath(GetSpecialFolder(CSIDL_COMMON_PROGRAMS),
                   L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
}

TEST(GetSpecialFolder, AnUnknownFolderIsEmpty) { EXPECT_EQ(GetSpecialFolder(0x7F), L""); }

TEST(GetDefaultInstallDir, IsKPCaptureUnderProgramFiles)
{
    ExpectSamePath(GetDefaultInstallDir(), L"C:\\Program Files\\KPCapture");
    EXPECT_EQ(GetDefaultInstallDir(), GetSpecialFolder(0x26) + L"\\KPCapture");
}
