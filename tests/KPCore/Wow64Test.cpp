#include <gtest/gtest.h>

#include "KPCore/inner/Wow64.h"

namespace {

BOOL WINAPI ReportsWow64(HANDLE, PBOOL answer)
{
    *answer = TRUE;
    return TRUE;
}

BOOL WINAPI ReportsNative(HANDLE, PBOOL answer)
{
    *answer = FALSE;
    return TRUE;
}

// Fails, but leaves a stray TRUE behind: the answer must still be false.
BOOL WINAPI Fails(HANDLE, PBOOL answer)
{
    *answer = TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

}  // namespace

TEST(Wow64Answer, FollowsTheExportAndIsFalseWithoutItOrOnFailure)
{
    EXPECT_TRUE(Wow64Answer(ReportsWow64, GetCurrentProcess()));
    EXPECT_FALSE(Wow64Answer(ReportsNative, GetCurrentProcess()));
    EXPECT_FALSE(Wow64Answer(Fails, GetCurrentProcess()));
    EXPECT_FALSE(Wow64Answer(nullptr, GetCurrentProcess()));
}

TEST(IsWow64, IsTrueOnlyForA32BitProcessOn64BitWindows)
{
#ifdef _WIN64
    EXPECT_FALSE(IsWow64());
#else
    // The 32-bit build runs under WOW64 whenever the system has a 64-bit native directory.
    wchar_t native[MAX_PATH] = {};
    const bool system64 = GetSystemWow64DirectoryW(native, MAX_PATH) != 0;
    EXPECT_EQ(IsWow64(), system64);
#endif
}
