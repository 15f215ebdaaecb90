#pragma once
#include <windows.h>

#include <functional>
#include <string>

// What the wizard pages ask of the world outside the window: the close question, the browser and
// the start of a program. The program uses the real ones; tests put in their own for a while.
struct PageServices {
    // Shows the close question modally over `owner`: 1 for "确定", 2 for "取消", 0 when the box
    // was closed with its own close button.
    std::function<int(HWND owner)> askClose;
    // Opens a web address in the user's default browser.
    std::function<void(const std::wstring& address)> openAddress;
    // Starts a program and does not wait for it.
    std::function<void(const std::wstring& path)> startProgram;
};

// The services in force (the real ones unless a ScopedPageServices is alive).
const PageServices& GetPageServices();

// The real services: the skinned message box, OpenWithShell, ShellExecuteW.
PageServices RealPageServices();

// Puts in other services for as long as it lives (on the UI thread), then puts back the previous
// ones. A member left empty keeps the real service.
class ScopedPageServices {
public:
    explicit ScopedPageServices(PageServices services);
    ~ScopedPageServices();
    ScopedPageServices(const ScopedPageServices&) = delete;
    ScopedPageServices& operator=(const ScopedPageServices&) = delete;

private:
    PageServices m_previous;
};
