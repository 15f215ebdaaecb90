#pragma once
#include <string>

// Where the demo product's pieces go, shared by its setup package and its uninstaller.

// The folder the package installs into: the install directory it was given + "\KPCapture".
std::wstring DemoAppFolder(const std::wstring& installDir);

// The desktop shortcut that the package makes when told to (on the all-users desktop, next to
// the all-users Start-menu group that the installer makes).
std::wstring DemoDesktopShortcut();

// The package's record of what it was given, inside the application folder.
std::wstring DemoInstallLog(const std::wstring& appFolder);

// Reads a whole resource of type RCDATA from this program; empty when it is missing.
std::string DemoPayload(int resourceId);

// Writes `bytes` to `path`, replacing the file. False on any failure.
bool DemoWriteFile(const std::wstring& path, const std::string& bytes);

// UTF-16 to UTF-8.
std::string DemoUtf8(const std::wstring& text);

// The window class of KPApp.exe's window (the uninstaller closes a running application).
constexpr wchar_t kDemoAppWindowClass[] = L"KPAppDemoWindow";

constexpr int kPayloadApplication = 201;  // KPApp.exe
constexpr int kPayloadUninstaller = 202;  // KPUnInstall.exe
