#include "app/HardenedStart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DWORD g_flags = 0;
BOOL WINAPI Accepts(DWORD flags)
{
    g_flags = flags;
    return TRUE;
}
BOOL WINAPI Refuses(DWORD) { return FALSE; }

}  // namespace

// Windows 7 without its update has no SetDefaultDllDirectories (null here), and a call that fails
// leaves the search as open as that: either way the user is told why and the program must end.
TEST(HardenProcess, WithoutARestrictedSearchTheUserIsToldAndTheProgramEnds)
{
    for (SetDefaultDllDirectoriesFunction setDefault : {static_cast<SetDefaultDllDirectoriesFunction>(nullptr),
                                                        static_cast<SetDefaultDllDirectoriesFunction>(Refuses)}) {
        std::vector<std::wstring> told;
        EXPECT_FALSE(HardenProcess(setDefault, [&](const wchar_t* text) { told.push_back(text); }));
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(L"KB2533623"), std::wstring::npos);
    }
}

TEST(HardenProcess, RestrictsTheSearchToTheSystemFolderAndSaysNothing)
{
    g_flags = 0;
    int told = 0;
    EXPECT_TRUE(HardenProcess(Accepts, [&](const wchar_t*) { ++told; }));
    EXPECT_EQ(told, 0);
    EXPECT_EQ(g_flags, 0x00000800u);  // LOAD_LIBRARY_SEARCH_SYSTEM32, and nothing that adds folders
}
