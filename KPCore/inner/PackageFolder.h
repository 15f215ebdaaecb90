#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// Where a downloaded setup package waits until it has run. The installer runs elevated, so the
// package must lie where no process of the user can replace it: a folder of its own, made fresh for
// each download, under a root that only SYSTEM and Administrators may write to.

// %ProgramData%\KPCapture; empty when the system does not name the all-users data folder.
std::wstring PackageRootFolder();

// Owner Administrators; a protected DACL (nothing inherited from the folder above, where Users may
// create folders) granting full control to SYSTEM and Administrators and read and execute to Users,
// passed on to everything created inside.
extern const wchar_t kPackageFolderSecurity[];

// The Windows error for a folder that turns out to be a junction or symbolic link
// (ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's headers do not name).
constexpr DWORD kErrorReparsePointEncountered = 4395;

class CPackageFolder {
public:
    // A name for a new download folder; the default is 32 random hexadecimal digits.
    using NameSource = std::function<std::wstring()>;

    // Makes sure `root` is a plain folder (created when missing; refused when it is a junction,
    // a symbolic link or a file) and gives it the protected descriptor, then creates a new folder
    // inside it with the same descriptor. A name that exists already, as anything, is refused, never
    // reused. Null on failure, with the Windows error in `*error`.
    static std::unique_ptr<CPackageFolder> Create(const std::wstring& root, DWORD* error,
                                                  const NameSource& names = NameSource());

    // Removes the folder and what it holds (Remove); whatever is still in use stays.
    ~CPackageFolder();
    CPackageFolder(const CPackageFolder&) = delete;
    CPackageFolder& operator=(const CPackageFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // Path() + "\" + fileName.
    std::wstring FilePath(const std::wstring& fileName) const;

    // Deletes the files inside and then the folder. True when the folder is gone (also when it was
    // gone already); false while a file in it is in use, for instance a package still running.
    bool Remove();
    // For what Remove had to leave (a package that still runs when the installer closes): has
    // Windows delete the files inside and then the folder when it next starts. Needs the rights of
    // an administrator, which the installer has. False when that could not be arranged.
    bool RemoveAtRestart();

private:
    explicit CPackageFolder(std::wstring path) : m_path(std::move(path)) {}
    std::wstring m_path;
};

// 32 hexadecimal digits from the system's random generator; empty if it fails.
std::wstring RandomFolderName();
