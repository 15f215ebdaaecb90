#pragma once
#include <string>

// Shortcut files. COM must be initialised on the calling thread.

// Writes the shortcut file linkFile pointing at target, with its working folder, tooltip and icon
// (the icon file's short 8.3 path when it has one). Overwrites an existing file.
// Returns 1 on success, 0 on failure; a failure to create the shell-link object or to reach its
// file interface is traced on standard output as "ERRO 1" or "ERRO 2".
int CreateShellLink(const std::wstring& target, const std::wstring& workingDir, const std::wstring& description,
                    const std::wstring& iconPath, int iconIndex, const std::wstring& linkFile);

// Creates the all-users Start-menu group named productName with two shortcuts, "<product>.lnk"
// to the application and "卸载<product>.lnk" to the uninstaller (each with its own icon), and tells
// the shell. Running it again overwrites both shortcuts.
// A group or shortcut path longer than 259 characters would lose its ".lnk": then nothing is made.
// Returns true when both shortcuts were written; the installation goes on either way.
bool CreateProgramShortcuts(const std::wstring& applicationPath, const std::wstring& uninstallerPath,
                            const std::wstring& workingDir, const std::wstring& productName,
                            const std::wstring& description);
