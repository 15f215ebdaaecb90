#pragma once

// Constants that name the product to the operating system: the uninstall entry, the Start-menu
// group and the files that the setup package puts into the application folder.

inline constexpr wchar_t kProductName[] = L"凯普视频工坊";
inline constexpr wchar_t kProductGuid[] = L"{5E1A0C42-7B3D-4F19-A8C6-2D9E04B7F153}";
inline constexpr wchar_t kProductVersion[] = L"12.0.0.0";
inline constexpr wchar_t kProductPublisher[] = L"凯普信息科技有限公司";

// Appended unchanged to a folder, so they carry their leading backslash.
inline constexpr wchar_t kAppExeSuffix[] = L"\\KPApp.exe";
inline constexpr wchar_t kUninstallerExeSuffix[] = L"\\KPUnInstall.exe";

// The folder under Program Files that the installer proposes.
inline constexpr wchar_t kDefaultInstallFolderName[] = L"KPCapture";
