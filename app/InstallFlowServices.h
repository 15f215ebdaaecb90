#pragma once
#include <functional>
#include <memory>
#include <string>

#include "KPCore/inner/LogSink.h"
#include "net/Downloader.h"

// The place of one downloaded package: a folder made for this download alone, where nobody but an
// administrator can write. Destroying it removes the folder and the package with it; what is
// still in use then (a package that still runs) goes when Windows next starts.
class CPackagePlace {
public:
    virtual ~CPackagePlace() = default;
    // Where the package is saved.
    virtual const std::wstring& PackagePath() const = 0;
    // Removes the folder and what it holds now; false while something in it is still in use.
    virtual bool Remove() = 0;
};

// A package that passed the check, held open so that nobody can change, replace or delete it until
// its process has started. Destroying it lets go.
class CHeldPackage {
public:
    virtual ~CHeldPackage() = default;
};

// The started package and every process it starts. Destroying it lets go of them; they run on.
class CRunningPackage {
public:
    virtual ~CRunningPackage() = default;
    // True once the package and all its processes have ended. Never waits.
    virtual bool HasEnded() const = 0;
};

// What the install flow asks of the world outside the window: the package's place, the
// downloader, the package check and start, and the status file that the package writes. The
// program's come from RealInstallFlowServices; tests hand in their own.
struct InstallFlowServices {
    // A fresh place for the package of one download; null when none can be made.
    std::function<std::unique_ptr<CPackagePlace>()> makePackagePlace;
    // A downloader of `url` into `savePath`, not started yet, that reports to `observer` on a
    // thread of its own. Destroying it abandons a running download.
    std::function<std::shared_ptr<CDownloader>(DownloadCallback observer, const std::wstring& url,
                                               const std::wstring& savePath)>
        makeDownloader;
    // Opens the downloaded package once and checks it through that handle (a complete program,
    // a valid signature, the vendor's key). The held package when it passed; null when it did not.
    std::function<std::unique_ptr<CHeldPackage>(const std::wstring& path)> checkPackage;
    // Starts the checked package with its parameters, in its own folder, and does not wait for it.
    // Null when it could not be started.
    std::function<std::unique_ptr<CRunningPackage>(const std::wstring& path, const std::wstring& parameters)>
        startPackage;
    // Before each download: finds the status file's place, keeps or seeds its channel and sets
    // "active" back to "0", so a "1" left by an earlier run cannot end the new attempt early.
    // False, with nothing written, when the place cannot be trusted: no profile folder, or a
    // link (junction, symbolic link) at the folder or the file.
    std::function<bool()> prepareStatusFile;
    // Each poll tick: the value of "active" ("error" when it cannot be read).
    std::function<std::wstring()> pollStatusFile;
    // Once "active" reads "1": whether the application is really there (KPApp.exe in the
    // application folder of `settings`). Anybody can write the status file; only the package
    // installs the application.
    std::function<bool(const std::wstring& appFolder)> isApplicationInstalled;
    // Pauses in milliseconds between the end of the transfer and the check, and between the check
    // and the start: 0 in use. End-to-end tests widen these moments to show what another process
    // can do in them; a pause only delays, the package is checked and held all the same.
    unsigned int pauseBeforeCheckMs = 0;
    unsigned int pauseBeforeStartMs = 0;
};

// Windows builds only (InstallFlowServices.cpp):

// The real services: a CPackageFolder under %ProgramData%\KPCapture, CWinDownloader, the package
// check with the build's signer pins, CPackageProcess and the status file APP.ini. The two pauses
// come from the environment variables named below, for tests only.
// Every step writes what it did and how it ended into `log`.
InstallFlowServices RealInstallFlowServices(LogSink log = LogSink());

// Environment variables that set the two pauses (decimal milliseconds, at most kLongestTestPauseMs;
// anything else means no pause).
extern const wchar_t kPauseBeforeCheckVariable[];
extern const wchar_t kPauseBeforeStartVariable[];
constexpr unsigned int kLongestTestPauseMs = 10000;
