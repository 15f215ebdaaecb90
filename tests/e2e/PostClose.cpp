// Another process that asks the installer's main window to close, as Task Manager's "End task" or
// the system at log-off does, for the end-to-end test:
//   kp_post_close.exe [close|endsession|altf4]
// close posts WM_CLOSE to the window of class "kpmainframe"; endsession sends it
// WM_QUERYENDSESSION and then WM_ENDSESSION(TRUE), as Windows does before the session ends. Prints
// what the window answered and exits with 0, or with 2 when there is no such window.
// altf4 gives the question box over it (class "kpmsgbox") the system command that Alt+F4 makes,
// waits up to 5 s for the box to go, and prints which window is in the foreground then: exits
// with 0 when it is the main window, 3 when it is another, 4 when the box stayed.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    const std::wstring what = argc > 1 ? argv[1] : L"close";
    HWND window = ::FindWindowW(L"kpmainframe", nullptr);
    if (!window) {
        std::puts("no main window");
        return 2;
    }
    if (what == L"altf4") {
        HWND box = ::FindWindowW(L"kpmsgbox", nullptr);
        if (!box) {
            std::puts("no question box");
            return 2;
        }
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        for (int i = 0; i < 50 && ::IsWindow(box); ++i) ::Sleep(100);
        if (::IsWindow(box)) {
            std::puts("the box stayed");
            return 4;
        }
        ::Sleep(300);
        HWND foreground = ::GetForegroundWindow();
        std::printf("foreground: %s\n", foreground == window ? "main window" : "another window");
        return foreground == window ? 0 : 3;
    }
    if (what == L"endsession") {
        DWORD_PTR answer = 0;
        // A window that does not answer within 5 s is taken as agreeing, as Windows would.
        if (!::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer))
            answer = TRUE;
        std::printf("WM_QUERYENDSESSION answered %d\n", static_cast<int>(answer));
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &ignored);
        std::puts("WM_ENDSESSION sent");
        return 0;
    }
    const BOOL posted = ::PostMessageW(window, WM_CLOSE, 0, 0);
    std::printf("WM_CLOSE %s\n", posted ? "posted" : "not posted");
    return posted ? 0 : 1;
}
