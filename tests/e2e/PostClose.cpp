// Another process that asks the installer's main window to close, as Task Manager's "End task" or
// the system at log-off does, for the end-to-end test:
//   kp_post_close.exe [close|endsession]
// close posts WM_CLOSE to the window of class "kpmainframe"; endsession sends it
// WM_QUERYENDSESSION and then WM_ENDSESSION(TRUE), as Windows does before the session ends. Prints
// what the window answered and exits with 0, or with 2 when there is no such window.
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
