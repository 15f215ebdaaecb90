#pragma once
#include <optional>
#include <string>

// The demo setup package's command line. The installer starts it with
//   "-instdir=" + folder + " -dsc=" + "true" | "false"
// and puts the folder in as it is, without quotes, so the folder is everything between
// "-instdir=" and the last " -dsc=", spaces included.

struct PackageArgs {
    std::wstring installDir;
    bool desktopShortcut = false;
};

// What follows the program name in a raw command line (the name quoted or not), without the
// blanks between them.
std::wstring ParametersOf(const std::wstring& commandLine);

// The folder and the shortcut choice; no value when "-instdir=" does not come first, when
// " -dsc=" is missing, when the folder is empty, or when the choice is neither "true" nor "false"
// (trailing blanks aside).
std::optional<PackageArgs> ParsePackageArgs(const std::wstring& parameters);
