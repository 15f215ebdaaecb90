#pragma once
#include <functional>
#include <memory>
#include <string>

#include "net/Downloader.h"

// What the install flow asks of the world outside the window: the downloader, the package file
// and its start, and the status file that the package writes. The program's come from
// RealInstallFlowServices; tests hand in their own.
struct InstallFlowServices {
    // A downloader of `url` into `savePath`, not started yet, that reports to `observer` on a
    // thread of its own. Destroying it abandons a running download.
    std::function<std::shared_ptr<CDownloader>(DownloadCallback observer, const std::wstring& url,
                                               const std::wstring& savePath)>
        makeDownloader;
    // A new file name for the package, in a folder that exists.
    std::function<std::wstring()> makePackagePath;
    // Starts the downloaded package with its parameters and does not wait for it. False when it
    // could not be started.
    std::function<bool(const std::wstring& path, const std::wstring& parameters)> startPackage;
    // Removes a package file that could not be started.
    std::function<void(const std::wstring& path)> removePackage;
    // Before each download: finds the status file's place, keeps or seeds its channel and sets
    // "active" back to "0", so a "1" left by an earlier run cannot end the new attempt early.
    std::function<void()> prepareStatusFile;
    // Each poll tick: the value of "active" ("error" when it cannot be read), after making the
    // file's folder again should it have gone.
    std::function<std::wstring()> pollStatusFile;
};

// Windows builds only (InstallFlowServices.cpp):

// The real services: CWinDownloader, a GUID-named file in the product's roaming data folder,
// ShellExecuteW, DeleteFileW and the status file APP.ini.
InstallFlowServices RealInstallFlowServices();

// A new file name for the package: a fresh GUID's 32 hexadecimal digits + ".exe", in the
// product's roaming data folder, which is created.
std::wstring MakePackagePath();
