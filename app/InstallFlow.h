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
constexpr unsigned int TIMER_POLL_STATUS = 268;    // every 108 ms while the package installs
constexpr unsigned int TIMER_PACKAGE_PAUSE = 269;  // a test's pause before the check or the start
constexpr unsigned int TIMER_AUTO_CLOSE = 286;     // 3000 ms after the completion page is shown
constexpr unsigned int POLL_STATUS_MS = 108;
constexpr unsigned int AUTO_CLOSE_MS = 3000;
// How long "active" may take to become "1" once every process of the package has ended. A package
// writes it just before it ends, but a file system that flushes late, or a last helper that the
// package started outside its job, may make the value appear a moment later; after this the
// attempt has failed. Counted in poll ticks, so a busy UI thread only makes it longer.
constexpr unsigned int PACKAGE_END_GRACE_MS = 3000;
constexpr unsigned int PACKAGE_END_GRACE_TICKS = (PACKAGE_END_GRACE_MS + POLL_STATUS_MS - 1) / POLL_STATUS_MS;

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

// The install flow of the main window: the start of an attempt (status file, the package's place,
// download), the download's reports, the check and the start of the package, the status poll and
// the automatic close of the completion page. Everything runs on the UI thread.
//
// Each attempt gets a fresh place and a downloader of its own, so a start after a failure really
// downloads again. A start while an attempt is still under way changes nothing. The package is
// checked through a handle that is held until its process has started, so the file that runs is
// the file that was checked; its place goes when the attempt has failed or completed, and when
// the flow stops.
class CInstallFlow {
public:
    // `host` is the window the flow lives in; it must outlive the flow.
    CInstallFlow(IInstallFlowHost& host, InstallFlowServices services);
    // Abandons a running download (Stop).
    ~CInstallFlow();
    CInstallFlow(const CInstallFlow&) = delete;
    CInstallFlow& operator=(const CInstallFlow&) = delete;

    // EVENT_START_INSTALL: progress 0, the status file prepared, a fresh place for the package, and
    // a new download started. The package is given installDir and desktopShortcut of `settings` as
    // they are when it starts, so `settings` must outlive the attempt.
    void Start(const InstallSettings& settings);
    // A report posted through the link. Reports of an earlier attempt, or of no running download,
    // are dropped.
    void OnDownloadReport(int code, int attempt);
    // A window timer: the status poll, a test's pause and the automatic close; other ids are not ours.
    void OnTimer(std::uintptr_t timerId);
    // The window is going: no report reaches the flow any more, a running download is abandoned
    // (it ends promptly), the flow's timers stop and the package's place is removed (a package
    // that still runs is not stopped; its file goes when Windows next starts).
    void Stop();

    enum class Stage {
        Idle,         // nothing started yet
        Downloading,  // the package is being fetched
        Checking,     // fetched; the check follows a test's pause
        Starting,     // checked and held; the start follows a test's pause
        Installing,   // the package runs; the status file is polled
        Failed,       // the attempt failed (LastFailure says how); a start tries again
        Finished,     // the package reported completion; the completion page is shown
    };
    Stage GetStage() const { return m_stage; }
    double GetProgress() const { return m_progress; }
    // The package of the running attempt; empty when it has no place.
    std::wstring GetPackagePath() const;
    // After completion: removes the package's place unless something still holds it (a package
    // that wrote "1" just before it ends). True once it is gone.
    bool RemoveFinishedPlace();
    InstallFailure GetLastFailure() const { return m_lastFailure; }

private:
    void Show(double progress) { m_host.ShowProgress(progress); }
    void CheckPackage();
    void StartPackage();
    void OnPauseEnded();
    // Lets go of the downloader, the held file, the processes and the place (removing it).
    void ReleaseAttempt();
    // Progress 0, the attempt released, the question of `failure`; "确定" goes back to the welcome
    // page.
    void Fail(InstallFailure failure);
    void PollStatus();
    void AutoClose();

    IInstallFlowHost& m_host;
    const InstallFlowServices m_services;
    const InstallSettings* m_settings = nullptr;
    Stage m_stage = Stage::Idle;
    double m_progress = 0.0;
    InstallFailure m_lastFailure = InstallFailure::Download;
    int m_attempt = 0;
    unsigned int m_ticksSinceEnded = 0;
    // "active" has read "1" while the application was not in its folder.
    bool m_claimedWithoutApplication = false;
    std::shared_ptr<CReportLink> m_link;
    // Declared in the order they are made; the downloader, which writes into the place, and the
    // held file and processes go before the place.
    std::unique_ptr<CPackagePlace> m_place;
    std::shared_ptr<CDownloader> m_downloader;
    std::unique_ptr<CHeldPackage> m_held;
    std::unique_ptr<CRunningPackage> m_running;
};
