#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

#include "KPCore/inner/FolderPicker.h"
#include "KPCoreTestSupport.h"

using namespace kpcoretest;

namespace {

// Records the one message of interest sent to a message-only window.
UINT g_message = 0;
WPARAM g_wParam = 0;
std::wstring g_selected;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BFFM_SETSELECTIONW) {
        g_message = message;
        g_wParam = wParam;
        g_selected = reinterpret_cast<const wchar_t*>(lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(FolderDialogCallback, SelectsThePathWhenTheDialogIsReadyAndOnlyThen)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KPCoreRecordingWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"KPCoreRecordingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    wchar_t path[] = L"C:\\Program Files\\凯普";
    const LPARAM data = reinterpret_cast<LPARAM>(path);
    EXPECT_EQ(FolderDialogCallback(window, BFFM_SELCHANGED, 0, data), 0);
    EXPECT_EQ(g_message, 0u);
    EXPECT_EQ(FolderDialogCallback(window, BFFM_VALIDATEFAILEDW, 0, data), 0);
    EXPECT_EQ(g_message, 0u);

    EXPECT_EQ(FolderDialogCallback(window, BFFM_INITIALIZED, 0, data), 0);
    EXPECT_EQ(g_message, 0x467u);
    EXPECT_EQ(g_wParam, 1u);
    EXPECT_EQ(g_selected, L"C:\\Program Files\\凯普");
    DestroyWindow(window);
}

namespace {

bool HaveDisplay() { return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0; }

std::wstring LastPart(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// The label of the item selected in the dialog's folder tree.
std::wstring SelectedTreeItemText(HWND dialog)
{
    HWND tree = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM found) {
            wchar_t className[64] = {};
            GetClassNameW(child, className, 64);
            if (wcscmp(className, WC_TREEVIEWW) != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    if (tree == nullptr) return std::wstring();
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return std::wstring();
    wchar_t text[MAX_PATH] = {};
    TVITEMW data = {};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

// Opens the shell's dialog on a thread of its own, waits for it, presses a button (for OK, once
// the initial folder is selected) and returns what the dialog gave.
std::wstring RunDialogAndPress(const std::wstring& currentPath, int button)
{
    std::atomic<DWORD> threadId{0};
    std::atomic<bool> done{false};
    std::wstring result = L"(not returned)";
    std::thread dialogThread([&] {
        threadId = GetCurrentThreadId();
        CoInitialize(nullptr);
        result = ShowShellFolderDialog(currentPath, nullptr);
        CoUninitialize();
        done = true;
    });

    HWND dialog = nullptr;
    for (int i = 0; i < 200 && dialog == nullptr; ++i) {
        Sleep(50);
        EnumThreadWindows(
            threadId,
            [](HWND window, LPARAM found) {
                if (!IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&dialog));
    }
    if (dialog != nullptr && button == IDOK) {
        // The dialog opens on currentPath by expanding its folder tree down to it. Wine fills the
        // tree in steps and, when the machine is busy, stops on a parent; the selection is then
        // asked for again until it holds, so that OK returns the folder itself.
        for (int i = 0; i < 400 && SelectedTreeItemText(dialog) != LastPart(currentPath); ++i) {
            if (i >= 100 && i % 10 == 0)
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(currentPath.c_str()));
            Sleep(50);
        }
    }
    if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    for (int i = 0; i < 200 && !done; ++i) Sleep(50);
    if (!done) {
        // Do not leave the thread behind: close whatever it still shows.
        if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    dialogThread.join();
    return dialog != nullptr ? result : L"(no dialog)";
}

}  // namespace

TEST(ShowShellFolderDialog, ReturnsTheSelectedFolderOnOk)
{
    if (!HaveDisplay()) GTEST_SKIP() << "the folder dialog needs an X display";
    ScratchFolder folder;
    const std::wstring current = folder / L"Current 凯普";
    CreateDirectoryW(current.c_str(), nullptr);
    EXPECT_EQ(RunDialogAndPress(current, IDOK), current);
}

TEST(ShowShellFolderDialog, CancellingGivesAnEmptyString)
{
    if (!HaveDisplay()) GTEST_SKIP() << "the folder dialog needs an X display";
    ScratchFolder folder;
    EXPECT_EQ(RunDialogAndPress(folder.Path(), IDCANCEL), L"");
}
