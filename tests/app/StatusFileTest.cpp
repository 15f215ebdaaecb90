// The status file through the system's profile functions, in a folder of the test's own, and its
// held folder against links that tests/KPCore/with-folder-fixture.sh makes (Wine cannot).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "app/StatusFile.h"

namespace {

// A path in the folder fixture; empty when the test runs without it.
std::wstring Fixture(const std::wstring& name)
{
    wchar_t root[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"KP_TEST_FOLDER_FIXTURE", root, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return name.empty() ? std::wstring(root) : std::wstring(root) + L"\\" + name;
}

std::string Contents(const std::wstring& file)
{
    std::string text;
    FILE* in = _wfopen(file.c_str(), L"rb");
    if (!in) return "<none>";
    char buffer[256];
    for (size_t n; (n = fread(buffer, 1, sizeof(buffer), in)) > 0;) text.append(buffer, n);
    fclose(in);
    return text;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Read(const std::wstring& file, const wchar_t* key)
{
    wchar_t value[260] = {};
    GetPrivateProfileStringW(L"Install", key, L"<none>", value, 260, file.c_str());
    return value;
}

void WriteRaw(const std::wstring& file, const char* text)
{
    FILE* out = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    fputs(text, out);
    fclose(out);
}

// Removes a folder tree made by a test.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

class StatusFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        base = std::wstring(temp) + L"kpstatus-" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(base);
        folder = base + L"\\AppData\\Roaming\\KPCapture";
        file = StatusFilePathIn(folder);
    }
    void TearDown() override { RemoveTree(base); }

    std::wstring base, folder, file;
};

}  // namespace

TEST_F(StatusFile, AFreshProfileGetsTheFolderAndASeededFile)
{
    ASSERT_FALSE(IsFolder(base));
    ASSERT_TRUE(EnsureDirectory(folder));
    EXPECT_TRUE(IsFolder(folder));
    PrepareStatusFile(file);
    EXPECT_EQ(Read(file, L"channel"), L"360dazido01");
    EXPECT_EQ(Read(file, L"active"), L"0");
    EXPECT_EQ(PollStatusFile(file), L"0");
}

TEST_F(StatusFile, AStartKeepsThePackagesChannelAndResetsAStaleOne)
{
    ASSERT_TRUE(EnsureDirectory(folder));
    WriteRaw(file, "[Install]\r\nchannel=vendor7\r\nactive=1\r\n");
    ASSERT_EQ(PollStatusFile(file), L"1");
    PrepareStatusFile(file);
    EXPECT_EQ(Read(file, L"channel"), L"vendor7");
    EXPECT_EQ(PollStatusFile(file), L"0") << "a 1 left by an earlier run must not end the new install";

    WriteRaw(file, "[Install]\r\nchannel=error\r\n");
    PrepareStatusFile(file);
    EXPECT_EQ(Read(file, L"channel"), L"360dazido01") << "the literal value error reads as no channel";
}

TEST_F(StatusFile, OnlyAnExactOneCountsAsFinished)
{
    ASSERT_TRUE(EnsureDirectory(folder));
    EXPECT_EQ(PollStatusFile(file), L"error") << "no file yet";
    WriteRaw(file, "[Install]\r\nchannel=x\r\n");
    EXPECT_EQ(PollStatusFile(file), L"error") << "no key yet";

    for (const wchar_t* value : {L"01", L"true", L"\"1 \"", L"2"}) {
        WritePrivateProfileStringW(L"Install", L"active", value, file.c_str());
        EXPECT_FALSE(IsInstallFinished(PollStatusFile(file))) << value;
    }
    WritePrivateProfileStringW(L"Install", L"active", L"1", file.c_str());
    EXPECT_TRUE(IsInstallFinished(PollStatusFile(file)));
}

