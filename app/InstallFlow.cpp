#include "app/InstallFlow.h"

#include <utility>

#include "app/PackageCommand.h"
#include "app/ProgressMath.h"
#include "app/StatusFileRules.h"
#include "pages/InstallEvents.h"
#include "pages/InstallSettings.h"

// ---- CReportLink ----

void CReportLink::Post(int code)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_post) return;
    if (code == DOWNLOAD_PROGRESS && m_pendingProgress++ > 0) return;  // the waiting report carries it
    m_post(code, m_attempt);
}

int CReportLink::TakeProgress()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return std::exchange(m_pendingProgress, 0);
}

void CReportLink::Cut()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_post = nullptr;
}

// ---- CInstallFlow ----

CInstallFlow::CInstallFlow(IInstallFlowHost& host, InstallFlowServices services)
    : m_host(host), m_services(std::move(services))
{
}

CInstallFlow::~CInstallFlow() { Stop(); }

void CInstallFlow::Start(const InstallSettings& settings)
{
    // The progress page offers no way to start again; should a start come all the same, the
    // attempt under way goes on undisturbed (a second package must not be started over the first).
    if (m_stage != Stage::Idle && m_stage != Stage::Failed) return;

    m_settings = &settings;
    m_progress = 0.0;
    Show(m_progress);
    // Whatever is left of an earlier attempt goes now, and with its downloader any report of it
    // that might still be on its way.
    ReleaseAttempt();
    if (!m_services.prepareStatusFile()) {
        // The package reports through that file: without a place that nobody can redirect it
        // would be written through a link, or its report could not be told from a forgery.
        Fail(InstallFailure::StatusFile);
        return;
    }
    ++m_attempt;
    m_ticksSinceEnded = 0;
    m_claimedWithoutApplication = false;
    m_place = m_services.makePackagePlace();
    if (!m_place) {
        // Without a place only administrators can write to, nothing may be downloaded to be run.
        Fail(InstallFailure::Start);
        return;
    }
    m_link = std::make_shared<CReportLink>(m_host.MakeReportPoster(), m_attempt);
    std::shared_ptr<CReportLink> link = m_link;
    DownloadCallback observer = [link](int code, double, const wchar_t*) { link->Post(code); };

    m_stage = Stage::Downloading;
    m_downloader = m_services.makeDownloader(observer, PackageUrl(), m_place->PackagePath());
    // A download that cannot even begin would otherwise leave the page at 0 % for ever.
    if (!m_downloader || !m_downloader->Start()) Fail(InstallFailure::Download);
}

std::wstring CInstallFlow::GetPackagePath() const { return m_place ? m_place->PackagePath() : std::wstring(); }

bool CInstallFlow::RemoveFinishedPlace()
{
    if (m_stage == Stage::Finished && m_place && m_place->Remove()) m_place.reset();
    return !m_place;
}

void CInstallFlow::OnDownloadReport(int code, int attempt)
{
    if (attempt != m_attempt || m_stage != Stage::Downloading) return;
    switch (code) {
    case DOWNLOAD_PROGRESS:
        // Each notification is one point, however many came since the last report.
        for (int n = m_link->TakeProgress(); n > 0; --n) m_progress = ProgressAfterNotification(m_progress);
        Show(m_progress);
        break;
    case DOWNLOAD_COMPLETE:
        m_progress = ProgressAtDownloadComplete();
        Show(m_progress);
        // The worker has ended its transfer; nothing writes into the place any more.
        if (m_link) m_link->Cut();
        m_downloader.reset();
        m_stage = Stage::Checking;
        if (m_services.pauseBeforeCheckMs > 0) m_host.StartTimer(TIMER_PACKAGE_PAUSE, m_services.pauseBeforeCheckMs);
        else CheckPackage();
        break;
    case DOWNLOAD_FAILED: Fail(InstallFailure::Download); break;
    default:  // DOWNLOAD_BEGIN: nothing to show yet
        break;
    }
}

void CInstallFlow::CheckPackage()
{
    m_held = m_services.checkPackage(m_place->PackagePath());
    if (!m_held) {
        Fail(InstallFailure::Verification);
        return;
    }
    m_stage = Stage::Starting;
    if (m_services.pauseBeforeStartMs > 0) m_host.StartTimer(TIMER_PACKAGE_PAUSE, m_services.pauseBeforeStartMs);
    else StartPackage();
}

