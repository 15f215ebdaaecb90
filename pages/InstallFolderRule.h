#pragma once
#include <string>

// Which install folders the program accepts, whether typed or picked on the options page or given
// on the command line. The folder travels to the setup package inside its command line, and the
// application ends up at folder + "\KPCapture\KPApp.exe", so a folder is refused when either would
// break.
enum class FolderRefusal {
    None,               // acceptable
    Empty,              // nothing given
    NotAbsolute,        // not "X:\..." (relative, UNC or a bare drive)
    BreaksCommandLine,  // holds " -" or a double quote, which the package would read as a new switch
    BadCharacter,       // holds a character no Windows path can: control characters, < > | ? * or a
                        // colon other than the drive's
    TooLong,            // the application's path would not fit in 260 characters
    IsFile,             // names an existing file (found by CheckInstallFolder, not by the text rule)
};

// The longest folder accepted: folder + "\KPCapture\KPApp.exe" and its terminating zero fit in
// the 260 characters of a classic Windows path.
constexpr std::size_t kMaxInstallFolderLength = 260 - 1 - 20;

// The rule on the text alone; it touches no disk.
FolderRefusal CheckInstallFolderText(const std::wstring& folder);

// What the message box says about a refused folder (empty for FolderRefusal::None).
std::wstring FolderRefusalText(FolderRefusal refusal);

// Windows builds only (InstallFolderCheck.cpp): the text rule, then IsFile when the folder names
// an existing file.
FolderRefusal CheckInstallFolder(const std::wstring& folder);
