// The package folder under Wine, against real folders (tests/KPCore/with-folder-fixture.sh makes
// the links and the open folder).
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <set>
#include <string>

#include "KPCore/inner/PackageFolder.h"
#include "KPCoreTestSupport.h"

namespace {

using kpcoretest::ScratchFolder;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, "MZ", 2, &written, nullptr);
    CloseHandle(file);
    return ok && written == 2;
}

std::wstring Fixture(const std::wstring& name)
{
    const wchar_t* folder = _wgetenv(L"KP_TEST_FOLDER_FIXTURE");
    return folder ? std::wstring(folder) + L"\\" + name : std::wstring();
}

bool RunsOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

bool SidIs(PSID sid, WELL_KNOWN_SID_TYPE type)
{
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    return CreateWellKnownSid(type, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

constexpr DWORD kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                               FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

}  // namespace

TEST(PackageFolder, EachDownloadGetsAFreshFolderInsideTheRoot)
{
    ScratchFolder scratch;
    const std::wstring root = scratch / L"KPCapture";
    DWORD error = 1;
    std::set<std::wstring> paths;
    for (int i = 0; i < 3; ++i) {
        const std::unique_ptr<CPackageFolder> folder = CPackageFolder::Create(root, &error);
        ASSERT_TRUE(folder) << error;
        EXPECT_EQ(error, 0u);
        EXPECT_TRUE(GetFileAttributesW(folder->Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(folder->Path().substr(0, root.size() + 1), root + L"\\");
        const std::wstring name = folder->Path().substr(root.size() + 1);
        EXPECT_EQ(name.size(), 32u);
        EXPECT_EQ(name.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
        EXPECT_EQ(folder->FilePath(L"a.exe"), folder->Path() + L"\\a.exe");
        paths.insert(folder->Path());
    }
    EXPECT_EQ(paths.size(), 3u);
    for (const std::wstring& path : paths) EXPECT_FALSE(Exists(path)) << "a folder goes with its object";
    EXPECT_TRUE(Exists(root)) << "the root stays";

    const std::wstring systemRoot = PackageRootFolder();
    ASSERT_FALSE(systemRoot.empty());
    wchar_t programData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramData", programData, MAX_PATH), 0u);
    EXPECT_EQ(systemRoot, std::wstring(programData) + L"\\KPCapture");
}

namespace {

// The allow entries of a file-system object's DACL, by SID; the owner too.
struct ReadBackSecurity {
    explicit ReadBackSecurity(const std::wstring& path)
    {
        ok = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                   &owner, nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS;
    }
    ~ReadBackSecurity() { LocalFree(descriptor); }
    ReadBackSecurity(const ReadBackSecurity&) = delete;
    ReadBackSecurity& operator=(const ReadBackSecurity&) = delete;

    // The rights all allow entries for `type` grant together.
    DWORD RightsOf(WELL_KNOWN_SID_TYPE type) const
    {
        DWORD rights = 0;
        for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
            ACE_HEADER* header = nullptr;
            if (GetAce(dacl, i, reinterpret_cast<void**>(&header)) && header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
                auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
                if (SidIs(&ace->SidStart, type)) rights |= ace->Mask;
            }
        }
        return rights;
    }
    bool ok = false;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
};

}  // namespace

// Wine keeps no access-control lists: it turns them into Unix permission bits and reports those
// back as SYSTEM, the owner (the Wine user) and Everyone, where whatever Users may do shows up. So
// under Wine this test can see write access for everybody come and go, and Windows shows the rest.
TEST(PackageFolder, AFolderAndItsRootAreWritableOnlyBySystemAndAdministrators)
{
    ASSERT_FALSE(Fixture(L"").empty()) << "run me with with-folder-fixture.sh";
    // A root somebody made before, open to everybody: Users may create folders in ProgramData.
    const std::wstring root = Fixture(L"open");
    {
        const ReadBackSecurity before(root);
        ASSERT_TRUE(before.ok);
        ASSERT_NE(before.RightsOf(WinWorldSid) & FILE_ADD_FILE, 0u) << "the planted root starts writable";
    }

    DWORD error = 1;
    const std::unique_ptr<CPackageFolder> folder = CPackageFolder::Create(root, &error);
    ASSERT_TRUE(folder) << error;
    for (const std::wstring& path : {root, folder->Path()}) {
        const ReadBackSecurity security(path);
        ASSERT_TRUE(security.ok);
        ASSERT_NE(security.dacl, nullptr) << "a null DACL would let everybody in";
        for (WELL_KNOWN_SID_TYPE type : {WinWorldSid, WinAuthenticatedUserSid, WinBuiltinUsersSid, WinInteractiveSid})
            EXPECT_EQ(security.RightsOf(type) & kWriteRights, 0u) << type;
        EXPECT_EQ(security.RightsOf(WinLocalSystemSid) & FILE_ALL_ACCESS, static_cast<DWORD>(FILE_ALL_ACCESS));
        if (!RunsOnWine()) {
            EXPECT_TRUE(SidIs(security.owner, WinBuiltinAdministratorsSid));
            SECURITY_DESCRIPTOR_CONTROL control = 0;
            DWORD revision = 0;
            EXPECT_TRUE(GetSecurityDescriptorControl(security.descriptor, &control, &revision) &&
                        (control & SE_DACL_PROTECTED))
                << "nothing inherited from the folder above";
            EXPECT_EQ(security.RightsOf(WinBuiltinAdministratorsSid) & FILE_ALL_ACCESS,
                      static_cast<DWORD>(FILE_ALL_ACCESS));
            EXPECT_EQ(security.RightsOf(WinBuiltinUsersSid) & FILE_GENERIC_READ, static_cast<DWORD>(FILE_GENERIC_READ));
            EXPECT_EQ(security.RightsOf(WinWorldSid), 0u);
        }
    }
}

TEST(PackageFolder, ARootThatIsALinkOrAFileIsRefused)
{
    ASSERT_FALSE(Fixture(L"").empty()) << "run me with with-folder-fixture.sh";
    // Wine shows a symbolic link as a reparse point, as Windows shows a junction.
    ASSERT_TRUE(GetFileAttributesW(Fixture(L"link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    DWORD error = 0;
    EXPECT_FALSE(CPackageFolder::Create(Fixture(L"link"), &error));
    EXPECT_EQ(error, kErrorReparsePointEncountered);
    EXPECT_FALSE(Exists(Fixture(L"target\\") + L"x")) << "nothing was made through the link";
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((Fixture(L"target") + L"\\*").c_str(), &found);
    int entries = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do entries += found.cFileName[0] != L'.';
        while (FindNextFileW(find, &found));
        FindClose(find);
    }
    EXPECT_EQ(entries, 0);

    ScratchFolder scratch;
    const std::wstring file = scratch / L"file";
    ASSERT_TRUE(WriteFile(file));
    EXPECT_FALSE(CPackageFolder::Create(file, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_FALSE(CPackageFolder::Create(L"", &error));
    EXPECT_FALSE(CPackageFolder::Create(scratch / L"no\\such\\parent", &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(PackageFolder, ANameThatExistsAsAnythingIsNeverReused)
{
    ASSERT_FALSE(Fixture(L"").empty()) << "run me with with-folder-fixture.sh";
    DWORD error = 0;
    EXPECT_FALSE(CPackageFolder::Create(Fixture(L"root"), &error, [] { return L"taken"; }));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a link in the way";

    ScratchFolder scratch;
    const std::wstring root = scratch / L"root";
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\folder").c_str(), nullptr));
    ASSERT_TRUE(WriteFile(root + L"\\file"));
    for (const wchar_t* name : {L"folder", L"file"}) {
        EXPECT_FALSE(CPackageFolder::Create(root, &error, [name] { return name; })) << name;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    }
    EXPECT_TRUE(Exists(root + L"\\folder")) << "what was there stays";
    EXPECT_TRUE(Exists(root + L"\\file"));
    EXPECT_FALSE(CPackageFolder::Create(root, &error, [] { return L"..\\escape"; }));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(PackageFolder, RemovalTakesThePackageWithItOnceNothingHoldsIt)
{
    ScratchFolder scratch;
    DWORD error = 1;
    std::unique_ptr<CPackageFolder> folder = CPackageFolder::Create(scratch / L"root", &error);
    ASSERT_TRUE(folder) << error;
    const std::wstring package = folder->FilePath(L"KPCaptureSetup.exe");
    ASSERT_TRUE(WriteFile(package));
    ASSERT_TRUE(SetFileAttributesW(package.c_str(), FILE_ATTRIBUTE_READONLY));

    // Held the way the installer holds a package it checks: shared for reading only.
    HANDLE held = CreateFileW(package.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(folder->Remove());
    EXPECT_TRUE(Exists(package));
    // What cannot go now goes when Windows next starts: the file, then its folder.
    EXPECT_TRUE(folder->RemoveAtRestart());
    wchar_t pending[8192] = {};
    DWORD size = sizeof pending - sizeof(wchar_t);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                           L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size),
              ERROR_SUCCESS);
    std::wstring names;
    for (const wchar_t* entry = pending; entry < pending + size / sizeof(wchar_t); entry += wcslen(entry) + 1)
        names += std::wstring(entry) + L"|";
    const std::size_t file = names.find(package + L"|");
    const std::size_t dir = names.find(folder->Path() + L"|");
    EXPECT_NE(file, std::wstring::npos) << "the package";
    EXPECT_NE(dir, std::wstring::npos) << "its folder";
    EXPECT_LT(file, dir) << "the folder after what it holds";
    CloseHandle(held);

    EXPECT_TRUE(folder->Remove());
    EXPECT_FALSE(Exists(package));
    EXPECT_FALSE(Exists(folder->Path()));
    EXPECT_TRUE(folder->Remove()) << "gone already";
}