TEST_F(StatusFile, EnsureDirectoryWalksBackslashesOnly)
{
    EXPECT_TRUE(EnsureDirectory(base + L"\\a\\b\\"));
    EXPECT_TRUE(IsFolder(base + L"\\a\\b"));
    EXPECT_TRUE(EnsureDirectory(base + L"\\a\\b")) << "an existing folder is fine";

    // "x/y" is one component to the walk, and the system cannot make it while x is missing.
    EXPECT_FALSE(EnsureDirectory(base + L"\\x/y"));
    EXPECT_FALSE(IsFolder(base + L"\\x"));

    // A file in the way.
    WriteRaw(base + L"\\a\\file", "x");
    EXPECT_FALSE(EnsureDirectory(base + L"\\a\\file\\sub"));
}

TEST_F(StatusFile, EnsureDirectoryRefusesLongPathsAndCreatesNothing)
{
    const std::wstring longPath = base + L"\\" + std::wstring(261 - base.size() - 1, L'n');
    ASSERT_EQ(longPath.size(), 261u);
    EXPECT_FALSE(EnsureDirectory(longPath));
    EXPECT_FALSE(IsFolder(base));
}

TEST(StatusFileLocation, IsTheRoamingKPCaptureFolderAndIsCreatedOnDemand)
{
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, roaming, CSIDL_APPDATA, FALSE));
    const std::wstring expected = std::wstring(roaming) + L"\\KPCapture";
    EXPECT_EQ(GetRoamingDataDir(), expected);
    EXPECT_EQ(GetStatusFilePath(), expected + L"\\APP.ini");
    EXPECT_TRUE(IsFolder(expected));
}

// A junction or symbolic link at the folder, or at APP.ini, could send the elevated installer's
// writes anywhere: neither is opened, and nothing is written through it.
TEST(StatusFileFolder, RefusesALinkAtTheFolderOrAtTheFileAndWritesNothing)
{
    ASSERT_FALSE(Fixture(L"").empty()) << "run me with with-folder-fixture.sh";
    ASSERT_TRUE(IsReparsePoint(Fixture(L"link")));
    StatusFolderProblem problem = StatusFolderProblem::None;
    EXPECT_EQ(CStatusFileFolder::Open(Fixture(L"link"), &problem), nullptr);
    EXPECT_EQ(problem, StatusFolderProblem::Redirected);
    EXPECT_EQ(Contents(Fixture(L"target\\APP.ini")), "<none>") << "written through the folder's link";

    const std::string victim = Contents(Fixture(L"victim.ini"));
    // Wine shows a symbolic link to a file as a plain file (no reparse attribute): only where it
    // leads gives it away.
    EXPECT_EQ(CStatusFileFolder::Open(Fixture(L"inilink"), &problem), nullptr);
    EXPECT_EQ(problem, StatusFolderProblem::Redirected);
    EXPECT_EQ(Contents(Fixture(L"victim.ini")), victim) << "written through the file's link";

    // A link below a folder still to be made is not followed to make it.
    EXPECT_EQ(CStatusFileFolder::Open(Fixture(L"link\\KPCapture"), &problem), nullptr);
    EXPECT_EQ(problem, StatusFolderProblem::Redirected);
    EXPECT_FALSE(IsFolder(Fixture(L"target\\KPCapture")));

    EXPECT_EQ(CStatusFileFolder::Open(L"", &problem), nullptr);
    EXPECT_EQ(problem, StatusFolderProblem::NoProfile);
}

TEST_F(StatusFile, AHeldFolderIsPreparedAndPolledAndCannotBeMovedAway)
{
    StatusFolderProblem problem = StatusFolderProblem::Redirected;
    std::unique_ptr<CStatusFileFolder> held = CStatusFileFolder::Open(folder, &problem);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(problem, StatusFolderProblem::None);
    EXPECT_EQ(held->File(), file);
    EXPECT_TRUE(held->Prepare());
    EXPECT_EQ(Read(file, L"channel"), L"360dazido01");
    EXPECT_EQ(held->Poll(), L"0");
    EXPECT_FALSE(MoveFileW(folder.c_str(), (folder + L"2").c_str())) << "moved while held";
    held.reset();
    EXPECT_TRUE(MoveFileW(folder.c_str(), (folder + L"2").c_str())) << "still held after the end";
}
