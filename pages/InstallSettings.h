#pragma once
#include <string>

// The install options of this run: where the application goes and the two check boxes of the
// options page. The program has one record per process, made on first use by GetInstallSettings
// and kept until the process ends.
//
// Creation is serialised; afterwards the record is read and written without a lock. The options
// page writes it on the UI thread; the install flow reads installDir and desktopShortcut once,
// when the download has completed.
struct InstallSettings {
    // Program Files + "\KPCapture" by default; handed to the setup package as "-instdir=".
    std::wstring installDir;
    // Tells the setup package to make a desktop shortcut (" -dsc=true" / " -dsc=false").
    bool desktopShortcut = true;
    // The taskbar option of the options page (hidden there); nothing else reads it.
    bool addToTaskbar = true;

    // A record for `installDir` with both boxes set. The program's own comes from
    // GetInstallSettings; this one is for code that is handed a record (and its tests).
    explicit InstallSettings(std::wstring installDir);
    InstallSettings(const InstallSettings&) = delete;
    InstallSettings& operator=(const InstallSettings&) = delete;

    // installDir + "\KPCapture": the setup package puts the application into a folder of that
    // name inside the directory it is given, so the suffix is appended even when installDir
    // already ends with it.
    std::wstring GetAppFolder() const;
};

// Windows builds only (DefaultInstallSettings.cpp):

// The process's one record, created on the first call with the default folder, which is created
// on disk then.
InstallSettings& GetInstallSettings();

// Creates `directory` with every missing parent unless it exists. Failures are not reported: the
// setup package is handed the directory all the same and deals with it.
void EnsureInstallDirectory(const std::wstring& directory);
