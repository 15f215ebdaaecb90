#pragma once
#include <cstdint>
#include <string>

// How the installer names, fetches and starts the setup package.

// The package on the vendor's web server.
std::wstring PackageUrl();

// The package's parameters: "-instdir=" + the install directory, then " -dsc=" + "true" or
// "false" for the desktop shortcut. The directory goes in as it is, spaces and all, without quotes:
// the package reads everything between "-instdir=" and " -dsc=" as the folder.
std::wstring PackageCommandLine(const std::wstring& installDir, bool desktopShortcut);

// The package's file name from a GUID: its 32 hexadecimal digits in upper case, without braces or
// hyphens (the first field as 8 digits, the next two as 4, then the eight bytes as 2 each), + ".exe".
std::wstring PackageFileName(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                             const std::uint8_t (&data4)[8]);
