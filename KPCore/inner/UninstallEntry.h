#pragma once
#include <string>
#include <vector>

// What the uninstall entry holds, worked out without touching the registry.

inline constexpr wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr wchar_t kUninstallRootWow64[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The key under HKEY_LOCAL_MACHINE: the uninstall list, then the product GUID. A 32-bit process on
// 64-bit Windows names the 32-bit view explicitly (which is also where redirection would put it).
std::wstring UninstallSubKey(bool wow64);

struct UninstallValue {
    std::wstring name;
    std::wstring data;
};

// The six string values in the order they are written. The folder is joined unchanged with the
// file names; the icon has no index. The uninstall command is the uninstaller's path in double
// quotes (it is run as a command line); the other values are bare.
std::vector<UninstallValue> UninstallValues(const std::wstring& installDir);
