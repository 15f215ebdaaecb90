#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "net/Downloader.h"

class KPMainFrame;

// A downloader report on its way from the download worker to the UI thread: wParam is the code
// (1001 to 1004), lParam the number of the attempt that it belongs to. WM_USER + 0x203.
constexpr UINT WM_DOWNLOAD_REPORT = 0x603;

// What the install flow asks of the world outside the window. The program uses the real ones;
// tests put in their own for a while (ScopedInstallFlowServices).
struct InstallFlowServices {
    // A downloader of `url` into `savePath`, not started yet, that reports to `observer` on a
    // thread of its own. Destroying it abandons a running download.
    std::function<std::shared_ptr<CDownloader>(DownloadCallback observer, const std::wstring& url,
                                               const std::wstring& savePath)>
        makeDownloader;
    // Starts the downloaded package with its parameters and does not wait for it. False when it
    // could not be started.
    std::function<bool(const std::wstring& path, const std::wstring& parameters)> startPackage;
    // "下载失败！" / "请检查网络" over `owner`: 1 for "确定", 2 for "取消", 0 for the box's close button.
    std::function<int(HWND owner)> askAfterFailure;
};

// The services in force (the real ones unless a ScopedInstallFlowServices is alive).
const InstallFlowServices& GetInstallFlowServices();

// The real services: CWinDownloader, ShellExecuteW, the skinned message box.
InstallFlowServices RealInstallFlowServices();

// Puts in other services for as long as it lives (on the UI thread), then puts back the previous
// ones. A member left empty keeps the real service.
class ScopedInstallFlowServices {
public:
    explicit ScopedInstallFlowServices(InstallFlowServices services);
    ~ScopedInstallFlowServices();
    ScopedInstallFlowServices(const ScopedInstallFlowServices&) = delete;
    ScopedInstallFlowServices& operator=(const ScopedInstallFlowServices&) = delete;

private:
    InstallFlowServices m_previous;
};

// The way from a download worker to the main window. The worker only ever posts a message through
// it, so everything that the window shows, starts or asks happens on the UI thread; once cut (the
// window is going, or a newer attempt has begun) nothing more gets through.
//
// Progress notifications are counted here and travel as one message until the window has taken
// them: a fast download sends hundreds, and a message queue that overflowed while the UI thread
// was busy would lose the completion report behind them.
class CReportLink {
public:
    CReportLink(HWND window, int attempt) : m_window(window), m_attempt(attempt) {}
    // Any thread: posts WM_DOWNLOAD_REPORT for `code` unless the link has been cut (for a progress
    // notification only when none is waiting already).
    void Post(int code);
    // UI thread: the progress notifications since the last call.
    int TakeProgress();
    // After this returns no report of this link reaches the window.
    void Cut();

private:
    std::mutex m_lock;
    HWND m_window;
    const int m_attempt;
    int m_pendingProgress = 0;
};

// The install flow of the main window: the start of an attempt (status file, package name,
// download), the download's reports, the start of the package, the status poll and the automatic
// close of the completion page. Everything runs on the UI thread.
//
// Each attempt gets a downloader of its own, so a start after a failure really downloads again. A
// start while an attempt is still downloading or installing changes nothing.
class CInstallFlow {
public:
    explicit CInstallFlow(KPMainFrame& window);
    // Abandons a running download (Stop).
    ~CInstallFlow();
    CInstallFlow(const CInstallFlow&) = delete;
    CInstallFlow& operator=(const CInstallFlow&) = delete;

    // EVENT_START_INSTALL: progress 0, the package's file name (the first one of the run is kept),
    // the status file prepared, and a new download started.
    void Start();
    // WM_DOWNLOAD_REPORT. Reports of an earlier attempt, or of no running download, are dropped.
    void OnDownloadReport(int code, int attempt);
    // WM_TIMER of the main window: the status poll and the automatic close; other ids are not ours.
    void OnTimer(UINT_PTR timerId);
    // The window is going: no report reaches it any more and a running download is abandoned
    // (it ends promptly and leaves no file behind).
    void Stop();

    enum class Stage {
        Idle,         // nothing started yet
        Downloading,  // the package is being fetched
        Installing,   // the package runs; the status file is polled
        Failed,       // the download or the package start failed; a start tries again
        Finished,     // the package reported completion; the completion page is shown
    };
    Stage GetStage() const { return m_stage; }
    double GetProgress() const { return m_progress; }
    const std::wstring& GetPackagePath() const { return m_packagePath; }

private:
    void Show(double progress);
    void StartPackage();
    // Progress 0, the question "下载失败！"; "确定" goes back to the welcome page.
    void Fail();
    void PollStatus();
    void AutoClose();

    KPMainFrame& m_window;
    Stage m_stage = Stage::Idle;
    double m_progress = 0.0;
    std::wstring m_packagePath;
    std::wstring m_statusFolder;  // the status file's folder and the file, found at the start
    std::wstring m_statusFile;
    int m_attempt = 0;
    std::shared_ptr<CReportLink> m_link;
    std::shared_ptr<CDownloader> m_downloader;
};

// A new file name for the package: a fresh GUID's 32 hexadecimal digits + ".exe", in the
// product's roaming data folder, which is created.
std::wstring MakePackagePath();
