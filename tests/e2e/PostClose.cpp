// Another process that asks the installer's main window to close, as Task Manager's "End task" or
// the system at log-off does, for the end-to-end test:
//   kp_post_close.exe [close|endsession|altf4|dpi N]
// close posts WM_CLOSE to the window of class "kpmainframe"; endsession sends it
// WM_QUERYENDSESSION and then WM_ENDSESSION(TRUE), as Windows does before the session ends. Prints
// what the window answered and exits with 0, or with 2 when there is no such window.
// altf4 gives the question box over it (class "kpmsgbox") the system command that Alt+F4 makes,
// waits up to 5 s for the box to go, and prints which window is in the foreground then: exits
// with 0 when it is the main window, 3 when it is another, 4 when the box stayed.
// dpi N sends the main window WM_DPICHANGED for N DPI, as Windows does when the window moves to a
// display of that scale, with the suggested rectangle of its document size (700 x 420) at that
// scale at its current top-left corner; prints the window's size afterwards.
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
    if (what == L"dpi" && argc > 2) {
        const int dpi = _wtoi(argv[2]);
        RECT rc = {};
        ::GetWindowRect(window, &rc);
        const RECT suggested = {rc.left, rc.top, rc.left + ::MulDiv(700, dpi, 96), rc.top + ::MulDiv(420, dpi, 96)};
        // The rectangle must be readable at lParam in the window's process, where Windows puts it;
        // it lies at the same address here too, should the system copy it across itself.
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        void* there =
            process ? ::VirtualAllocEx(process, nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) : nullptr;
        void* here = there ? ::VirtualAlloc(there, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!there || here != there || !::WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr)) {
            std::puts("could not place the rectangle");
            return 1;
        }
        *static_cast<RECT*>(here) = suggested;
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(there),
                              SMTO_ABORTIFHUNG, 5000, &ignored);
        ::VirtualFreeEx(process, there, 0, MEM_RELEASE);
        ::VirtualFree(here, 0, MEM_RELEASE);
        ::CloseHandle(process);
        ::GetWindowRect(window, &rc);
        std::printf("%ldx%ld\n", rc.right - rc.left, rc.bottom - rc.top);
        return 0;
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
