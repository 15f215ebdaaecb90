// A window built at start-up whose layout document cannot be loaded: the box "加载资源文件失败："
// + the document name with the title "SkinUI" and an error icon, no window of the program on the
// screen, and exit code 1 once the box is closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct FoundBox {
    HWND box = nullptr;
    DWORD processId = 0;
};

BOOL CALLBACK FindBoxOf(HWND hWnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<FoundBox*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    wchar_t title[64] = {};
    ::GetWindowTextW(hWnd, title, 64);
    if (owner == found->processId && std::wstring(title) == L"SkinUI" && ::IsWindowVisible(hWnd)) {
        found->box = hWnd;
        return FALSE;
    }
    return TRUE;
}

TEST(LayoutFailureTest, TellsTheUserAndEndsTheProcessWithExitCodeOne)
{
    std::wstring command = L"\"" KP_FAILURE_CHILD L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

    FoundBox found;
    found.processId = pi.dwProcessId;
    for (int i = 0; i < 300 && !found.box; ++i) {
        ::EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&found));
        if (!found.box && ::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    ASSERT_NE(found.box, nullptr) << "no \"SkinUI\" box appeared";

    wchar_t text[256] = {};
    ::GetDlgItemTextW(found.box, 0xFFFF, text, 256);  // the message box's text control
    EXPECT_EQ(std::wstring(text), L"加载资源文件失败：NoSuchPage.xml");
    // The half-made window is not on the screen.
    HWND window = ::FindWindowW(L"kpfailchild", nullptr);
    EXPECT_TRUE(window == nullptr || !::IsWindowVisible(window));

    ::PostMessageW(found.box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 1u);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

}  // namespace
