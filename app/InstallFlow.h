#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "app/InstallFlowHost.h"
#include "app/InstallFlowServices.h"
#include "net/Downloader.h"

struct InstallSettings;

// Timers of the install flow, set on its window through the host.
constexpr unsigned int TIMER_POLL_STATUS = 268;  // every 108 ms while the package installs
constexpr unsigned int TIMER_AUTO_CLOSE = 286;   // 3000 ms after the completion page is shown
constexpr unsigned int POLL_STATUS_MS = 108;
constexpr unsigned int AUTO_CLOSE_MS = 3000;

// The way from a download worker to the install flow. The worker only ever posts through it, so
// everything that the window shows, starts or asks happens on the UI thread; once cut (the window
// is going, or a newer attempt has begun) nothing more gets through.
//
// Progress notifications are counted here and travel as one report until the flow has taken them:
// a fast download sends hundreds, and a message queue that overflowed while the UI thread was busy
// would lose the completion report behind them.
class CReportLink {
public:
    CReportLink(ReportPoster post, int attempt) : m_post(std::move(post)), m_attempt(attempt) {}
    // Any thread: posts the report `code` unless the link has been cut (for a progress
    // notification only when none is waiting already).
    void Post(int code);
    // UI thread: the progress notifications since the last call.
    int TakeProgress();
    // After this returns no report of this link is posted any more.
    void Cut();

private:
    std::mutex m_lock;
    ReportPoster m_post;  // empty once cut
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
    // `host` is the window the flow lives in; it must outlive the flow.
    CInstallFlow(IInstallFlowHost& host, InstallFlowServices services);
    // Abandons a running download (Stop).
    ~CInstallFlow();
    CInstallFlow(const CInstallFlow&) = delete;
    CInstallFlow& operator=(const CInstallFlow&) = delete;

    // EVENT_START_INSTALL: progress 0, the package's file name (the first one of the run is kept),
    // the status file prepared, and a new download started. The package is given installDir and
    // desktopShortcut of `settings` as they are when the download completes, so `settings` must
    // outlive the attempt.
    void Start(const InstallSettings& settings);
    // A report posted through the link. Reports of an earlier attempt, or of no running download,
    // are dropped.
    void OnDownloadReport(int code, int attempt);
    // A window timer: the status poll and the automatic close; other ids are not ours.
    void OnTimer(std::uintptr_t timerId);
    // The window is going: no report reaches the flow any more, a running download is abandoned
    // (it ends promptly and leaves no file behind) and the flow's timers stop.
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
    void Show(double progress) { m_host.ShowProgress(progress); }
    void StartPackage();
    // Progress 0, the question "下载失败！"; "确定" goes back to the welcome page.
    void Fail();
    void PollStatus();
    void AutoClose();

    IInstallFlowHost& m_host;
    const InstallFlowServices m_services;
    const InstallSettings* m_settings = nullptr;
    Stage m_stage = Stage::Idle;
    double m_progress = 0.0;
    std::wstring m_packagePath;
    int m_attempt = 0;
    std::shared_ptr<CReportLink> m_link;
    std::shared_ptr<CDownloader> m_downloader;
};
