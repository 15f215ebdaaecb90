#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "KPCore/inner/LogSink.h"
#include "KPCore/inner/ProductRegistration.h"

// What the wizard pages ask of the world outside the window: the close question, the browser, the
// start of a program and the folder picker. The main window hands its pages the program's own
// (RealPageServices); tests hand in theirs.
struct PageServices {
    // Shows the close question modally over `owner`: 1 for "确定", 2 for "取消", 0 when the box
    // was closed with its own close button.
    std::function<int(HWND owner)> askClose;
    // Opens a web address in the user's default browser.
    std::function<void(const std::wstring& address)> openAddress;
    // Starts a program and does not wait for it.
    std::function<void(const std::wstring& path)> startProgram;
    // Asks for a folder, starting at `currentPath`: the chosen folder, or empty when cancelled.
    std::function<std::wstring(const std::wstring& currentPath, HWND owner)> chooseFolder;
    // The run's log (empty: none).
    LogSink log;
    // Registers the application in `appFolder`: the uninstall entry and the Start-menu group with
    // its two shortcuts. Its result says which parts were written.
    std::function<RegistrationResult(const std::wstring& appFolder)> registerProduct;
    // Tells the user, modally over `owner`, with the skinned message box: a question with "确定"
    // only (or a refusal); returns once it is answered.
    std::function<void(HWND owner, const std::wstring& title, const std::wstring& message)> tell;
};

// The real services: the skinned message box, OpenAsDesktopUser for the browser and the program,
// the shell's folder dialog, RegisterUninstallEntry with CreateProgramShortcuts.
PageServices RealPageServices();
