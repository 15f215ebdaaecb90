#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Path arithmetic shared by the shell and file utilities. No system calls here.

// The classic path buffer: 260 characters including the terminating null.
inline constexpr std::size_t kPathBufferChars = 260;

// The text as a fixed buffer of bufferChars characters would hold it: cut after bufferChars - 1
// characters, so there is always room for the terminator.
std::wstring BoundedText(const std::wstring& text, std::size_t bufferChars = kPathBufferChars);

// The text before the last backslash; empty when there is none. "C:\Setup\setup.exe" gives "C:\Setup".
std::wstring DirectoryOfPath(const std::wstring& path);

// The Program Files folder with the default installation folder name; empty when the Program
// Files folder is unknown, rather than a folder at the root of the current drive.
std::wstring DefaultInstallDirIn(const std::wstring& programFilesFolder);

// The Start-menu group and its two shortcut files, as the fixed 260-character buffers hold them.
struct ProgramShortcutPaths {
    std::wstring groupFolder;      // programs folder + "\" + product name
    std::wstring applicationLink;  // group + "\" + product name + ".lnk"
    std::wstring uninstallerLink;  // group + "\卸载" + product name + ".lnk"
    bool complete = true;          // false when any of the three had to be cut off
};
ProgramShortcutPaths PlanProgramShortcuts(const std::wstring& programsFolder, const std::wstring& productName);

// The tooltip of both shortcuts: "位置: <product>(<install folder>)".
std::wstring ShortcutDescription(const std::wstring& productName, const std::wstring& installDir);

// CreateDirectoryChain works in a buffer of this many characters, including the separator it may
// append and the terminator.
inline constexpr std::size_t kDirectoryChainBufferChars = 261;

// The directories that make up a path, shortest first, as CreateDirectoryChain checks and creates
// them: every prefix that ends before a "\" or "/" (a separator is assumed after the last part),
// written with forward slashes. "C:\Program Files\KPCapture" gives "C:", "C:/Program Files" and
// "C:/Program Files/KPCapture". Empty prefixes (a leading or doubled separator) are left out.
// The text is read up to its first null character. No value when the path does not fit the buffer.
std::optional<std::vector<std::wstring>> DirectoryChainSteps(const std::wstring& path);
