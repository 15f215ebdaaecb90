// Starting and following the setup package under Wine, with KPCore_PackageChild.exe standing in
// for it.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "KPCore/inner/PackageProcess.h"
#include "KPCoreTestSupport.h"

namespace {

using kpcoretest::ScratchFolder;
using Clock = std::chrono::steady_clock;

// A copy of the stand-in package in a folder whose name has a space, as "Program Files" has.
class PackageProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring child(self);
        child = child.substr(0, child.find_last_of(L'\\')) + L"\\KPCore_PackageChild.exe";
        folder = scratch / L"pkg folder";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        package = folder + L"\\Setup Package.exe";
        ASSERT_TRUE(CopyFileW(child.c_str(), package.c_str(), FALSE));
    }

    // Polls as the installer's timer would, for at most `limit`; true once everything has ended.
    static bool EndsWithin(const CPackageProcess& process, std::chrono::seconds limit)
    {
        const Clock::time_point until = Clock::now() + limit;
        while (Clock::now() < until) {
            if (process.HasEnded()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return process.HasEnded();
    }

    std::wstring Seen() const
    {
        HANDLE file = CreateFileW((folder + L"\\seen.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return L"";
        wchar_t buffer[2048] = {};
        DWORD got = 0;
        ReadFile(file, buffer, sizeof buffer - sizeof(wchar_t), &got, nullptr);
        CloseHandle(file);
        return std::wstring(buffer, got / sizeof(wchar_t));
    }

    ScratchFolder scratch;
    std::wstring folder;
    std::wstring package;
};

}  // namespace

TEST_F(PackageProcess, RunsThePackageWithItsCommandLineInItsOwnFolder)
{
    const std::wstring parameters = L"-instdir=C:\\Program Files\\KPCapture -dsc=true";
    EXPECT_EQ(PackageProcessCommandLine(package, parameters), L"\"" + package + L"\" " + parameters);
    DWORD error = 1;
    const std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(package, parameters, &error);
    ASSERT_TRUE(process) << error;
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(process->FollowsDescendants());
    ASSERT_TRUE(EndsWithin(*process, std::chrono::seconds(30)));
    ASSERT_TRUE(process->ExitCode());
    EXPECT_EQ(*process->ExitCode(), 0u);
    EXPECT_EQ(Seen(), L"\"" + package + L"\" " + parameters + L"\n" + folder);
}

TEST_F(PackageProcess, ReportsTheExitCodeOfAPackageThatFails)
{
    DWORD error = 1;
    const std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(package, L"exit=7 sleep=300", &error);
    ASSERT_TRUE(process) << error;
    EXPECT_FALSE(process->HasEnded()) << "still sleeping";
    EXPECT_FALSE(process->ExitCode());
    ASSERT_TRUE(EndsWithin(*process, std::chrono::seconds(30)));
    ASSERT_TRUE(process->ExitCode());
    EXPECT_EQ(*process->ExitCode(), 7u);
}

TEST_F(PackageProcess, WaitsForAChildThatOutlivesThePackage)
{
    DWORD error = 1;
    const std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(package, L"spawn=2500", &error);
    ASSERT_TRUE(process) << error;
    ASSERT_EQ(WaitForSingleObject(process->Process(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(*process->ExitCode(), 0u) << "the package handed over and exited";
    const Clock::time_point packageEnded = Clock::now();
    EXPECT_FALSE(process->HasEnded()) << "its child still runs";
    ASSERT_TRUE(EndsWithin(*process, std::chrono::seconds(30)));
    EXPECT_GT(Clock::now() - packageEnded, std::chrono::milliseconds(1000));
}

TEST_F(PackageProcess, WithoutAJobOnlyThePackageItselfIsFollowed)
{
    DWORD error = 1;
    CPackageProcess::Options options;
    options.useJob = false;
    const std::unique_ptr<CPackageProcess> process =
        CPackageProcess::Start(package, L"spawn=5000 exit=3", &error, options);
    ASSERT_TRUE(process) << error;
    EXPECT_FALSE(process->FollowsDescendants());
    ASSERT_TRUE(EndsWithin(*process, std::chrono::seconds(4))) << "the child's 5 s are not waited for";
    EXPECT_EQ(*process->ExitCode(), 3u);
}

TEST_F(PackageProcess, AMissingPackageStartsNothing)
{
    DWORD error = 0;
    EXPECT_FALSE(CPackageProcess::Start(folder + L"\\missing.exe", L"-instdir=C:\\x -dsc=false", &error));
    EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) << error;
    EXPECT_FALSE(CPackageProcess::Start(scratch / L"no folder\\Setup.exe", L"", &error));
    EXPECT_NE(error, 0u);
}
