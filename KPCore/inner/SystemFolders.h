#pragma once
#include <string>

// Folders that the installer derives its paths from. Each is empty when the system cannot say.

// The folder of the running executable, without a trailing backslash.
std::wstring GetModuleDir();

// A shell folder by its CSIDL number, for instance 0x26 (Program Files: for a 32-bit process on
// 64-bit Windows the 32-bit one) or 0x1C (the user's local application data). Never created.
std::wstring GetSpecialFolder(int csidl);

// The Program Files folder + "\KPCapture".
std::wstring GetDefaultInstallDir();
