#pragma once
#include <memory>
#include <string>

#include "app/StatusFileRules.h"

// The status file APP.ini in the product's roaming data folder: the installer seeds it before each
// download and polls its "active" key until the setup package writes "1".

// The product's roaming data folder (for example ...\AppData\Roaming\KPCapture). Not created.
// Empty when the system cannot say where the profile's application data is.
std::wstring GetRoamingDataDir();

// The status file's path; creates its folder first. Empty when there is no profile folder.
std::wstring GetStatusFilePath();

// Creates `path` and every missing parent. False for a path of 261 characters or more, or when a
// folder cannot be created.
bool EnsureDirectory(const std::wstring& path);

// Before a download: keeps "channel" unless it reads as "error" (then seeds it), and writes
// "active" = "0", so a "1" left by an earlier run cannot end the new install early.
void PrepareStatusFile();
void PrepareStatusFile(const std::wstring& statusFile);

// On each poll tick: the value of "active", or "error" when it cannot be read.
std::wstring PollStatusFile();
std::wstring PollStatusFile(const std::wstring& statusFile);

// True when `path` is a reparse point: a junction, a symbolic link or a mount point (or, under
// Wine, a Unix symbolic link). False for anything else, and when nothing is there.
bool IsReparsePoint(const std::wstring& path);

// Why the status file's folder cannot be used.
enum class StatusFolderProblem {
    None,
    NoProfile,   // the system does not say where the profile's application data is
    NotCreated,  // the folder could not be made or opened
    Redirected,  // the folder, or APP.ini in it, is a reparse point
};

// The status file's folder, which any process of the user can change, held open for one attempt.
// It is opened without sharing deletion, so while it is held nobody can remove or rename it and
// put a junction in its place. Every write and read first makes sure that APP.ini is no reparse
// point either, so nothing is ever written through a link to a file of somebody else's choosing.
class CStatusFileFolder {
public:
    // Makes `folder` (and its missing parents) unless it exists, then opens and holds it. Null,
    // with `problem` saying why, when `folder` is empty, cannot be made or opened, or when it, one
    // of its two nearest parents or APP.ini in it is a reparse point.
    static std::unique_ptr<CStatusFileFolder> Open(const std::wstring& folder, StatusFolderProblem* problem = nullptr);
    ~CStatusFileFolder();
    CStatusFileFolder(const CStatusFileFolder&) = delete;
    CStatusFileFolder& operator=(const CStatusFileFolder&) = delete;

    const std::wstring& File() const { return m_file; }
    // PrepareStatusFile on APP.ini; false, with nothing written, when APP.ini is a reparse point.
    bool Prepare();
    // PollStatusFile on APP.ini; "error" when APP.ini is a reparse point.
    std::wstring Poll();

private:
    CStatusFileFolder(void* handle, std::wstring file) : m_handle(handle), m_file(std::move(file)) {}
    void* m_handle;
    std::wstring m_file;
};
