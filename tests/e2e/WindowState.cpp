// What the end-to-end tests cannot see on an X server without a window manager: which window
// Windows considers the foreground one, and whether a window is minimised.
//   kp_window_state foreground        prints the foreground window's class name
//   kp_window_state minimize CLASS    minimises the top-level window of CLASS
//   kp_window_state iconic CLASS      prints 1 when that window is minimised, 0 when not
// Exit code 1 when there is no such window.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wcscmp(argv[1], L"foreground") == 0) {
        HWND window = GetForegroundWindow();
        wchar_t name[256] = {};
        if (!window || !GetClassNameW(window, name, 256)) return 1;
        std::wprintf(L"%ls\n", name);
        return 0;
    }
    if (argc != 3) return 2;
    HWND window = FindWindowW(argv[2], nullptr);
    if (!window) return 1;
    if (std::wcscmp(argv[1], L"minimize") == 0) {
        ShowWindow(window, SW_MINIMIZE);
        return 0;
    }
    if (std::wcscmp(argv[1], L"iconic") == 0) {
        std::wprintf(L"%d\n", IsIconic(window) ? 1 : 0);
        return 0;
    }
    return 2;
}