void CInstallFlow::StartPackage()
{
    // The settings of this moment: the options page may have changed them since the start.
    const std::wstring parameters = PackageCommandLine(m_settings->installDir, m_settings->desktopShortcut);
    m_running = m_services.startPackage(m_place->PackagePath(), parameters);
    // Held until here: between the check and the start nobody could change the file.
    m_held.reset();
    if (!m_running) {
        // A package that does not run will never report completion: without this the page would
        // creep to 99 % and wait for ever.
        Fail(InstallFailure::Start);
        return;
    }
    m_stage = Stage::Installing;
    m_host.StartTimer(TIMER_POLL_STATUS, POLL_STATUS_MS);
}

void CInstallFlow::OnPauseEnded()
{
    m_host.StopTimer(TIMER_PACKAGE_PAUSE);
    if (m_stage == Stage::Checking) CheckPackage();
    else if (m_stage == Stage::Starting) StartPackage();
}

void CInstallFlow::ReleaseAttempt()
{
    if (m_link) m_link->Cut();
    // Abandons a running transfer and waits a short while for the worker, which by now can only
    // be finishing: it reports nothing more and removes a file it did not finish.
    m_downloader.reset();
    m_held.reset();
    m_running.reset();
    m_place.reset();
}

void CInstallFlow::Fail(InstallFailure failure)
{
    m_stage = Stage::Failed;
    m_lastFailure = failure;
    m_host.StopTimer(TIMER_POLL_STATUS);
    m_host.StopTimer(TIMER_PACKAGE_PAUSE);
    ReleaseAttempt();
    m_progress = 0.0;
    Show(m_progress);
    if (m_host.AskAfterFailure(failure)) m_host.ShowPage(PAGE_WELCOME);
}

void CInstallFlow::OnTimer(std::uintptr_t timerId)
{
    if (timerId == TIMER_POLL_STATUS) {
        PollStatus();
    } else if (timerId == TIMER_PACKAGE_PAUSE) {
        OnPauseEnded();
    } else if (timerId == TIMER_AUTO_CLOSE) {
        AutoClose();
    }
}

void CInstallFlow::PollStatus()
{
    if (m_stage != Stage::Installing) {
        m_host.StopTimer(TIMER_POLL_STATUS);
        return;
    }
    // A "1" counts only with the application in its folder: anybody may write the status file,
    // and the product must not be registered over an application that is not there. While the
    // package runs it may still be putting it there, so only its end decides.
    const bool claimed = IsInstallFinished(m_services.pollStatusFile());
    const bool installed = claimed && m_services.isApplicationInstalled(m_settings->GetAppFolder());
    if (claimed && !installed) m_claimedWithoutApplication = true;
    if (installed) {
        m_stage = Stage::Finished;
        m_progress = kFinishedPercent;
        Show(m_progress);
        m_host.StopTimer(TIMER_POLL_STATUS);
        m_running.reset();
        // A package that wrote "1" just before it ends may still hold its file; its place is then
        // tried again when the flow stops.
        if (m_place && m_place->Remove()) m_place.reset();
        m_host.ShowPage(PAGE_COMPLETE);
        m_host.StartTimer(TIMER_AUTO_CLOSE, AUTO_CLOSE_MS);
        return;
    }
    // No time-out while the package runs: it may take long; the page rests at 99 % until it is
    // done. Once all of it has ended, "active" has a short while left to turn "1".
    if (m_running && m_running->HasEnded() && ++m_ticksSinceEnded >= PACKAGE_END_GRACE_TICKS) {
        Fail(m_claimedWithoutApplication ? InstallFailure::NotInstalled : InstallFailure::Incomplete);
        return;
    }
    const PollStep step = ProgressAtPollTick(m_progress);
    if (step.show) Show(step.shown);
    m_progress = step.next;
}

void CInstallFlow::AutoClose()
{
    // While a question box runs over the window (the completion page's close question), the
    // window stays until it has been answered; the timer comes again.
    if (m_host.IsQuestionOpen()) return;
    m_host.StopTimer(TIMER_AUTO_CLOSE);
    // The package has installed the application: closing by itself must not lose the entry in
    // the list of installed programs and the Start-menu shortcuts. Only "立即体验" starts the
    // application.
    m_host.FinishInstall();
    m_host.PostClose();
}

void CInstallFlow::Stop()
{
    ReleaseAttempt();
    // Nothing of the attempt is left to check, start or poll.
    if (m_stage != Stage::Finished && m_stage != Stage::Failed) m_stage = Stage::Idle;
    m_host.StopTimer(TIMER_POLL_STATUS);
    m_host.StopTimer(TIMER_PACKAGE_PAUSE);
    m_host.StopTimer(TIMER_AUTO_CLOSE);
}
