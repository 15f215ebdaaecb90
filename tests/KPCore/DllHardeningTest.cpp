#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "KPCore/inner/DllHardening.h"

namespace {

// The file of a loaded module.
std::wstring ModulePath(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length);
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

// The planted DLL lies beside this test program (the build puts it there).
constexpr wchar_t kPlanted[] = L"kp_planted.dll";

}  // namespace

TEST(SystemLibrary, PathIsTheSystemFolderAndRefusesAnythingButAPlainName)
{
    EXPECT_EQ(SystemFolder() + L"\\urlmon.dll", SystemLibraryPath(L"urlmon.dll"));
    EXPECT_EQ(L"", SystemLibraryPath(L""));
    EXPECT_EQ(L"", SystemLibraryPath(nullptr));
    EXPECT_EQ(L"", SystemLibraryPath(L"..\\urlmon.dll"));
    EXPECT_EQ(L"", SystemLibraryPath(L"sub/urlmon.dll"));
    EXPECT_EQ(L"", SystemLibraryPath(L"C:urlmon.dll"));
}

TEST(SystemLibrary, LoadsFromTheSystemFolderOnceAndFindsFunctions)
{
    HMODULE urlmon = LoadSystemLibrary(L"urlmon.dll");
    ASSERT_NE(nullptr, urlmon);
    EXPECT_EQ(Lower(SystemFolder() + L"\\urlmon.dll"), Lower(ModulePath(urlmon)));
    EXPECT_EQ(urlmon, LoadSystemLibrary(L"urlmon.dll"));
    EXPECT_NE(nullptr, SystemProcAddress(L"urlmon.dll", "URLDownloadToFileW"));
    EXPECT_NE(nullptr, SystemProcAddress(L"wininet.dll", "FindFirstUrlCacheEntryW"));
    EXPECT_NE(nullptr, SystemProcAddress(L"gdiplus.dll", "GdiplusStartup"));
    EXPECT_EQ(nullptr, SystemProcAddress(L"urlmon.dll", "NoSuchFunction"));
    EXPECT_EQ(nullptr, SystemProcAddress(L"kp_no_such_library.dll", "Anything"));
}

TEST(SystemLibrary, NeverLoadsTheCopyBesideTheProgram)
{
    // The planted file exists and is a loadable DLL (loaded by its full path it works) ...
    const std::wstring beside = ModulePath(nullptr).substr(0, ModulePath(nullptr).rfind(L'\\') + 1) + kPlanted;
    HMODULE direct = LoadLibraryW(beside.c_str());
    ASSERT_NE(nullptr, direct) << "the test DLL must lie beside the test program";
    FreeLibrary(direct);
    // ... but asked for by name the system folder is the only place looked at.
    EXPECT_EQ(nullptr, LoadSystemLibrary(kPlanted));
}

// Runs last in this program: the restriction holds for the rest of the process.
TEST(DllSearch, ZHardeningKeepsTheProgramFolderOutOfTheSearch)
{
    // Before: a plain LoadLibrary by name picks up the planted DLL from the program's folder.
    HMODULE before = LoadLibraryW(kPlanted);
    ASSERT_NE(nullptr, before) << "without hardening the program's folder is searched";
    FreeLibrary(before);
    ASSERT_EQ(nullptr, GetModuleHandleW(kPlanted));

    const bool restricted = HardenDllSearch();
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const bool available = GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr;
    EXPECT_EQ(available, restricted);
    if (!available) GTEST_SKIP() << "this system lacks SetDefaultDllDirectories";

    EXPECT_EQ(nullptr, LoadLibraryW(kPlanted)) << "the planted DLL was loaded after hardening";
    // System DLLs are still found by name.
    EXPECT_NE(nullptr, LoadLibraryW(L"version.dll"));
    // And loading with a full path still works.
    EXPECT_NE(nullptr, LoadSystemLibrary(L"msimg32.dll"));
}
