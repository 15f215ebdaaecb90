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
    if (m_stage == Stage::Downloading || m_stage == Stage::Installing || m_stage == Stage::Finished) return;

    m_settings = &settings;
    m_progress = 0.0;
    Show(m_progress);
    if (m_packagePath.empty()) m_packagePath = m_services.makePackagePath();
    m_services.prepareStatusFile();

    // The downloader of an earlier attempt has reported its end; it goes now, and with it any
    // report of it that might still be on its way.
    if (m_link) m_link->Cut();
    m_downloader.reset();
    ++m_attempt;
    m_link = std::make_shared<CReportLink>(m_host.MakeReportPoster(), m_attempt);
    std::shared_ptr<CReportLink> link = m_link;
    DownloadCallback observer = [link](int code, double, const wchar_t*) { link->Post(code); };

    m_stage = Stage::Downloading;
    m_downloader = m_services.makeDownloader(observer, PackageUrl(), m_packagePath);
    // A download that cannot even begin would otherwise leave the page at 0 % for ever.
    if (!m_downloader || !m_downloader->Start()) Fail();
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
        StartPackage();
        break;
    case DOWNLOAD_FAILED:
        Fail();
        break;
    default:  // DOWNLOAD_BEGIN: nothing to show yet
        break;
    }
}

void CInstallFlow::StartPackage()
{
    // The settings of this moment: the options page may have changed them since the start.
    const std::wstring parameters = PackageCommandLine(m_settings->installDir, m_settings->desktopShortcut);
    if (!m_services.startPackage(m_packagePath, parameters)) {
        // A package that does not run will never report completion: without this the page would
        // creep to 99 % and wait for ever.
        m_services.removePackage(m_packagePath);
        Fail();
        return;
    }
    m_stage = Stage::Installing;
    m_host.StartTimer(TIMER_POLL_STATUS, POLL_STATUS_MS);
}

void CInstallFlow::Fail()
{
    m_stage = Stage::Failed;
    m_progress = 0.0;
    Show(m_progress);
    if (m_host.AskAfterFailure()) m_host.ShowPage(PAGE_WELCOME);
}

void CInstallFlow::OnTimer(std::uintptr_t timerId)
{
    if (timerId == TIMER_POLL_STATUS) {
        PollStatus();
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
    if (IsInstallFinished(m_services.pollStatusFile())) {
        m_stage = Stage::Finished;
        m_progress = kFinishedPercent;
        Show(m_progress);
        m_host.StopTimer(TIMER_POLL_STATUS);
        m_host.ShowPage(PAGE_COMPLETE);
        m_host.StartTimer(TIMER_AUTO_CLOSE, AUTO_CLOSE_MS);
        return;
    }
    // No time-out: a package may take long; the page rests at 99 % until it is done.
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
    if (m_link) m_link->Cut();
    // Abandons a running transfer and waits for the worker, which by now can only be finishing:
    // it reports nothing more and removes a file it did not finish.
    m_downloader.reset();
    m_host.StopTimer(TIMER_POLL_STATUS);
    m_host.StopTimer(TIMER_AUTO_CLOSE);
}
