#include <gtest/gtest.h>

#include <string>

#include "KPCore/inner/PathText.h"

TEST(BoundedText, KeepsRoomForTheTerminator)
{
    EXPECT_EQ(BoundedText(std::wstring(259, L'a')).size(), 259u);
    EXPECT_EQ(BoundedText(std::wstring(260, L'a')).size(), 259u);
    EXPECT_EQ(BoundedText(std::wstring(400, L'a')), std::wstring(259, L'a'));
    EXPECT_EQ(BoundedText(L"abc", 3), L"ab");
    EXPECT_EQ(BoundedText(L"abc", 0), L"");
}

TEST(DirectoryOfPath, KeepsTheTextBeforeTheLastBackslash)
{
    EXPECT_EQ(DirectoryOfPath(L"C:\\Setup\\setup.exe"), L"C:\\Setup");
    EXPECT_EQ(DirectoryOfPath(L"C:\\setup.exe"), L"C:");
    EXPECT_EQ(DirectoryOfPath(L"\\\\server\\share\\凯普\\a.exe"), L"\\\\server\\share\\凯普");
    EXPECT_EQ(DirectoryOfPath(L"setup.exe"), L"");
}

TEST(DefaultInstallDirIn, AppendsTheFolderNameOnlyToAKnownFolder)
{
    EXPECT_EQ(DefaultInstallDirIn(L"C:\\Program Files (x86)"), L"C:\\Program Files (x86)\\KPCapture");
    EXPECT_EQ(DefaultInstallDirIn(L""), L"");
}

TEST(PlanProgramShortcuts, NamesTheGroupAndBothShortcuts)
{
    const std::wstring programs = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    const ProgramShortcutPaths paths = PlanProgramShortcuts(programs, L"凯普视频工坊");
    EXPECT_EQ(paths.groupFolder, programs + L"\\凯普视频工坊");
    EXPECT_EQ(paths.applicationLink, programs + L"\\凯普视频工坊\\凯普视频工坊.lnk");
    EXPECT_EQ(paths.uninstallerLink, programs + L"\\凯普视频工坊\\卸载凯普视频工坊.lnk");
    EXPECT_TRUE(paths.complete);
}

TEST(PlanProgramShortcuts, CutsEveryPathAt259CharactersAndSaysSo)
{
    const std::wstring programs = L"C:\\Programs";  // 11 characters
    // The group fits (11 + 1 + 238 = 250 characters); its shortcuts are cut inside the name and
    // lose their ".lnk".
    const std::wstring name(238, L'n');
    const ProgramShortcutPaths cut = PlanProgramShortcuts(programs, name);
    EXPECT_EQ(cut.groupFolder, programs + L"\\" + name);
    EXPECT_EQ(cut.applicationLink, cut.groupFolder + L"\\" + std::wstring(8, L'n'));
    EXPECT_EQ(cut.uninstallerLink, cut.groupFolder + L"\\卸载" + std::wstring(6, L'n'));
    EXPECT_FALSE(cut.complete);

    // The longest name whose shortcuts still fit: the uninstaller's is the longer one by two characters.
    // 11 + 1 + n + 1 + 2 + n + 4 = 259 gives n = 120.
    const ProgramShortcutPaths fits = PlanProgramShortcuts(programs, std::wstring(120, L'n'));
    EXPECT_EQ(fits.uninstallerLink.size(), 259u);
    EXPECT_TRUE(fits.complete);
    EXPECT_FALSE(PlanProgramShortcuts(programs, std::wstring(121, L'n')).complete);
}

TEST(ShortcutDescription, NamesTheProductThenTheFolder)
{
    EXPECT_EQ(ShortcutDescription(L"凯普视频工坊", L"C:\\Program Files (x86)\\KPCapture\\KPCapture"),
              L"位置: 凯普视频工坊(C:\\Program Files (x86)\\KPCapture\\KPCapture)");
}

TEST(DirectoryChainSteps, ListsEveryParentShortestFirstWithForwardSlashes)
{
    const auto steps = DirectoryChainSteps(L"C:\\Program Files\\KPCapture");
    ASSERT_TRUE(steps);
    EXPECT_EQ(*steps, (std::vector<std::wstring>{L"C:", L"C:/Program Files", L"C:/Program Files/KPCapture"}));

    const auto mixed = DirectoryChainSteps(L"D:/a\\b/c");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(*mixed, (std::vector<std::wstring>{L"D:", L"D:/a", L"D:/a/b", L"D:/a/b/c"}));
}

TEST(DirectoryChainSteps, ATrailingSeparatorGainsNoSecondOne)
{
    const std::vector<std::wstring> expected{L"C:", L"C:/x", L"C:/x/y"};
    EXPECT_EQ(DirectoryChainSteps(L"C:\\x\\y\\").value(), expected);
    EXPECT_EQ(DirectoryChainSteps(L"C:/x/y/").value(), expected);
    EXPECT_EQ(DirectoryChainSteps(L"C:\\x\\y").value(), expected);
}

TEST(DirectoryChainSteps, SkipsEmptyPartsAndStopsAtANull)
{
    EXPECT_EQ(DirectoryChainSteps(L"C:\\\\x//y").value(), (std::vector<std::wstring>{L"C:", L"C://x", L"C://x//y"}));
    EXPECT_EQ(DirectoryChainSteps(L"\\\\srv\\share\\d").value(),
              (std::vector<std::wstring>{L"//srv", L"//srv/share", L"//srv/share/d"}));
    EXPECT_EQ(DirectoryChainSteps(std::wstring(L"C:\\a\0\\b", 7)).value(), (std::vector<std::wstring>{L"C:", L"C:/a"}));
    EXPECT_TRUE(DirectoryChainSteps(L"").value().empty());
}

TEST(DirectoryChainSteps, RefusesAPathThatDoesNotFitTheBuffer)
{
    // 261 characters: the text, the separator that is appended when missing, and the terminator.
    const std::wstring longest = L"C:\\" + std::wstring(256, L'd');  // 259 characters
    ASSERT_TRUE(DirectoryChainSteps(longest));
    EXPECT_EQ(DirectoryChainSteps(longest)->back().size(), 259u);
    EXPECT_FALSE(DirectoryChainSteps(longest + L"d"));
    EXPECT_TRUE(DirectoryChainSteps(longest + L"\\"));  // 260 with its own separator
    EXPECT_FALSE(DirectoryChainSteps(longest + L"d\\"));
    EXPECT_FALSE(DirectoryChainSteps(std::wstring(5000, L'x')));
}
